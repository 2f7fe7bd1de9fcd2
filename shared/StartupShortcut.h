#pragma once

#include <QString>

// The Startup folder's shortcut that starts the starter of the sync program at log-on. The
// installer makes it, the administration program remakes it when it switches to program mode,
// and both setup programs remove it.

inline const QString kStartSyncProgramName = QStringLiteral("TarnwickPStartSyncServiceLite.exe");
inline const QString kStartupShortcutName = QStringLiteral("Start TarnwickPSyncServiceLite.lnk");

// Where the shortcut lives.
QString StartupShortcutPath();

// Writes the shortcut to the starter in `installationFolder` (ending in "/") + "Desktop Files/",
// which is also its working folder; false when it cannot be written.
bool WriteStartupShortcut(const QString& installationFolder);
