#include "platform/AtomicFile.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr mode_t kNewFileMode = 0600;

bool WriteWhole(int fd, const QByteArray& content) {
  const char* data = content.constData();
  qsizetype left = content.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    left -= written;
  }
  return true;
}

void SyncFolder(const QString& folder) {
  const int fd = ::open(folder.toUtf8().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

mode_t ModeToKeep(const QByteArray& target) {
  struct stat status {};
  return ::stat(target.constData(), &status) == 0 ? (status.st_mode & 07777) : kNewFileMode;
}

// A temporary file beside the target, removed on destruction unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const QByteArray& target) : name_(target + ".XXXXXX") {
    fd_ = ::mkostemp(name_.data(), O_CLOEXEC);
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_ && fd_ >= 0) ::unlink(name_.constData());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Fill(const QByteArray& content, mode_t mode) const {
    return fd_ >= 0 && ::fchmod(fd_, mode) == 0 && WriteWhole(fd_, content) && ::fsync(fd_) == 0;
  }
  bool RenameTo(const QByteArray& target) {
    renamed_ = ::rename(name_.constData(), target.constData()) == 0;
    return renamed_;
  }

 private:
  QByteArray name_;
  int fd_ = -1;
  bool renamed_ = false;
};

}  // namespace

bool ReadAll(int fd, QByteArray* content) {
  content->clear();
  struct stat status {};
  if (::fstat(fd, &status) == 0 && status.st_size > 0) content->reserve(status.st_size);
  char buffer[65536];
  ssize_t got = 0;
  while ((got = ::read(fd, buffer, sizeof buffer)) != 0) {
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content->append(buffer, got);
  }
  return true;
}

bool ReadWholeFile(const QString& path, QByteArray* content, bool* missing) {
  content->clear();
  *missing = false;
  const int fd = ::open(path.toUtf8().constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *missing = errno == ENOENT;
    return *missing;
  }
  const bool read = ReadAll(fd, content);
  ::close(fd);
  return read;
}

bool ReplaceFileAtomically(const QString& path, const QByteArray& content) {
  const QByteArray target = path.toUtf8();
  TemporaryFile temporary(target);
  if (!temporary.Fill(content, ModeToKeep(target)) || !temporary.RenameTo(target)) return false;
  SyncFolder(QFileInfo(path).absolutePath());
  return true;
}

}  // namespace platform
