#include "sync/data/OdbcRecordSource.h"

#include "shared/odbc/OdbcDiagnostics.h"
#include "sync/data/FieldValue.h"
#include "sync/data/SyncLog.h"

#include <sqlext.h>

namespace syncservice {

bool OdbcRecordSource::OpenAndExecute(SQLHDBC connection, const QString& sql) {
  return data::OdbcCursor::OpenAndExecute(connection, sql, !m_bForwardOnly, !m_bForwardOnly);
}

data::OdbcCursor::ColumnRules OdbcRecordSource::Rules(bool procedureResult, bool autoNumberScan) {
  ColumnRules rules;
  rules.kindOf = [procedureResult](SQLSMALLINT sqlType) { return MapSqlType(sqlType, procedureResult); };
  rules.countWithWarning = false;
  if (autoNumberScan) rules.isAutoNumber = [this](int16_t column, const QString& name) { return ScanAutoNumber(column, name); };
  return rules;
}

bool OdbcRecordSource::ScanAutoNumber(int16_t column, const QString& name) {
  SQLLEN autoUnique = 0;
  const SQLUSMALLINT number = static_cast<SQLUSMALLINT>(column + 1);
  if (!SQL_SUCCEEDED(Track(SQLColAttributeW(Statement(), number, SQL_DESC_AUTO_UNIQUE_VALUE, nullptr, 0, nullptr,
                                            &autoUnique)))) {
    WriteSyncServiceLog(-1, FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_STMT, Statement()),
                                                  OdbcTextForm::Diagnostic));
    return false;
  }
  if (autoUnique != SQL_TRUE) return false;
  WriteLog(-1, QStringLiteral("Column Name \"%1\" (Column No %2) is AutoNumber.").arg(name).arg(number));
  return true;
}

void OdbcRecordSource::WriteLog(int code, const QString& text) const {
  if (m_nLogTarget == 1) {
    WriteBackSyncLog(code, text);
  } else {
    WriteSyncServiceLog(code, text);
  }
}

}  // namespace syncservice
