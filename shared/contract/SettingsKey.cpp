#include "shared/contract/SettingsKey.h"

#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "shared/crypto/Sealing.h"

using namespace platform;

namespace settingskey {

QString Name(Dword value) {
  switch (value) {
    case Dword::NextProfileId:
      return registrynames::kNextProfileId;
    case Dword::NextFormId:
      return registrynames::kNextFormId;
    case Dword::SyncServiceStatus:
      return registrynames::kSyncServiceStatus;
    case Dword::StartSyncStatus:
      return registrynames::kStartSyncStatus;
    case Dword::OsVersionMessageFlag:
      return registrynames::kOsVersionMessageFlag;
  }
  return {};
}

bool Read(HKEY key, Dword value, DWORD* number) {
  RegistryValue stored;
  return RegQueryValueEx(key, Name(value), &stored) == ERROR_SUCCESS && stored.ToDword(number);
}

bool Read(Dword value, DWORD* number) {
  RegistryKeyGuard key;
  return RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_READ, key.out()) == ERROR_SUCCESS &&
         Read(key.get(), value, number);
}

LSTATUS Write(HKEY key, Dword value, DWORD number) {
  return RegSetValueEx(key, Name(value), RegistryValue::FromDword(number));
}

int ReadConnSettings(ConnSettings* record) {
  return ReadSealedRecord(registrynames::kSettingsKey, registrynames::kConnSettings, record);
}

LSTATUS WriteConnSettings(HKEY key, const ConnSettings& record) {
  return RegSetValueEx(key, registrynames::kConnSettings, RegistryValue::FromBinary(EncryptSetting(record.ToBytes())));
}

}  // namespace settingskey
