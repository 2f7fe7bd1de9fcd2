#pragma once

#include <QString>

#include <cstdint>

// One profile of the settings database (a ProfileInfo row) as the sync program holds it; each
// field is the column of the same name. FiltersInfo is not read.
struct ProfileRecord {
  int32_t ProfileID = 0;
  QString DBInfo;
  QString DBType;
  QString DB_DSN;
  QString UserName;
  QString Password;
  QString Query;
  QString Path;
  QString tempPath;
  QString UserList;
  QString PrimaryKeyField;
  QString SyncDestination;
  int32_t ProfileType = 0;
  int32_t IsPrimaryKeySelected = 0;
  QString SortColumnsInfo;
};
