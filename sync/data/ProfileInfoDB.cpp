#include "sync/data/ProfileInfoDB.h"

CProfileInfoDB::CProfileInfoDB()
    : HandlerSettingsTable(QStringLiteral("ProfileInfo"), QStringLiteral("ProfileInfo"), ConnectReport::ErrorText) {}

ProfileRecord CProfileInfoDB::ReadRecord(int32_t row) {
  ProfileRecord record;
  if (!IsConnected()) return record;
  MoveToRecord(row);
  record.ProfileID = Number(row, 0);
  record.DBInfo = Text(row, 1);
  record.DBType = Text(row, 2);
  record.DB_DSN = Text(row, 3);
  record.UserName = Text(row, 4);
  record.Password = Text(row, 5);
  record.Query = Text(row, 6);
  record.Path = Text(row, 7);
  record.UserList = Text(row, 8);
  record.PrimaryKeyField = Text(row, 9);
  record.SyncDestination = Text(row, 10);
  record.tempPath = Text(row, 11);
  record.ProfileType = Number(row, 12);
  record.IsPrimaryKeySelected = Number(row, 13);
  record.SortColumnsInfo = Text(row, 14);
  return record;
}
