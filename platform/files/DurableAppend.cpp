#include "platform/files/DurableAppend.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

bool SyncFolderOf(const QString& path) {
  const int fd = ::open(QFileInfo(path).absolutePath().toUtf8().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

}  // namespace

bool AppendDurably(const QString& path, const QByteArray& content) {
  const bool created = !QFileInfo::exists(path);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
  if (created) file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  if (file.write(content) != content.size() || !file.flush()) return false;
  if (::fsync(file.handle()) != 0) return false;
  return !created || SyncFolderOf(path);
}

}  // namespace platform
