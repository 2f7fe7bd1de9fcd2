#include "setup/uninstaller/UninstallLog.h"

#include "shared/contract/InstallLayout.h"

QString UninstallLogPath(const QString& installFolder) {
  return installFolder + installlayout::kLogsFolder + QStringLiteral("ipTarnwickUnInstall.log");
}
