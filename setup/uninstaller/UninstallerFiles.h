#pragma once

#include "setup/common/SetupLog.h"

#include <QString>

// Removes what the installer copied into `installFolder` for the device type: packages, device
// folders, databases, the database folders with their files and the seven files of "Desktop
// Files" (this program's own included). "Desktop Files", its logs and the installation folder
// stay. An installation folder that is not an existing absolute folder is left alone (logged),
// so that a missing setting never empties folders under the current one. Always 0.
int RemoveInstalledFiles(const QString& installFolder, int deviceType, const SetupLogSink& log);
