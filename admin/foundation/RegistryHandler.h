#pragma once

#include "shared/RegistryRecords.h"

#include <QString>

// Process-wide accessor of the sealed records.
class CRegistryHandler {
 public:
  virtual ~CRegistryHandler() = default;

  int WriteAdminPassword(const QByteArray& password);   // 0 stored, -1 key, -2 value
  int ReadAdminPassword(QString* password);             // 1 read, 0 not (password empty)
  int ReadDeskInfo(DeskInfo* record);                   // 0 read, -1 missing
  int ReadSyncInfo(SyncInfo* record);                   // 0 read, -1 missing
  int WriteDeskInfo(const DeskInfo& record);            // 0 stored, -1 key, -2 value
  int WriteSyncInfo(const SyncInfo& record);            // 0 stored, -1 key, -2 value
  int WriteConnSettings(const ConnSettings& record);    // 0 stored, -2 key, -3 value
  int ReadConnSettings(ConnSettings* record);           // 0 read, -1 missing
};

CRegistryHandler* GetRegistryHandler();

QString GetInstallationPath();  // ends in "/", empty when missing
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
