#include "admin/foundation/FormIdCounter.h"

#include "admin/foundation/SettingsQuery.h"
#include "platform/registry/Registry.h"
#include "shared/contract/RegistryNames.h"
#include "shared/contract/SettingsKey.h"
#include "shared/contract/SettingsTables.h"

#include <algorithm>
#include <limits>
#include <optional>

using namespace platform;

namespace {

// The highest form identifier in the table, 0 when it holds none; nothing when it cannot be read.
std::optional<int64_t> HighestStoredFormId(const admin::CDatabseConnection& connection, const QString& table) {
  SettingsQuery query(connection, QStringLiteral("Select Max(FormID) From %1").arg(table));
  if (!query.NextRow()) return std::nullopt;  // an aggregate always gives one row when it runs
  return query.Number(0);
}

// Status rows of a deleted form stay until the sync program has told the devices: a new form
// must not take their identifier either.
std::optional<int64_t> HighestFormIdInUse(const admin::CDatabseConnection& connection) {
  const std::optional<int64_t> forms = HighestStoredFormId(connection, settingsdb::kFormInfo);
  const std::optional<int64_t> statusRows = HighestStoredFormId(connection, settingsdb::kUserFormStatus);
  if (!forms || !statusRows) return std::nullopt;
  return std::max(*forms, *statusRows);
}

}  // namespace

int InitNextFormID() {
  RegistryKeyGuard key;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_WRITE, key.out()) != ERROR_SUCCESS ||
      settingskey::Write(key.get(), settingskey::Dword::NextFormId, 1) != ERROR_SUCCESS)
    return 0;
  RegFlushKey(key.get());
  return 1;
}

int GetNextFormID(int32_t* value) {
  RegistryKeyGuard key;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_READ, key.out()) != ERROR_SUCCESS) return 0;
  RegistryValue stored;
  const LSTATUS status = RegQueryValueEx(key.get(), registrynames::kNextFormId, &stored);
  if (status == ERROR_FILE_NOT_FOUND) {
    *value = 1;
    return InitNextFormID();
  }
  DWORD number = 0;
  if (status != ERROR_SUCCESS || !stored.ToDword(&number)) return 0;
  *value = static_cast<int32_t>(number);
  return 1;
}

int SetNextFormID(int32_t value) {
  RegistryKeyGuard key;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_WRITE, key.out()) != ERROR_SUCCESS) return 0;
  const LSTATUS stored = settingskey::Write(key.get(), settingskey::Dword::NextFormId, static_cast<DWORD>(value));
  return stored == ERROR_SUCCESS ? 1 : 0;
}

int TakeNextFormID(const admin::CDatabseConnection& connection, int32_t* formId) {
  const std::optional<int64_t> highest = HighestFormIdInUse(connection);
  if (!highest) return 0;
  RegistryKeyGuard key;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_ALL_ACCESS, key.out()) != ERROR_SUCCESS)
    return 0;
  std::optional<int64_t> taken;
  // Read and advanced under one lock, so two callers never take the same identifier.
  const LSTATUS status = RegUpdateValue(key.get(), registrynames::kNextFormId, [&](RegistryValue* value, bool exists) {
    DWORD counter = 1;
    if (exists && !value->ToDword(&counter)) return false;
    const int64_t id = std::max({static_cast<int64_t>(counter), *highest + 1, int64_t{1}});
    if (id >= std::numeric_limits<int32_t>::max()) return false;
    *value = RegistryValue::FromDword(static_cast<DWORD>(id + 1));
    taken = id;
    return true;
  });
  if (status != ERROR_SUCCESS || !taken) return 0;
  RegFlushKey(key.get());
  *formId = static_cast<int32_t>(*taken);
  return 1;
}
