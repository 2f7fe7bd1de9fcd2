#include "platform/HiveFile.h"

#include "platform/FileLock.h"
#include "platform/AtomicFile.h"
#include "platform/MachineRoot.h"

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

LSTATUS HiveFile::Read(RegistryHive* hive) const {
  const FileLock lock(lockPath_, FileLock::Mode::Shared);
  return Load(hive);
}

LSTATUS HiveFile::Modify(const Change& change) const {
  if (!IsWritable()) return ERROR_ACCESS_DENIED;
  const FileLock lock(lockPath_, FileLock::Mode::Exclusive);
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
  if (!ReadWholeFile(path_, &content, &missing)) {
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
  return ReplaceFileAtomically(path_, hive.Serialize()) ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

}  // namespace platform
