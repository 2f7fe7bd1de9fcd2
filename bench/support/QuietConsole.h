#pragma once

namespace benchsupport {

// Sends the process's standard output to /dev/null for its lifetime, so that the lines a pass
// prints do not mix with the benchmark's report; the report itself is printed after it ends.
class QuietConsole {
 public:
  QuietConsole();
  ~QuietConsole();
  QuietConsole(const QuietConsole&) = delete;
  QuietConsole& operator=(const QuietConsole&) = delete;

 private:
  int m_saved;
};

}  // namespace benchsupport
