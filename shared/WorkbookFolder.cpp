#include "shared/WorkbookFolder.h"

#include "platform/os/MachineRoot.h"
#include "shared/RegistrySettings.h"

#include <QDir>

QString WorkbookTempFolder() {
  const QString installation = GetInstallationPath();
  const QString installationName = QDir(installation).dirName();
  if (installation.isEmpty() || installationName.isEmpty()) return {};
  return platform::SpecialFolderPath(platform::SpecialFolder::MyDocuments) + u'/' + installationName +
         QStringLiteral("/Temp Files");
}
