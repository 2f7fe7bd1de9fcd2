#include "setup/demo/DemoRegistry.h"

#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RecordKey.h"
#include "shared/contract/RegistryNames.h"
#include "shared/contract/SettingsKey.h"

#include <QStringList>

using namespace platform;

namespace {

// The samples the shipped settings database holds: profiles 1 and 2, form 1.
constexpr DWORD kNextProfileId = 3;
constexpr DWORD kNextFormId = 2;
const QStringList kSampleProfiles{QStringLiteral("1"), QStringLiteral("2")};

bool Store(const QString& keyName, const QString& name, const RegistryValue& value, bool keepExisting = false) {
  RegistryKeyGuard key;
  if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_ALL_ACCESS, key.out()) != ERROR_SUCCESS) return false;
  RegistryValue existing;
  if (keepExisting && RegQueryValueEx(key.get(), name, &existing) == ERROR_SUCCESS) return true;
  return RegSetValueEx(key.get(), name, value) == ERROR_SUCCESS;
}

// Creates the key and stores one value through `write`.
template <typename Write>
bool StoreWith(const QString& keyName, const Write& write) {
  RegistryKeyGuard key;
  return RegCreateKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_ALL_ACCESS, key.out()) == ERROR_SUCCESS &&
         write(key.get()) == ERROR_SUCCESS;
}

}  // namespace

bool StoreInstallationRegistry(const DemoInstallation& installation) {
  SyncInfo sync;
  sync.changeDetectionMinutes = installation.changeDetectionMinutes;
  sync.webServiceUrl = installation.webServiceUrl.toUtf8();
  DeskInfo desk;
  desk.desktopName = installation.desktopName.toUtf8();
  desk.deviceId = installation.deviceId.toUtf8();
  bool stored =
      Store(registrynames::kSettingsKey, registrynames::kInstallationPath,
            RegistryValue::FromString(installation.folder)) &&
      StoreSyncServiceStatus(1) &&
      Store(registrynames::kSettingsKey, registrynames::kStartSyncStatus, RegistryValue::FromDword(0)) &&
      Store(registrynames::kSettingsKey, registrynames::kNextProfileId, RegistryValue::FromDword(kNextProfileId),
            true) &&
      Store(registrynames::kSettingsKey, registrynames::kNextFormId, RegistryValue::FromDword(kNextFormId), true) &&
      StoreWith(registrynames::RecordKeyName(), [&](HKEY key) { return recordkey::WriteSyncInfo(key, sync); }) &&
      StoreWith(registrynames::RecordKeyName(), [&](HKEY key) { return recordkey::WriteDeskInfo(key, desk); }) &&
      StoreWith(registrynames::kSettingsKey,
                [](HKEY key) { return settingskey::WriteConnSettings(key, ConnSettings()); });
  for (const QString& profile : kSampleProfiles)
    stored = stored && Store(registrynames::kRecordIndexKey, profile, RegistryValue::FromDword(1), true);
  return stored;
}

bool StoreSyncServiceStatus(int status) {
  return StoreWith(registrynames::kSettingsKey, [&](HKEY key) {
    return settingskey::Write(key, settingskey::Dword::SyncServiceStatus, static_cast<DWORD>(status));
  });
}
