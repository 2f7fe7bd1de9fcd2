#include "platform/HiveFileCache.h"

#include "platform/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};

  static FileIdentity Of(const struct stat& status) {
    return FileIdentity{status.st_dev, status.st_ino, status.st_size, status.st_mtim};
  }
  bool operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
  }
};

}  // namespace

struct HiveFileCache::Entry {
  QString path;
  int fd = -1;
  FileIdentity identity;
  Parsed parsed;

  ~Entry() {
    if (fd >= 0) ::close(fd);
  }
};

HiveFileCache::HiveFileCache() = default;
HiveFileCache::~HiveFileCache() = default;

HiveFileCache& HiveFileCache::Instance() {
  static HiveFileCache cache;
  return cache;
}

bool HiveFileCache::Load(const QString& hiveName, const QString& path, Parsed* parsed) {
  const QByteArray name = path.toUtf8();
  struct stat status {};
  if (::stat(name.constData(), &status) != 0) {
    if (errno != ENOENT) return false;
    *parsed = Parsed{std::make_shared<const RegistryHive>(hiveName), {}};
    return true;
  }
  const std::lock_guard<std::mutex> guard(mutex_);
  std::unique_ptr<Entry>& entry = entries_[hiveName];
  if (entry && entry->path == path && entry->identity == FileIdentity::Of(status)) {
    *parsed = entry->parsed;
    return true;
  }
  auto fresh = std::make_unique<Entry>();
  fresh->path = path;
  fresh->fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  QByteArray text;
  if (fresh->fd < 0 || ::fstat(fresh->fd, &status) != 0 || !ReadAll(fresh->fd, &text)) return false;
  fresh->identity = FileIdentity::Of(status);
  auto hive = std::make_shared<RegistryHive>(hiveName);
  if (hive->Parse(std::move(text), &fresh->parsed.damage)) fresh->parsed.hive = std::move(hive);
  entry = std::move(fresh);
  *parsed = entry->parsed;
  return true;
}

}  // namespace platform
