#include "sync/data/FormInfoDB.h"

CFormInfoDB::CFormInfoDB()
    : HandlerSettingsTable(QStringLiteral("FormInfo"), QStringLiteral("FormInfo"), ConnectReport::ErrorText) {}

FormInfoRow CFormInfoDB::ReadRecord(int32_t row) {
  FormInfoRow record;
  if (!IsConnected()) return record;
  MoveToRecord(row);
  record.FormID = Number(row, 0);
  record.ProfileID = Number(row, 1);
  record.FormTitle = Text(row, 2);
  record.FormInfo = Text(row, 3);
  return record;
}
