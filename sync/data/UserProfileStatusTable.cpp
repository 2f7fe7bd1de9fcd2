#include "sync/data/UserProfileStatusTable.h"

CUserProfileStatusTable::CUserProfileStatusTable()
    : StatusSettingsTable(
          QStringLiteral("UserProfileStatus"),
          QStringLiteral("Update UserProfileStatus Set StatusFlag = '%1' Where ProfileID = %2 and StatusFlag = '%3'"),
          QStringLiteral("Delete From UserProfileStatus Where ProfileID = %1 and StatusFlag = '%2'")) {}

UserProfileStatusRow CUserProfileStatusTable::ReadRecord(int32_t row) {
  UserProfileStatusRow record;
  if (!IsConnected()) return record;
  MoveToRecord(row);
  record.UserID = Text(0);
  record.ProfileID = Number(1);
  record.StatusFlag = Text(2);
  return record;
}
