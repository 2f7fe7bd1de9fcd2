#include "bench/support/QuietConsole.h"

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace benchsupport {

QuietConsole::QuietConsole() : m_saved(dup(STDOUT_FILENO)) {
  std::fflush(stdout);
  const int sink = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (sink < 0) return;
  dup2(sink, STDOUT_FILENO);
  close(sink);
}

QuietConsole::~QuietConsole() {
  if (m_saved < 0) return;
  std::fflush(stdout);
  dup2(m_saved, STDOUT_FILENO);
  close(m_saved);
}

}  // namespace benchsupport
