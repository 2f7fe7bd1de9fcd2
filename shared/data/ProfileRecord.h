#pragma once

#include <QString>

#include <cstdint>

// One profile of the settings database (a ProfileInfo row); each field is the column of the same
// name. The sync program reads neither FiltersInfo nor the administration program's
// PrimaryKeyField.
struct ProfileRecord {
  int32_t ProfileID = 0;
  QString DBInfo;  // the profile name
  QString DBType;  // the source kind as decimal text
  QString DB_DSN;  // data source name, or the file name inside Path
  QString UserName;
  QString Password;
  QString Query;  // the SELECT, the procedure call, or a workbook's sheet name
  QString Path;
  QString tempPath;  // differs from Path for a workbook read through its text export
  QString UserList;
  QString SyncDestination;
  QString PrimaryKeyField;
  int32_t ProfileType = 0;
  int32_t IsPrimaryKeySelected = 0;
  QString SortColumnsInfo;
  QString FiltersInfo;
};
