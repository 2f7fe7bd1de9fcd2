#include "platform/files/AtomicFile.h"

#include "platform/files/ReplacementFile.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr mode_t kNewFileMode = 0600;

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
  const QString folder = QFileInfo(path).absolutePath();
  ReplacementFile::RemoveStale(folder.toUtf8());
  ReplacementFile replacement(target);
  if (!replacement.Fill(content, ModeToKeep(target)) || !replacement.RenameTo(target)) return false;
  SyncFolder(folder);
  return true;
}

}  // namespace platform
