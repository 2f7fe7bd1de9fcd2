#include "sync/data/FormInfoDB.h"

#include "shared/contract/SettingsTables.h"

CFormInfoDB::CFormInfoDB()
    : HandlerSettingsTable(settingsdb::kFormInfo, QStringLiteral("FormInfo"), ConnectReport::ErrorText) {}

FormInfoRow CFormInfoDB::ReadRecord(int32_t row) {
  FormInfoRow record;
  if (!IsConnected()) return record;
  MoveToRecord(row);
  record.FormID = Number(0);
  record.ProfileID = Number(1);
  record.FormTitle = Text(2);
  record.FormInfo = Text(3);
  return record;
}
