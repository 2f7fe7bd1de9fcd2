#pragma once

// Sanitizer defaults of the test programs, read by the sanitizer runtimes at start-up. Included
// once by each test main.
extern "C" {

// Leaks inside system libraries that are loaded once per process and never unloaded.
const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n"
         "leak:libQt6Gui\n"
         "leak:libQt6Widgets\n"
         "leak:libodbc\n"
         "leak:libsqlite3odbc\n"
         "leak:libmaodbc\n"
         "leak:psqlodbcw\n"
         "leak:libmdbodbc\n";
}

const char* __ubsan_default_options() { return "print_stacktrace=1"; }

}  // extern "C"
