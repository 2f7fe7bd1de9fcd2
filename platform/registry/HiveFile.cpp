#include "platform/registry/HiveFile.h"

#include "platform/files/AtomicFile.h"
#include "platform/files/FileLock.h"
#include "platform/os/MachineRoot.h"
#include "platform/registry/HiveFileCache.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace platform {

HiveFile::HiveFile(const QString& hiveName)
    : hiveName_(hiveName),
      path_(RegistryFolder() + u'/' + hiveName + QStringLiteral(".reg")),
      lockPath_(RegistryFolder() + u'/' + hiveName + QStringLiteral(".lock")) {}

LSTATUS HiveFile::Read(std::shared_ptr<const RegistryHive>* hive) const {
  const FileLock lock(lockPath_, FileLock::Mode::Shared);
  return Load(hive);
}

LSTATUS HiveFile::Modify(const Change& change) const {
  if (!IsWritable()) return ERROR_ACCESS_DENIED;
  const FileLock lock(lockPath_, FileLock::Mode::Exclusive);
  if (!lock.held()) return ERROR_ACCESS_DENIED;
  std::shared_ptr<const RegistryHive> hive;
  if (const LSTATUS loaded = Load(&hive); loaded != ERROR_SUCCESS) return loaded;
  RegistryHiveEdit edit(*hive);
  if (const LSTATUS status = change(edit); status != ERROR_SUCCESS) return status;
  if (!edit.changed()) return ERROR_SUCCESS;
  return ReplaceFileAtomically(path_, edit.Result()) ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

bool HiveFile::IsWritable() const {
  const QString folder = QFileInfo(path_).absolutePath();
  if (::access(folder.toUtf8().constData(), W_OK) != 0) return false;
  return !QFileInfo::exists(path_) || ::access(path_.toUtf8().constData(), W_OK) == 0;
}

LSTATUS HiveFile::Load(std::shared_ptr<const RegistryHive>* hive) const {
  HiveFileCache::Parsed parsed;
  if (!HiveFileCache::Instance().Load(hiveName_, path_, &parsed)) {
    std::fprintf(stderr, "registry: %s cannot be read: %s\n", qPrintable(path_), std::strerror(errno));
    return ERROR_ACCESS_DENIED;
  }
  if (!parsed.hive) {
    std::fprintf(stderr, "registry: %s is damaged (%s); it is left as it is\n", qPrintable(path_),
                 qPrintable(parsed.damage));
    return ERROR_BADDB;
  }
  *hive = std::move(parsed.hive);
  return ERROR_SUCCESS;
}

}  // namespace platform
