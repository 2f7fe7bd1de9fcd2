#include "setup/demo/DemoRegistry.h"

#include "platform/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/crypto/Sealing.h"

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

bool StoreSealed(const QString& keyName, const QString& name, const QByteArray& plain) {
  return Store(keyName, name, RegistryValue::FromBinary(EncryptSetting(plain)));
}

}  // namespace

bool StoreInstallationRegistry(const DemoInstallation& installation) {
  SyncInfo sync;
  sync.changeDetectionMinutes = installation.changeDetectionMinutes;
  sync.webServiceUrl = installation.webServiceUrl.toUtf8();
  DeskInfo desk;
  desk.desktopName = installation.desktopName.toUtf8();
  desk.deviceId = installation.deviceId.toUtf8();
  bool stored = Store(kSettingsKey, QStringLiteral("InstallationPath"), RegistryValue::FromString(installation.folder)) &&
                StoreSyncServiceStatus(1) &&
                Store(kSettingsKey, QStringLiteral("StartSyncStatus"), RegistryValue::FromDword(0)) &&
                Store(kSettingsKey, QStringLiteral("NextProfileID"), RegistryValue::FromDword(kNextProfileId), true) &&
                Store(kSettingsKey, QStringLiteral("NextFormID"), RegistryValue::FromDword(kNextFormId), true) &&
                StoreSealed(RecordKeyName(), QStringLiteral("SyncInfo"), sync.ToBytes()) &&
                StoreSealed(RecordKeyName(), QStringLiteral("DeskInfo"), desk.ToBytes()) &&
                StoreSealed(kSettingsKey, QStringLiteral("ConnSettings"), ConnSettings().ToBytes());
  for (const QString& profile : kSampleProfiles)
    stored = stored && Store(kRecordIndexKey, profile, RegistryValue::FromDword(1), true);
  return stored;
}

bool StoreSyncServiceStatus(int status) {
  return Store(kSettingsKey, QStringLiteral("SyncServiceStatus"), RegistryValue::FromDword(static_cast<DWORD>(status)));
}
