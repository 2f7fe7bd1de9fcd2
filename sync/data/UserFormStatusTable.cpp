#include "sync/data/UserFormStatusTable.h"

#include "shared/contract/SettingsTables.h"

CUserFormStatusTable::CUserFormStatusTable()
    : StatusSettingsTable(
          QStringLiteral("UserFormStatus"),
          QStringLiteral("Update %1 Set StatusFlag = '%2' Where FormID = %3 and StatusFlag = '%4'")
              .arg(settingsdb::kUserFormStatus),
          QStringLiteral("Delete From %1 Where FormID = %2 and StatusFlag = '%3'").arg(settingsdb::kUserFormStatus)) {}

UserFormStatusRow CUserFormStatusTable::ReadRecord(int32_t row) {
  UserFormStatusRow record;
  if (!IsConnected()) return record;
  MoveToRecord(row);
  record.FormID = Number(0);
  record.UserID = Text(1);
  record.StatusFlag = Text(2);
  return record;
}
