#include "setup/common/SettingsRemoval.h"

#include "platform/registry/Registry.h"
#include "shared/contract/RegistryNames.h"

using namespace platform;

namespace {

struct ValueDeletion {
  const QString& name;
  const char16_t* checkpoint;
};

const ValueDeletion kRecordValues[] = {{registrynames::kAdminPassword, u"2"},
                                       {registrynames::kDeskInfo, u"3"},
                                       {registrynames::kSyncInfo, u"4"},
                                       {registrynames::kAppWPk, u"4.1"}};

bool Deleted(LSTATUS code, const QString& checkpoint, const SetupLogSink& log) {
  if (code == ERROR_SUCCESS) return true;
  log(QStringLiteral("Problem in deleting settings<%1>: %2").arg(checkpoint).arg(code));
  return false;
}

// The values go through one opened key; a key that cannot be opened fails every value with the
// open's code, so each is still logged.
// True when the key was opened.
bool DeleteRecordValues(const SetupLogSink& log) {
  RegistryKeyGuard key;
  const LSTATUS opened = RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::RecordKeyName(), KEY_ALL_ACCESS, key.out());
  Deleted(opened, QStringLiteral("1"), log);
  for (const ValueDeletion& value : kRecordValues) {
    const LSTATUS code = opened == ERROR_SUCCESS ? RegDeleteValue(key.get(), value.name) : opened;
    Deleted(code, QString::fromUtf16(value.checkpoint), log);
  }
  return opened == ERROR_SUCCESS;
}

}  // namespace

int DeleteInstallationSettings(const QString& indexKeyCheckpoint, const SetupLogSink& log) {
  const bool opened = DeleteRecordValues(log);
  Deleted(RegDeleteKey(HKEY_LOCAL_MACHINE, registrynames::kRecordIndexKey), indexKeyCheckpoint, log);
  Deleted(RegDeleteKey(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey), QStringLiteral("5"), log);
  return opened ? 0 : -1;
}

void DeleteAddRemoveEntry(const SetupLogSink& log) {
  Deleted(RegDeleteKey(HKEY_LOCAL_MACHINE, kAddRemoveKey), QStringLiteral("Add Remove"), log);
}
