#pragma once

#include "shared/RegistryRecords.h"
#include "shared/RegistrySettings.h"

#include <QByteArray>
#include <QString>

// Process-wide accessor of the sealed records: the administrator password `APas`, `DeskInfo`
// and `SyncInfo` under the record key, and `ConnSettings` under the settings key.
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

CRegistryHandler* GetRegistryHandler();

int SetWebServiceURL(const QString& url);
int SetNextProfileID(int id);
int GetNextProfileID(int* id);
int SetStartSyncStatus(int status);
int GetStartSyncStatus(int* status);
int SetSyncServiceStatus(int status);
bool InitNextRecIndex(int profileId);
bool DeleteNextRecIndex(int profileId);
bool CheckAdminPassword(const QString& password);
int SetAdminPassword(const QString& password);
int GetWebServiceUrl(QString* url);
