#include "platform/os/DetachedProcess.h"

#include "platform/os/MachineRoot.h"

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

struct Report {
  int error = 0;
  pid_t pid = 0;
};

// This process's environment with the machine root made absolute: the program may start in
// another folder, where a relative root would name another machine.
std::vector<QByteArray> ChildEnvironment() {
  const QByteArray rootVariable = "TARNWICK_MACHINE_ROOT=";
  std::vector<QByteArray> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (!QByteArray(*entry).startsWith(rootVariable)) entries.emplace_back(*entry);
  }
  if (HasExplicitMachineRoot()) entries.push_back(rootVariable + MachineRoot().toLocal8Bit());
  return entries;
}

std::vector<char*> Pointers(std::vector<QByteArray>& texts) {
  std::vector<char*> pointers;
  for (QByteArray& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Runs in the grandchild: only async-signal-safe calls until exec.
[[noreturn]] void ExecProgram(const std::vector<char*>& argv, const std::vector<char*>& envp, const char* folder,
                              int reportFd) {
  const int devNull = ::open("/dev/null", O_RDWR);
  if (devNull >= 0) {
    ::dup2(devNull, 0);
    ::dup2(devNull, 1);
    ::dup2(devNull, 2);
  }
  Report report{0, ::getpid()};
  if (folder[0] != '\0' && ::chdir(folder) != 0) {
    report.error = errno;
  } else {
    ::execve(argv[0], argv.data(), envp.data());
    report.error = errno;
  }
  (void)!::write(reportFd, &report, sizeof report);
  ::_exit(127);
}

}  // namespace

int StartDetached(const QString& program, const QStringList& arguments, const QString& workingFolder, qint64* pid) {
  std::vector<QByteArray> texts{program.toLocal8Bit()};
  for (const QString& argument : arguments) texts.push_back(argument.toLocal8Bit());
  const std::vector<char*> argv = Pointers(texts);
  std::vector<QByteArray> environment = ChildEnvironment();
  const std::vector<char*> envp = Pointers(environment);
  const QByteArray folder = workingFolder.toLocal8Bit();

  // The grandchild reports its pid, or why exec failed, through a pipe that exec closes.
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return errno;
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return error;
  }
  if (child == 0) {
    ::close(pipeFds[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild == 0) ExecProgram(argv, envp, folder.constData(), pipeFds[1]);
    Report report{grandchild < 0 ? errno : 0, grandchild};
    (void)!::write(pipeFds[1], &report, sizeof report);
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  ::waitpid(child, nullptr, 0);

  // The child reports the grandchild's pid; the grandchild reports only why exec failed, after
  // which (or at exec) the pipe closes. Either may come first.
  int error = 0;
  pid_t started = 0;
  Report got;
  ssize_t length = 0;
  while ((length = ::read(pipeFds[0], &got, sizeof got)) != 0) {
    if (length < 0 && errno == EINTR) continue;
    if (length != static_cast<ssize_t>(sizeof got)) break;
    if (got.error != 0 && error == 0) error = got.error;
    if (got.error == 0) started = got.pid;
  }
  ::close(pipeFds[0]);
  if (error == 0 && pid) *pid = started;
  return error;
}

}  // namespace platform
