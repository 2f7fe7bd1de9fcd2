#pragma once

#include "setup/common/SetupLog.h"

#include <QString>

// The shortcuts the installer makes and both setup programs remove: two on the desktop, a
// Start-menu folder "Tarnwick Plus Lite" under Programs with three (four for a Pocket PC), and
// the Startup shortcut of the sync program's starter. `installationFolder` ends in "/".

// The shell's result code: 0 written, 0x80004005 not.
long CreateShortcut(const QString& target, const QString& linkFile, const QString& workingFolder,
                    const QString& arguments, const QString& description);

// Makes every shortcut of the installation; results are not checked. Always 1.
int CreateAppShortcuts(const QString& installationFolder, int deviceType);
bool CreateStartupShortCut(const QString& installationFolder);

// Deletes them, logging each one that cannot be deleted ("Problem in deleting shortcut : "
// and its path). Always 0.
int DeleteAppShortcuts(int deviceType, const SetupLogSink& log);
bool DeleteStartupShortCut(const SetupLogSink& log);
