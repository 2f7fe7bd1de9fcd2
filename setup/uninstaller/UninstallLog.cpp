#include "setup/uninstaller/UninstallLog.h"

#include "setup/common/InstallLayout.h"

QString UninstallLogPath(const QString& installFolder) {
  return installFolder + installlayout::kLogsFolder + QStringLiteral("ipTarnwickUnInstall.log");
}
