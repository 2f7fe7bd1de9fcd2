#include "tests/support/SettingsStore.h"

#include "platform/Registry.h"
#include "shared/crypto/Sealing.h"

namespace testsupport {

bool StoreSealedValue(const QString& key, const QString& value, const QByteArray& plain) {
  platform::RegistryKeyGuard guard;
  return platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, key, platform::KEY_ALL_ACCESS, guard.out()) ==
             platform::ERROR_SUCCESS &&
         platform::RegSetValueEx(guard.get(), value, platform::RegistryValue::FromBinary(EncryptSetting(plain))) ==
             platform::ERROR_SUCCESS;
}

}  // namespace testsupport
