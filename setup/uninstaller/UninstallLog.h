#pragma once

#include <QString>

// The uninstall log, "Desktop Files/Logs/ipTarnwickUnInstall.log" under the installation folder
// (ending in "/"): never deleted by the uninstaller.
QString UninstallLogPath(const QString& installFolder);
