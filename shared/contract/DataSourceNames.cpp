#include "shared/contract/DataSourceNames.h"

namespace datasources {

QStringList OwnNames() {
  return {kAdminSettings,         kSyncSettings, kInstallerSettings, kAdminProfile,
          kAdminFileMakerProfile, kSyncProfile,  kBackSyncProfile};
}

}  // namespace datasources
