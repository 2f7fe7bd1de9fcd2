#include "platform/HiveFile.h"

#include "platform/MachineRoot.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {
namespace {

// An open file descriptor holding a flock, both released on destruction.
class FileLock {
 public:
  FileLock(const QString& path, int operation) {
    fd_ = ::open(path.toUtf8().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) fd_ = ::open(path.toUtf8().constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ >= 0) {
      while (::flock(fd_, operation) != 0 && errno == EINTR) {
      }
    }
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

bool ReadWhole(const QString& path, QByteArray* content, bool* missing) {
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

HiveFile::HiveFile(const QString& hiveName)
    : hiveName_(hiveName),
      path_(RegistryFolder() + u'/' + hiveName + QStringLiteral(".reg")),
      lockPath_(RegistryFolder() + u'/' + hiveName + QStringLiteral(".lock")) {}

LSTATUS HiveFile::Read(RegistryHive* hive) const {
  const FileLock lock(lockPath_, LOCK_SH);
  return Load(hive);
}

LSTATUS HiveFile::Modify(const Change& change) const {
  if (!IsWritable()) return ERROR_ACCESS_DENIED;
  const FileLock lock(lockPath_, LOCK_EX);
  if (!lock.held()) return ERROR_ACCESS_DENIED;
  RegistryHive hive(hiveName_);
  if (const LSTATUS loaded = Load(&hive); loaded != ERROR_SUCCESS) return loaded;
  bool changed = false;
  if (const LSTATUS status = change(hive, &changed); status != ERROR_SUCCESS) return status;
  return changed ? Store(hive) : ERROR_SUCCESS;
}

bool HiveFile::IsWritable() const {
  const QString folder = QFileInfo(path_).absolutePath();
  if (::access(folder.toUtf8().constData(), W_OK) != 0) return false;
  return !QFileInfo::exists(path_) || ::access(path_.toUtf8().constData(), W_OK) == 0;
}

LSTATUS HiveFile::Load(RegistryHive* hive) const {
  QByteArray content;
  bool missing = false;
  if (!ReadWhole(path_, &content, &missing)) {
    std::fprintf(stderr, "registry: %s cannot be read: %s\n", qPrintable(path_), std::strerror(errno));
    return ERROR_ACCESS_DENIED;
  }
  if (missing) {
    *hive = RegistryHive(hiveName_);
    return ERROR_SUCCESS;
  }
  QString error;
  if (!hive->Parse(content, &error)) {
    std::fprintf(stderr, "registry: %s is damaged (%s); it is left as it is\n", qPrintable(path_),
                 qPrintable(error));
    return ERROR_BADDB;
  }
  return ERROR_SUCCESS;
}

LSTATUS HiveFile::Store(const RegistryHive& hive) const {
  const QString temporary = path_ + QStringLiteral(".tmp");  // only the lock holder writes it
  const int fd = ::open(temporary.toUtf8().constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return ERROR_CANTWRITE;
  const bool written = WriteWhole(fd, hive.Serialize()) && ::fsync(fd) == 0;
  ::close(fd);
  if (!written || ::rename(temporary.toUtf8().constData(), path_.toUtf8().constData()) != 0) {
    ::unlink(temporary.toUtf8().constData());
    return ERROR_CANTWRITE;
  }
  SyncFolder(QFileInfo(path_).absolutePath());
  return ERROR_SUCCESS;
}

}  // namespace platform
