#pragma once

// Sanitizer defaults of the test programs, read by the sanitizer runtimes at start-up. Included
// once by each test main.
extern "C" {

// Leaks inside system libraries that are loaded once per process and never unloaded, and the
// search path glibc's newlocale builds from LOCPATH and never frees (the test with a locale of
// its own in the build tree). A pattern matches anywhere in a frame's name, and glibc's frame is
// named "argz_add_sep" or "__argz_add_sep" depending on the symbols the machine has.
const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n"
         "leak:libQt6Gui\n"
         "leak:libQt6Widgets\n"
         "leak:libodbc\n"
         "leak:libsqlite3odbc\n"
         "leak:libmaodbc\n"
         "leak:psqlodbcw\n"
         "leak:libmdbodbc\n"
         "leak:argz_add_sep\n";
}

const char* __ubsan_default_options() { return "print_stacktrace=1"; }

}  // extern "C"
