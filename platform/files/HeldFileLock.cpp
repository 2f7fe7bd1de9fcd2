#include "platform/files/HeldFileLock.h"

#include "platform/os/MachineRoot.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform {

HeldFileLock::HeldFileLock(const QString& name)
    : path_(RunFolder() + QStringLiteral("/") + name + QStringLiteral(".lock")) {}

HeldFileLock::~HeldFileLock() { Release(); }

bool HeldFileLock::Acquire(const std::function<bool()>& giveUp) {
  if (fd_ >= 0) return true;
  // Each acquisition opens the file anew: flock belongs to the open file, so two objects of one
  // process exclude each other just as two processes do.
  const int fd = ::open(path_.toUtf8().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || giveUp()) {
      ::close(fd);
      return false;
    }
    std::this_thread::sleep_for(kWaitSlice);
  }
  fd_ = fd;
  return true;
}

void HeldFileLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace platform
