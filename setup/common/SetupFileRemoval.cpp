#include "setup/common/SetupFileRemoval.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void DeleteSetupFile(const QString& path, const SetupLogSink& log) {
  if (!QFile::remove(path)) log(QStringLiteral("Problem in deleting file : ") + path);
}

void RemoveSetupFolder(const QString& folder, const SetupLogSink& log) {
  if (!QDir().rmdir(folder)) log(QStringLiteral("Problem in deleting directory : ") + folder);
}

void DeleteFolderFiles(const QString& folder, const SetupLogSink& log) {
  const QFileInfoList entries =
      QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QFileInfo& entry : entries) {
    if (!entry.isDir()) DeleteSetupFile(entry.filePath(), log);
  }
}
