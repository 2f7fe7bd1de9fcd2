#include "sync/data/OdbcRecordSource.h"

#include "platform/odbc/OdbcText.h"
#include "shared/odbc/ColumnKind.h"
#include "shared/odbc/OdbcStatement.h"
#include "shared/odbc/QueryResult.h"
#include "sync/data/FieldValue.h"
#include "sync/data/SyncLog.h"

#include <sqlext.h>

#include <algorithm>

namespace syncservice {

int16_t OdbcRecordSource::GetColumnCount() { return m_bOpen ? m_nColumnCount : 0; }

int32_t OdbcRecordSource::GetRowCount() { return m_bOpen ? m_nRowCount : 0; }

QString OdbcRecordSource::GetColumnName(int16_t column) {
  if (!m_bOpen || !HasColumn(column)) return {};
  ResultColumn description;
  return SQL_SUCCEEDED(Track(DescribeResultColumn(Statement(), column, &description))) ? description.name : QString();
}

int16_t OdbcRecordSource::GetColumnType(int16_t column) {
  return m_bOpen && HasColumn(column) ? m_columnTypes[static_cast<size_t>(column)] : 0;
}

int16_t OdbcRecordSource::GetColumnSize(int16_t column) {
  return m_bOpen && HasColumn(column) ? m_columnSizes[static_cast<size_t>(column)] : 0;
}

int16_t OdbcRecordSource::GetColumnDecimalDigits(int16_t column) {
  return m_bOpen && HasColumn(column) ? m_columnDigits[static_cast<size_t>(column)] : 0;
}

int16_t OdbcRecordSource::GetSupportedColumnCount() const {
  return static_cast<int16_t>(
      std::count_if(m_columnTypes.begin(), m_columnTypes.end(), [](int16_t kind) { return kind != 0; }));
}

void OdbcRecordSource::CloseStatement() {
  if (m_statement) SQLCloseCursor(Statement());
  m_statement.reset();
  m_bOpen = false;
  m_nColumnCount = 0;
  m_nRowCount = 0;
  m_columnTypes.clear();
  m_autoNumber.clear();
}

QString OdbcRecordSource::GetOdbcErrorText() const {
  const OdbcDiagRecord record = m_statement ? ReadOdbcDiagRecord(SQL_HANDLE_STMT, Statement()) : m_lastFailure;
  return FormatOdbcDiagnostics(record, OdbcTextForm::SourceReport);
}

bool OdbcRecordSource::OpenAndExecute(SQLHDBC connection, const QString& sql) {
  CloseStatement();
  m_lastFailure = {};
  m_statement = NewCursorStatement(connection, !m_bForwardOnly, !m_bForwardOnly);
  if (!m_statement) {
    Track(SQL_ERROR);
    m_lastFailure = ReadOdbcDiagRecord(SQL_HANDLE_DBC, connection);
    return false;
  }
  if (SQL_SUCCEEDED(Track(SQLPrepareW(Statement(), platform::SqlText(sql), SQL_NTS))) &&
      SQL_SUCCEEDED(Track(SQLExecute(Statement())))) {
    return true;
  }
  m_lastFailure = ReadOdbcDiagRecord(SQL_HANDLE_STMT, Statement());
  CloseStatement();
  return false;
}

bool OdbcRecordSource::DescribeColumns(bool procedureResult, bool autoNumberScan) {
  SQLSMALLINT count = 0;
  if (Track(SQLNumResultCols(Statement(), &count)) != SQL_SUCCESS) return false;
  m_nColumnCount = count;
  const size_t columns = static_cast<size_t>(std::max<SQLSMALLINT>(count, 0));
  m_columnTypes.assign(columns, ColumnKind::Unsupported);
  m_columnSizes.assign(columns, 0);
  m_columnDigits.assign(columns, 0);
  m_autoNumber.assign(columns, false);
  for (size_t i = 0; i < columns; ++i) {
    ResultColumn description;
    const auto column = static_cast<int16_t>(i);
    if (!SQL_SUCCEEDED(Track(DescribeResultColumn(Statement(), column, &description)))) break;
    m_columnTypes[i] = MapSqlType(description.sqlType, procedureResult);
    m_columnSizes[i] = CapColumnSize(description.size);
    m_columnDigits[i] = description.digits;
    if (autoNumberScan) m_autoNumber[i] = IsAutoNumber(column, description.name);
  }
  return true;
}

bool OdbcRecordSource::IsAutoNumber(int16_t column, const QString& name) {
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

bool OdbcRecordSource::HasColumn(int16_t column) const {
  return column >= 0 && column < m_nColumnCount && static_cast<size_t>(column) < m_columnTypes.size();
}

void OdbcRecordSource::WriteLog(int code, const QString& text) const {
  if (m_nLogTarget == 1) {
    WriteBackSyncLog(code, text);
  } else {
    WriteSyncServiceLog(code, text);
  }
}

}  // namespace syncservice
