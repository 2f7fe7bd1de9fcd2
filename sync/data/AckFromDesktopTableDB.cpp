#include "sync/data/AckFromDesktopTableDB.h"

#include "shared/contract/SettingsTables.h"
#include "shared/odbc/SqlQuotes.h"

CAckFromDesktopTableDB::CAckFromDesktopTableDB()
    : HandlerSettingsTable(QStringLiteral("AckFromDesktopTable"), QStringLiteral("AckFromDesktopTable"),
                           ConnectReport::ErrorText) {}

int CAckFromDesktopTableDB::InitializeTable(const QString& clause, QString* errorOut) {
  if (!IsConnected()) {
    *errorOut = QStringLiteral("Failed to initialize AckFromDesktopTable, Database not Connected.");
    return 0;
  }
  return HandlerSettingsTable::InitializeTable(clause, errorOut);
}

const AckRecord& CAckFromDesktopTableDB::ReadRecord(int32_t row) {
  if (!IsConnected()) return m_record;
  MoveToRecord(row);
  m_record.ProfileID = Number(0);
  m_record.RecordSource = Number(1);
  m_record.RecordIndex = Number(2);
  m_record.DeviceID = Text(3);
  m_record.ResultCode = Number(4);
  m_record.ResultText = Text(5);
  m_record.AckID = Number(6);
  return m_record;
}

int CAckFromDesktopTableDB::AddAckRecord(const AckRecord& record, QString* errorOut) {
  // The text grows with the values: a result text of any length is stored whole.
  const QString sql = QStringLiteral(
                          "Insert into %1 (ProfileID, RecordSource, RecordIndex, DeviceID, ResultCode, "
                          "ResultText) values(%2, %3, %4, '%5', %6, '%7')")
                          .arg(settingsdb::kAckFromDesktopTable)
                          .arg(QString::number(record.ProfileID), QString::number(record.RecordSource),
                               QString::number(record.RecordIndex), SqlTextValue(record.DeviceID),
                               QString::number(record.ResultCode), SqlTextValue(record.ResultText));
  return Run(sql, errorOut);
}

int CAckFromDesktopTableDB::DeleteAckRecord(const AckRecord& record, QString* errorOut) {
  if (!IsConnected()) return 0;
  return Run(QStringLiteral("Delete From %1 Where AckID = %2").arg(settingsdb::kAckFromDesktopTable).arg(record.AckID),
             errorOut);
}

int CAckFromDesktopTableDB::Run(const QString& sql, QString* errorOut) {
  const SQLRETURN result = Connection().ExecuteStatement(sql);
  if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO) return 1;
  // The statement's own diagnostic: the connection handle carries none for a failed statement.
  *errorOut = Connection().GetLastError();
  return 0;
}
