#pragma once

#include "setup/common/SetupLog.h"

#include <QList>
#include <QString>

#include <cstdint>

// The walk that deletes what the installer copied, as both setup programs take it: device
// packages and folders, the databases and the snapshot folders, then the files of "Desktop
// Files". Folders go only when empty; every failure is logged and the walk goes on.
struct InstallationRemoval {
  // The uninstaller empties "Temp Files" (the sync program leaves its files there); the
  // installer's rollback finds it as it made it.
  bool emptyTempFiles = false;
  // The files of "Desktop Files" to delete.
  QList<QString> desktopFiles;
};

// `installFolder` ends in "/".
void RemoveInstallationFiles(const QString& installFolder, uint16_t deviceType, const InstallationRemoval& removal,
                             const SetupLogSink& log);
