#include "outside/ServiceRunner.h"

#include "outside/SyncProgram.h"
#include "platform/os/SystemError.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  return signals;
}

// The sync program as a child, with the stop signals unblocked again.
pid_t SpawnSyncProgram(int* error) {
  const QByteArray path = SyncProgramPath().toLocal8Bit();
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  char* argv[] = {const_cast<char*>(path.constData()), nullptr};
  pid_t child = 0;
  *error = posix_spawn(&child, path.constData(), nullptr, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  return *error == 0 ? child : -1;
}

bool ChildEnded(pid_t child, bool wait) {
  int status = 0;
  pid_t result = 0;
  do {
    result = waitpid(child, &status, wait ? 0 : WNOHANG);
  } while (result < 0 && errno == EINTR);
  return result != 0;
}

}  // namespace

void BlockStopSignals() {
  const sigset_t stopSignals = StopSignals();
  sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
}

int RunSyncService() {
  const sigset_t stopSignals = StopSignals();
  BlockStopSignals();
  if (!WriteSyncServiceStatus(1)) {
    std::fputs("SyncServiceStatus cannot be written.\n", stderr);
    return 1;
  }
  int error = 0;
  const pid_t child = SpawnSyncProgram(&error);
  if (child < 0) {
    std::fprintf(stderr, "The sync program cannot be started: %s\n", qPrintable(platform::GetSystemErrorText(error)));
    WriteSyncServiceStatus(0);
    return 1;
  }
  const timespec slice{0, 200'000'000};
  while (!ChildEnded(child, false)) {
    if (sigtimedwait(&stopSignals, nullptr, &slice) > 0) {
      WriteSyncServiceStatus(0);
      ChildEnded(child, true);
      return 0;
    }
  }
  return 0;
}
