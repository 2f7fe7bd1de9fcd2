#include "sync/engine/ProfileSource.h"

#include "sync/data/ProfileDataReader.h"
#include "sync/data/ProfileInfoDB.h"
#include "sync/data/SyncLog.h"
#include "sync/engine/ExcelProfileConnection.h"

std::optional<ProfileRecord> ReadProfileRecord(int32_t profileId, int connectCode, int selectCode) {
  CProfileInfoDB table;
  if (!table.IsConnected()) WriteSyncServiceLog(connectCode, table.GetErrorText());
  QString error;
  if (table.InitializeTable(QStringLiteral("Where ProfileID = %1").arg(profileId), &error) != 1)
    WriteSyncServiceLog(selectCode, error);
  if (table.GetRecordCount() < 1) return std::nullopt;
  table.MoveToRecord(0);
  return table.ReadRecord(0);
}

bool OpenProfileForSending(const ProfileRecord& record, syncservice::ProfileDataReader* reader, int openCode, int queryCode) {
  if (record.Path != record.tempPath && ConnectExcelProfile(record.Path + record.DB_DSN, record.DB_DSN) == 0)
    return false;
  reader->Profile() = record;
  QString error;
  if (reader->OpenProfileSource(&error) != 1) {
    WriteSyncServiceLog(openCode, error);
    return false;
  }
  if (reader->ExecuteProfileQuery(&error) != 1) {
    WriteSyncServiceLog(queryCode, error);
    return false;
  }
  return true;
}
