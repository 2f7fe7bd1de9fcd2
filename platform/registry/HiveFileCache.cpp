#include "platform/registry/HiveFileCache.h"

#include "platform/files/AtomicFile.h"

#include <QSet>

#include <cerrno>
#include <cstdio>
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

// Reports each unreadable line once in this process, however often the file is written, and
// so read again, while the line stays.
void ReportUnreadableLines(const QString& path, const RegistryHive& hive, QSet<QByteArray>* reported) {
  for (const RegistryHive::UnreadableLine& unreadable : hive.unreadableLines()) {
    const RegistryHive::Line& line = unreadable.line;
    const QByteArray bytes = hive.text().sliced(line.begin, line.end - line.begin);
    if (reported->contains(bytes)) continue;
    reported->insert(bytes);
    std::fprintf(stderr, "registry: %s line %lld cannot be read (%s); it is skipped and kept as it is\n",
                 qPrintable(path), static_cast<long long>(unreadable.number), qPrintable(unreadable.problem));
  }
}

}  // namespace

struct HiveFileCache::Entry {
  QString path;
  int fd = -1;
  FileIdentity identity;
  Parsed parsed;
  QSet<QByteArray> reported;  // the unreadable lines already reported, as they are

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
  if (entry && entry->path == path) fresh->reported = std::move(entry->reported);
  if (fresh->parsed.hive) ReportUnreadableLines(path, *fresh->parsed.hive, &fresh->reported);
  entry = std::move(fresh);
  *parsed = entry->parsed;
  return true;
}

}  // namespace platform
