#include "shared/contract/SyncServiceStatus.h"

#include "shared/contract/SettingsKey.h"

int GetSyncServiceStatus(int* status) {
  platform::DWORD stored = 0;
  if (!settingskey::Read(settingskey::Dword::SyncServiceStatus, &stored)) return 0;
  *status = static_cast<int>(stored);
  return 1;
}
