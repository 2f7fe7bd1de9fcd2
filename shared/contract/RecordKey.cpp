#include "shared/contract/RecordKey.h"

#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "shared/crypto/Sealing.h"

using namespace platform;

namespace recordkey {
namespace {

LSTATUS WriteSealed(HKEY key, const QString& name, const QByteArray& plain) {
  return RegSetValueEx(key, name, RegistryValue::FromBinary(EncryptSetting(plain)));
}

}  // namespace

int ReadDeskInfo(DeskInfo* record) {
  return ReadSealedRecord(registrynames::RecordKeyName(), registrynames::kDeskInfo, record);
}

int ReadSyncInfo(SyncInfo* record) {
  return ReadSealedRecord(registrynames::RecordKeyName(), registrynames::kSyncInfo, record);
}

LSTATUS WriteDeskInfo(HKEY key, const DeskInfo& record) {
  return WriteSealed(key, registrynames::kDeskInfo, record.ToBytes());
}

LSTATUS WriteSyncInfo(HKEY key, const SyncInfo& record) {
  return WriteSealed(key, registrynames::kSyncInfo, record.ToBytes());
}

LSTATUS WriteAdminPassword(HKEY key, const QByteArray& password) {
  return WriteSealed(key, registrynames::kAdminPassword, password);
}

LSTATUS WriteAppWPk(HKEY key, DWORD value) {
  return RegSetValueEx(key, registrynames::kAppWPk, RegistryValue::FromDword(value));
}

}  // namespace recordkey
