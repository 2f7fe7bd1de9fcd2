#include "setup/uninstaller/UninstallerFiles.h"

#include "setup/common/InstallationRemoval.h"
#include "shared/contract/InstallLayout.h"

#include <QFileInfo>

#include <cstdint>

using namespace installlayout;

namespace {

QList<QString> DesktopFiles() {
  QList<QString> files = DesktopPrograms();
  files.append({kUserGuide, kReadme});
  return files;
}

}  // namespace

int RemoveInstalledFiles(const QString& installFolder, int deviceType, const SetupLogSink& log) {
  const QFileInfo folder(installFolder);
  if (installFolder.isEmpty() || folder.isRelative() || !folder.isDir()) {
    log(QStringLiteral("Files not removed, no installation folder : \"%1\"").arg(installFolder));
    return 0;
  }
  InstallationRemoval removal;
  removal.emptyTempFiles = true;
  removal.desktopFiles = DesktopFiles();
  QString base = installFolder;
  if (!base.endsWith(u'/')) base += u'/';
  RemoveInstallationFiles(base, static_cast<uint16_t>(deviceType), removal, log);
  return 0;
}
