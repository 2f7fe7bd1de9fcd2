#include "sync/data/SyncRegistry.h"

#include "platform/registry/Registry.h"
#include "shared/contract/RegistryNames.h"

using namespace platform;

namespace {

constexpr REGSAM kRecordIndexAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

QString IndexName(int32_t profileId) { return QString::number(profileId); }

}  // namespace

int32_t AllocateNextRecIndex(int32_t profileId, int32_t count) {
  RegistryKeyGuard key;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kRecordIndexKey, kRecordIndexAccess, key.out()) != ERROR_SUCCESS)
    return -1;
  bool found = false;
  DWORD index = 0;
  const LSTATUS status = RegUpdateValue(key.get(), IndexName(profileId), [&](RegistryValue* value, bool exists) {
    found = exists && value->ToDword(&index);
    if (found) *value = RegistryValue::FromDword(index + static_cast<DWORD>(count));
    return found;
  });
  if (status != ERROR_SUCCESS) return -3;
  if (!found) return -2;
  RegFlushKey(key.get());
  return static_cast<int32_t>(index);
}

bool SetNextRecIndex(int32_t profileId, int32_t value) {
  RegistryKeyGuard key;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kRecordIndexKey, kRecordIndexAccess, key.out()) !=
          ERROR_SUCCESS ||
      RegSetValueEx(key.get(), IndexName(profileId), RegistryValue::FromDword(static_cast<DWORD>(value))) !=
          ERROR_SUCCESS) {
    return false;
  }
  RegFlushKey(key.get());
  return true;
}

QString NewRecordKey(int32_t profileId, int32_t recordSource, int32_t* recordIndex) {
  *recordIndex = AllocateNextRecIndex(profileId);
  if (*recordIndex == 0) return {};
  return QStringLiteral("%1#%2").arg(recordSource).arg(*recordIndex);
}
