#include "shared/RegistryHandler.h"

#include "platform/registry/Registry.h"
#include "shared/contract/RecordKey.h"
#include "shared/contract/RegistryNames.h"
#include "shared/contract/SettingsKey.h"
#include "shared/crypto/Sealing.h"

#include <memory>
#include <mutex>
#include <optional>

using namespace platform;

namespace {

// Opens `keyName` for writing, stores the value through `write` and flushes.
template <typename Write>
int WriteSealedValue(const QString& keyName, const Write& write, int keyFailure, int valueFailure) {
  RegistryKeyGuard key;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_WRITE, key.out()) != ERROR_SUCCESS)
    return keyFailure;
  if (write(key.get()) != ERROR_SUCCESS) return valueFailure;
  RegFlushKey(key.get());
  return 0;
}

}  // namespace

int CRegistryHandler::WriteAdminPassword(const QByteArray& password) {
  return WriteSealedValue(
      registrynames::RecordKeyName(), [&](HKEY key) { return recordkey::WriteAdminPassword(key, password); }, -1, -2);
}

CRegistryHandler::PasswordState CRegistryHandler::ReadAdminPasswordState(QString* password) {
  password->clear();
  RegistryKeyGuard key;
  const LSTATUS opened = RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::RecordKeyName(), KEY_READ, key.out());
  if (opened == ERROR_FILE_NOT_FOUND) return PasswordState::Absent;
  if (opened != ERROR_SUCCESS) return PasswordState::Unreadable;
  RegistryValue value;
  const LSTATUS queried = RegQueryValueEx(key.get(), registrynames::kAdminPassword, &value);
  if (queried == ERROR_FILE_NOT_FOUND) return PasswordState::Absent;
  if (queried != ERROR_SUCCESS || value.type != REG_BINARY) return PasswordState::Unreadable;
  const std::optional<QByteArray> plain = DecryptSetting(value.data);
  if (!plain) return PasswordState::Unreadable;
  const QByteArray text = plain->left(plain->indexOf('\0'));
  const QString decoded = QString::fromUtf8(text);
  // The padding guarantees a zero; a text that is not UTF-8 was damaged or sealed elsewhere.
  if (plain->indexOf('\0') < 0 || decoded.toUtf8() != text) return PasswordState::Unreadable;
  *password = decoded;
  return PasswordState::Read;
}

int CRegistryHandler::ReadAdminPassword(QString* password) {
  return ReadAdminPasswordState(password) == PasswordState::Read ? 1 : 0;
}

int CRegistryHandler::ReadDeskInfo(DeskInfo* record) { return recordkey::ReadDeskInfo(record); }

int CRegistryHandler::ReadSyncInfo(SyncInfo* record) { return recordkey::ReadSyncInfo(record); }

int CRegistryHandler::WriteConnSettings(const ConnSettings& record) {
  return WriteSealedValue(
      registrynames::kSettingsKey, [&](HKEY key) { return settingskey::WriteConnSettings(key, record); }, -2, -3);
}

int CRegistryHandler::ReadConnSettings(ConnSettings* record) { return settingskey::ReadConnSettings(record); }

namespace {

std::mutex handlerMutex;
std::unique_ptr<CRegistryHandler> handler;

}  // namespace

CRegistryHandler* GetRegistryHandler() {
  const std::lock_guard<std::mutex> lock(handlerMutex);
  if (!handler) handler = std::make_unique<CRegistryHandler>();
  return handler.get();
}

void DeleteRegistryHandler() {
  const std::lock_guard<std::mutex> lock(handlerMutex);
  handler.reset();
}
