#include "platform/files/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

FileLock::FileLock(const QString& path, Mode mode) {
  fd_ = ::open(path.toUtf8().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) fd_ = ::open(path.toUtf8().constData(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  const int operation = mode == Mode::Shared ? LOCK_SH : LOCK_EX;
  while (::flock(fd_, operation) != 0) {
    if (errno != EINTR) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
