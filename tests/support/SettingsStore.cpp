#include "tests/support/SettingsStore.h"

#include "shared/crypto/Sealing.h"

using namespace platform;

namespace testsupport {

bool StoreValue(const QString& key, const QString& name, const RegistryValue& value) {
  RegistryKeyGuard guard;
  return RegCreateKeyEx(HKEY_LOCAL_MACHINE, key, KEY_ALL_ACCESS, guard.out()) == ERROR_SUCCESS &&
         RegSetValueEx(guard.get(), name, value) == ERROR_SUCCESS;
}

bool StoreSealedValue(const QString& key, const QString& value, const QByteArray& plain) {
  return StoreValue(key, value, RegistryValue::FromBinary(EncryptSetting(plain)));
}

std::optional<RegistryValue> StoredValue(const QString& key, const QString& name) {
  RegistryKeyGuard guard;
  RegistryValue value;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, key, KEY_READ, guard.out()) != ERROR_SUCCESS ||
      RegQueryValueEx(guard.get(), name, &value) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

}  // namespace testsupport
