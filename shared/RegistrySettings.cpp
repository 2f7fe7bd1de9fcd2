#include "shared/RegistrySettings.h"

#include "platform/registry/Registry.h"
#include "shared/contract/RegistryNames.h"
#include "shared/crypto/Sealing.h"

using namespace platform;

QString GetInstallationPath(const QString& key) {
  RegistryKeyGuard handle;
  RegistryValue value;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, key, KEY_READ, handle.out()) != ERROR_SUCCESS ||
      RegQueryValueEx(handle.get(), registrynames::kInstallationPath, &value) != ERROR_SUCCESS ||
      value.type != REG_SZ) {
    return {};
  }
  return value.ToString();
}

QString GetInstallationPath() {
  QString path = GetInstallationPath(registrynames::kSettingsKey);
  if (path.isEmpty()) return {};
  if (!path.endsWith(u'/')) path += u'/';
  return path;
}

std::optional<QByteArray> ReadSealedValue(const QString& keyName, const QString& valueName, int plainSize) {
  RegistryKeyGuard key;
  RegistryValue value;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_READ, key.out()) != ERROR_SUCCESS ||
      RegQueryValueEx(key.get(), valueName, &value) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const int sealedSize = plainSize - plainSize % 16 + 16;
  if (value.type != REG_BINARY || value.data.size() != sealedSize) return std::nullopt;
  return DecryptSetting(value.data);
}
