#include "platform/files/SharedMemoryFile.h"

#include "platform/os/MachineRoot.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {
namespace {

int OpenFile(const QString& path) {
  return ::open(path.toUtf8().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

int LockRetryingOnSignal(int fd, int operation) {
  int result = 0;
  do {
    result = ::flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result;
}

}  // namespace

SharedMemoryFile::SharedMemoryFile(const QString& name, uint32_t size)
    : guardPath_(RunFolder() + QStringLiteral("/") + name + QStringLiteral("_Sync.lock")) {
  fd_ = OpenFile(RunFolder() + QStringLiteral("/") + name + QStringLiteral(".shm"));
  if (fd_ < 0 || !OpenAsFirstOrNext(size)) {
    openError_ = errno;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
}

SharedMemoryFile::~SharedMemoryFile() {
  if (fd_ >= 0) ::close(fd_);
}

// Every opener decides under the guard whether it is the first: it tries the block's lock
// exclusively, which only succeeds when nobody else holds it open, and then keeps a shared lock
// for its whole life. Outside the guard nobody ever asks for the exclusive lock, so the switch
// from exclusive to shared cannot let a second opener in between.
bool SharedMemoryFile::OpenAsFirstOrNext(uint32_t size) {
  const Guard guard(*this);
  if (!guard.Held()) return false;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
    created_ = true;
    if (::ftruncate(fd_, 0) != 0 || ::ftruncate(fd_, size) != 0) return false;
  } else if (errno != EWOULDBLOCK) {
    return false;
  }
  return LockRetryingOnSignal(fd_, LOCK_SH) == 0;
}

SharedMemoryFile::Guard::Guard(const SharedMemoryFile& block) {
  fd_ = OpenFile(block.guardPath_);
  if (fd_ >= 0 && LockRetryingOnSignal(fd_, LOCK_EX) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

SharedMemoryFile::Guard::~Guard() {
  if (fd_ >= 0) ::close(fd_);
}

bool SharedMemoryFile::Read(uint32_t offset, void* data, uint32_t length) const {
  if (fd_ < 0) return false;
  char* out = static_cast<char*>(data);
  while (length > 0) {
    const ssize_t got = ::pread(fd_, out, length, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    offset += static_cast<uint32_t>(got);
    length -= static_cast<uint32_t>(got);
  }
  return true;
}

bool SharedMemoryFile::Write(uint32_t offset, const void* data, uint32_t length) {
  if (fd_ < 0) return false;
  const char* in = static_cast<const char*>(data);
  while (length > 0) {
    const ssize_t written = ::pwrite(fd_, in, length, offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    in += written;
    offset += static_cast<uint32_t>(written);
    length -= static_cast<uint32_t>(written);
  }
  return true;
}

}  // namespace platform
