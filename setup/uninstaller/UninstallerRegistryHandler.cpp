#include "setup/uninstaller/UninstallerRegistryHandler.h"

#include "setup/common/SettingsRemoval.h"

namespace uninstaller {

int CRegistryHandler::RemoveSettings(const SetupLogSink& log) const {
  DeleteInstallationSettings(kUninstallerIndexKeyCheckpoint, log);
  DeleteAddRemoveEntry(log);
  return 0;
}

CRegistryHandler* GetRegistryHandler() {
  static CRegistryHandler handler;
  return &handler;
}

}  // namespace uninstaller
