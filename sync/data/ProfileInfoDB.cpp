#include "sync/data/ProfileInfoDB.h"

#include "shared/contract/SettingsTables.h"

CProfileInfoDB::CProfileInfoDB()
    : HandlerSettingsTable(settingsdb::kProfileInfo, QStringLiteral("ProfileInfo"), ConnectReport::ErrorText) {}

ProfileRecord CProfileInfoDB::ReadRecord(int32_t row) {
  ProfileRecord record;
  if (!IsConnected()) return record;
  MoveToRecord(row);
  record.ProfileID = Number(0);
  record.DBInfo = Text(1);
  record.DBType = Text(2);
  record.DB_DSN = Text(3);
  record.UserName = Text(4);
  record.Password = Text(5);
  record.Query = Text(6);
  record.Path = Text(7);
  record.UserList = Text(8);
  record.PrimaryKeyField = Text(9);
  record.SyncDestination = Text(10);
  record.tempPath = Text(11);
  record.ProfileType = Number(12);
  record.IsPrimaryKeySelected = Number(13);
  record.SortColumnsInfo = Text(14);
  return record;
}
