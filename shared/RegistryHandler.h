#pragma once

#include "shared/RegistryRecords.h"

#include <QByteArray>
#include <QString>

// Process-wide accessor of the sealed records: the administrator password `APas`, `DeskInfo`
// and `SyncInfo` under the record key, and `ConnSettings` under the settings key. The sync
// program only reads them.
class CRegistryHandler {
 public:
  virtual ~CRegistryHandler() = default;

  int WriteAdminPassword(const QByteArray& password);  // 0 stored, -1 key, -2 value
  int ReadAdminPassword(QString* password);            // 1 read, 0 not (password then empty)
  int ReadDeskInfo(DeskInfo* record);                  // 0 read, -1 missing or damaged
  int ReadSyncInfo(SyncInfo* record);                  // 0 read, -1 missing or damaged
  int WriteConnSettings(const ConnSettings& record);   // 0 stored, -2 key, -3 value
  int ReadConnSettings(ConnSettings* record);          // 0 read, -1 missing or damaged

  enum class PasswordState { Read, Absent, Unreadable };
  // The stored password and whether it was there: only an absent value means "no password".
  PasswordState ReadAdminPasswordState(QString* password);
};

// The one accessor of the process, made at first use.
CRegistryHandler* GetRegistryHandler();
// Deletes the accessor at the end of the program; a later use makes a new one.
void DeleteRegistryHandler();
