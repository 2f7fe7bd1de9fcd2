#include "platform/files/FileCopy.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, ssize_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

bool CopyContent(int from, int to) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return got == 0;
    if (!WriteAll(to, buffer, got)) return false;
  }
}

}  // namespace

bool CopyFileReplacing(const QString& from, const QString& to) {
  const QByteArray target = to.toUtf8();
  if (::unlink(target.constData()) != 0 && errno != ENOENT) return false;
  const FileDescriptor source(::open(from.toUtf8().constData(), O_RDONLY | O_CLOEXEC));
  if (source.get() < 0) return false;
  int code = 0;
  {
    const FileDescriptor copy(::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (copy.get() < 0) return false;
    if (CopyContent(source.get(), copy.get()) && ::fsync(copy.get()) == 0) return true;
    code = errno;
  }
  ::unlink(target.constData());
  errno = code;
  return false;
}

}  // namespace platform
