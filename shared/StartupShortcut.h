#pragma once

#include <QString>

// The Startup folder's shortcut that starts the starter of the sync program at log-on. The
// installer makes it, the administration program remakes it when it switches to program mode,
// and both setup programs remove it.

inline const QString kStartSyncProgramName = QStringLiteral("TarnwickPStartSyncServiceLite.exe");
inline const QString kStartupShortcutName = QStringLiteral("Start TarnwickPSyncServiceLite.lnk");

// Where the shortcut lives.
QString StartupShortcutPath();

// The folder of the starter, which is also the shortcut's working folder: `installationFolder`
// (ending in "/") + "Desktop Files/".
QString StartupShortcutFolder(const QString& installationFolder);
