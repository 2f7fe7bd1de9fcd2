#include "sync/data/UserProfileStatusTable.h"

#include "shared/contract/SettingsTables.h"

CUserProfileStatusTable::CUserProfileStatusTable()
    : StatusSettingsTable(QStringLiteral("UserProfileStatus"),
                          QStringLiteral("Update %1 Set StatusFlag = '%2' Where ProfileID = %3 and StatusFlag = '%4'")
                              .arg(settingsdb::kUserProfileStatus),
                          QStringLiteral("Delete From %1 Where ProfileID = %2 and StatusFlag = '%3'")
                              .arg(settingsdb::kUserProfileStatus)) {}

UserProfileStatusRow CUserProfileStatusTable::ReadRecord(int32_t row) {
  UserProfileStatusRow record;
  if (!IsConnected()) return record;
  MoveToRecord(row);
  record.UserID = Text(0);
  record.ProfileID = Number(1);
  record.StatusFlag = Text(2);
  return record;
}
