#include "platform/AtomicFile.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

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

}  // namespace

bool ReadWholeFile(const QString& path, QByteArray* content, bool* missing) {
  content->clear();
  *missing = false;
  const int fd = ::open(path.toUtf8().constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *missing = errno == ENOENT;
    return *missing;
  }
  char buffer[16384];
  ssize_t got = 0;
  while ((got = ::read(fd, buffer, sizeof buffer)) != 0) {
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    content->append(buffer, got);
  }
  ::close(fd);
  return true;
}

bool ReplaceFileAtomically(const QString& path, const QByteArray& content) {
  const QByteArray target = path.toUtf8();
  const QByteArray temporary = target + ".tmp";
  const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = WriteWhole(fd, content) && ::fsync(fd) == 0;
  ::close(fd);
  if (!written || ::rename(temporary.constData(), target.constData()) != 0) {
    ::unlink(temporary.constData());
    return false;
  }
  SyncFolder(QFileInfo(path).absolutePath());
  return true;
}

}  // namespace platform
