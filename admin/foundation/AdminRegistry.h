#pragma once

#include <QString>

// The registry values the administration program reads and writes beside the sealed records
// (shared/RegistryHandler.h): the settings key's values, the next record index of each profile
// and the administrator password. The int results are 1 done, 0 not.

int SetWebServiceURL(const QString& url);
int SetNextProfileID(int id);
int GetNextProfileID(int* id);
int SetStartSyncStatus(int status);
int GetStartSyncStatus(int* status);
int SetSyncServiceStatus(int status);
bool InitNextRecIndex(int profileId);
bool DeleteNextRecIndex(int profileId);
bool CheckAdminPassword(const QString& password);
// OSVersionMessageFlag: 2 means the Windows Vista/7 notice is not shown again. Get answers 0
// when the key cannot be opened (value untouched), else 1 with 0 for a missing value; Set stores
// 2 and flushes.
int GetOSVersionMessageFlag(int* value);
int SetOSVersionMessageFlag();
int SetAdminPassword(const QString& password);

namespace admin {

// The address of SyncInfo, read on every call; 0 (and `url` empty) when SyncInfo cannot be read.
// The sync program's twin answers from what it loaded at start.
int GetWebServiceUrl(QString* url);

}  // namespace admin
