#include "sync/data/RegistryHandler.h"

#include "shared/RegistrySettings.h"

int CRegistryHandler::ReadDeskInfo(DeskInfo* record) {
  return ReadSealedRecord(RecordKeyName(), QStringLiteral("DeskInfo"), record);
}

int CRegistryHandler::ReadSyncInfo(SyncInfo* record) {
  return ReadSealedRecord(RecordKeyName(), QStringLiteral("SyncInfo"), record);
}

int CRegistryHandler::ReadConnSettings(ConnSettings* record) {
  return ReadSealedRecord(kSettingsKey, QStringLiteral("ConnSettings"), record);
}

CRegistryHandler* GetRegistryHandler() {
  static CRegistryHandler handler;
  return &handler;
}
