#include "sync/data/UserFormStatusTable.h"

CUserFormStatusTable::CUserFormStatusTable()
    : StatusSettingsTable(
          QStringLiteral("UserFormStatus"),
          QStringLiteral("Update UserFormStatus Set StatusFlag = '%1' Where FormID = %2 and StatusFlag = '%3'"),
          QStringLiteral("Delete From UserFormStatus Where FormID = %1 and StatusFlag = '%2'")) {}

UserFormStatusRow CUserFormStatusTable::ReadRecord(int32_t row) {
  UserFormStatusRow record;
  if (!IsConnected()) return record;
  MoveToRecord(row);
  record.FormID = Number(0);
  record.UserID = Text(1);
  record.StatusFlag = Text(2);
  return record;
}
