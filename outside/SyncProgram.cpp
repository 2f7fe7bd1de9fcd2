#include "outside/SyncProgram.h"

#include "platform/Registry.h"
#include "shared/RegistryRecords.h"

#include <QCoreApplication>

QString SyncProgramPath() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/TarnwickPlusSyncServiceLite");
}

bool WriteSyncServiceStatus(int status) {
  using namespace platform;
  RegistryKeyGuard key;
  return RegCreateKeyEx(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS, key.out()) == ERROR_SUCCESS &&
         RegSetValueEx(key.get(), QStringLiteral("SyncServiceStatus"), RegistryValue::FromDword(static_cast<DWORD>(status))) ==
             ERROR_SUCCESS;
}
