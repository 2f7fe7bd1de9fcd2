#include "setup/common/InstallationRemoval.h"

#include "setup/common/SetupFileRemoval.h"
#include "shared/contract/InstallLayout.h"

using namespace installlayout;

namespace {

void RemoveDeviceFiles(const QString& base, uint16_t deviceType, const SetupLogSink& log) {
  if (deviceType == kBlackBerry) {
    for (const QString& folder : {kBlackBerryFolder42, kBlackBerryStormFolder}) {
      for (const QString& name : BlackBerryPackages()) DeleteSetupFile(base + folder + name, log);
    }
    RemoveSetupFolder(base + kBlackBerryFolder42, log);
    RemoveSetupFolder(base + kBlackBerryStormFolder, log);
    RemoveSetupFolder(base + kBlackBerryFolder, log);
  }
  if (deviceType == kPocketPc) {
    DeleteSetupFile(base + kPocketPcFolder + kPocketPcSetup, log);
    RemoveSetupFolder(base + kPocketPcFolder, log);
  }
  RemoveSetupFolder(base + kDeviceFiles, log);
}

}  // namespace

void RemoveInstallationFiles(const QString& installFolder, uint16_t deviceType, const InstallationRemoval& removal,
                             const SetupLogSink& log) {
  RemoveDeviceFiles(installFolder, deviceType, log);
  for (const QString& name : DatabaseNames()) DeleteSetupFile(installFolder + kDbFolder + name, log);
  if (removal.emptyTempFiles) DeleteFolderFiles(installFolder + kTempFilesFolder, log);
  RemoveSetupFolder(installFolder + kTempFilesFolder, log);
  DeleteFolderFiles(installFolder + kCdbFolder, log);
  RemoveSetupFolder(installFolder + kCdbFolder, log);
  RemoveSetupFolder(installFolder + kDbFolder, log);
  for (const QString& name : removal.desktopFiles) DeleteSetupFile(installFolder + kDesktopFiles + name, log);
}
