#include "sync/data/SyncSystem.h"

#include "platform/os/MachineRoot.h"
#include "platform/os/Process.h"
#include "shared/WorkbookFolder.h"
#include "sync/data/SyncLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool IsFileLocked(const QString& path) {
  // An office suite opens a workbook without locking it against writes; its lock file beside the
  // workbook says that it has the workbook open.
  const QFileInfo workbook(path);
  const QString name = workbook.fileName();
  for (const QString& lockFile : {QStringLiteral(".~lock.%1#").arg(name), QStringLiteral("~$%1").arg(name)}) {
    if (QFileInfo::exists(workbook.dir().filePath(lockFile))) return true;
  }
  QFile file(path);
  // Append and ExistingOnly: the test neither creates nor truncates the file.
  return !file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly);
}

namespace syncservice {

void DeleteTempExcelCopies() {
  const QString path = WorkbookTempFolder();
  const QDir folder(path);
  if (path.isEmpty() || !folder.exists()) return;
  for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
    if (name.compare(u"schema.ini", Qt::CaseInsensitive) == 0 || name.startsWith(u"New_")) continue;
    QFile::remove(folder.filePath(name));
  }
}

}  // namespace syncservice

bool IsProcessRunningTwice(const QString& executableName) {
  int error = 0;
  switch (platform::LockSingleInstance(executableName, &error)) {
    case platform::InstanceLock::Acquired:
      return false;
    case platform::InstanceLock::HeldByAnother:
      return true;
    case platform::InstanceLock::Failed:
      break;
  }
  WriteSyncServiceLog(202, QStringLiteral("Error to get process handle (Error Code : %1).").arg(error));
  return false;
}
