#include "outside/SyncProgram.h"

#include "platform/registry/Registry.h"
#include "shared/contract/RegistryNames.h"
#include "shared/contract/SettingsKey.h"

#include <QCoreApplication>

QString SyncProgramPath() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/TarnwickPlusSyncServiceLite");
}

bool WriteSyncServiceStatus(int status) {
  using namespace platform;
  RegistryKeyGuard key;
  return RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_ALL_ACCESS, key.out()) == ERROR_SUCCESS &&
         settingskey::Write(key.get(), settingskey::Dword::SyncServiceStatus, static_cast<DWORD>(status)) ==
             ERROR_SUCCESS;
}
