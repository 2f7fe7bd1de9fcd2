#include "tests/support/SettingsStore.h"

#include "platform/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/Sealing.h"

#include <QDir>

namespace testsupport {

namespace {

bool StoreValue(const QString& key, const QString& value, const platform::RegistryValue& data) {
  platform::RegistryKeyGuard guard;
  return platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, key, platform::KEY_ALL_ACCESS, guard.out()) ==
             platform::ERROR_SUCCESS &&
         platform::RegSetValueEx(guard.get(), value, data) == platform::ERROR_SUCCESS;
}

}  // namespace

bool StoreSealedValue(const QString& key, const QString& value, const QByteArray& plain) {
  return StoreValue(key, value, platform::RegistryValue::FromBinary(EncryptSetting(plain)));
}

bool StoreInstallation(const QString& folder) {
  return QDir().mkpath(folder + QStringLiteral("Desktop Files/Logs")) &&
         StoreValue(kSettingsKey, QStringLiteral("InstallationPath"), platform::RegistryValue::FromString(folder));
}

}  // namespace testsupport
