#include "admin/foundation/AdminRegistry.h"

#include "platform/registry/Registry.h"
#include "shared/RegistryHandler.h"
#include "shared/contract/RegistryNames.h"
#include "shared/contract/SettingsKey.h"

using namespace platform;

namespace {

bool SetSettingsValue(const QString& name, const RegistryValue& value) {
  RegistryKeyGuard key;
  return RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_WRITE, key.out()) == ERROR_SUCCESS &&
         RegSetValueEx(key.get(), name, value) == ERROR_SUCCESS;
}

int SetSettingsDword(settingskey::Dword value, int number) {
  RegistryKeyGuard key;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_WRITE, key.out()) != ERROR_SUCCESS) return 0;
  return settingskey::Write(key.get(), value, static_cast<DWORD>(number)) == ERROR_SUCCESS ? 1 : 0;
}

int GetSettingsDword(settingskey::Dword value, int* number) {
  DWORD stored = 0;
  if (!settingskey::Read(value, &stored)) return 0;
  *number = static_cast<int>(stored);
  return 1;
}

}  // namespace

int SetWebServiceURL(const QString& url) {
  return SetSettingsValue(registrynames::kWebServiceUrl, RegistryValue::FromString(url)) ? 1 : 0;
}

int SetNextProfileID(int id) { return SetSettingsDword(settingskey::Dword::NextProfileId, id); }
int GetNextProfileID(int* id) { return GetSettingsDword(settingskey::Dword::NextProfileId, id); }
int SetStartSyncStatus(int status) { return SetSettingsDword(settingskey::Dword::StartSyncStatus, status); }
int GetStartSyncStatus(int* status) { return GetSettingsDword(settingskey::Dword::StartSyncStatus, status); }
int SetSyncServiceStatus(int status) { return SetSettingsDword(settingskey::Dword::SyncServiceStatus, status); }

bool InitNextRecIndex(int profileId) {
  RegistryKeyGuard key;
  if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::kRecordIndexKey, KEY_ALL_ACCESS, key.out()) != ERROR_SUCCESS)
    return false;
  if (RegSetValueEx(key.get(), QString::number(profileId), RegistryValue::FromDword(1)) != ERROR_SUCCESS)
    return false;
  RegFlushKey(key.get());
  return true;
}

bool DeleteNextRecIndex(int profileId) {
  RegistryKeyGuard key;
  return RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kRecordIndexKey, KEY_WRITE, key.out()) == ERROR_SUCCESS &&
         RegDeleteValue(key.get(), QString::number(profileId)) == ERROR_SUCCESS;
}

bool CheckAdminPassword(const QString& password) {
  QString stored;
  switch (GetRegistryHandler()->ReadAdminPasswordState(&stored)) {
    case CRegistryHandler::PasswordState::Read: return stored == password;
    case CRegistryHandler::PasswordState::Absent: return password.isEmpty();
    case CRegistryHandler::PasswordState::Unreadable: return false;
  }
  return false;
}

int GetOSVersionMessageFlag(int* value) {
  RegistryKeyGuard key;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_READ, key.out()) != ERROR_SUCCESS) return 0;
  DWORD number = 0;
  if (!settingskey::Read(key.get(), settingskey::Dword::OsVersionMessageFlag, &number)) number = 0;
  *value = static_cast<int>(number);
  return 1;
}

int SetOSVersionMessageFlag() {
  RegistryKeyGuard key;
  if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_ALL_ACCESS, key.out()) != ERROR_SUCCESS)
    return 0;
  if (settingskey::Write(key.get(), settingskey::Dword::OsVersionMessageFlag, 2) != ERROR_SUCCESS) return 0;
  RegFlushKey(key.get());
  return 1;
}

int SetAdminPassword(const QString& password) {
  // The stored text ends at its first zero, and a lone surrogate has no UTF-8 form: such a
  // password could be stored but never matched.
  if (!password.isValidUtf16() || password.contains(QChar(0))) return 0;
  return GetRegistryHandler()->WriteAdminPassword(password.toUtf8()) == 0 ? 1 : 0;
}

namespace admin {

int GetWebServiceUrl(QString* url) {
  url->clear();
  SyncInfo record;
  if (GetRegistryHandler()->ReadSyncInfo(&record) != 0) return 0;
  *url = QString::fromUtf8(record.webServiceUrl);
  return 1;
}

}  // namespace admin
