#include "admin/foundation/DatabaseHandler.h"

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/Failure.h"
#include "admin/foundation/FailureSink.h"
#include "admin/foundation/FieldFormat.h"
#include "admin/foundation/SqlTypes.h"
#include "platform/odbc/OdbcText.h"
#include "shared/odbc/QueryResult.h"

#include <sqlext.h>

#include <vector>

CDatabaseHandler::~CDatabaseHandler() { CloseStatement(); }

int CDatabaseHandler::GetRowValues(int32_t, QByteArray*) { return 0; }

bool CDatabaseHandler::MoveToRow(int32_t row) {
  if (!m_statement) return false;
  return SQL_SUCCEEDED(Track(SQLFetchScroll(Statement(), SQL_FETCH_ABSOLUTE, static_cast<SQLLEN>(row) + 1)));
}

bool CDatabaseHandler::FetchNext(int32_t row) {
  if (!m_statement) return false;
  if (row == 0) return SQL_SUCCEEDED(Track(SQLFetchScroll(Statement(), SQL_FETCH_FIRST, 0)));
  if (row == m_nRememberedRow) {
    return SQL_SUCCEEDED(Track(SQLFetchScroll(Statement(), SQL_FETCH_ABSOLUTE, static_cast<SQLLEN>(row) + 1)));
  }
  return SQL_SUCCEEDED(Track(SQLFetchScroll(Statement(), SQL_FETCH_NEXT, 0)));
}

int CDatabaseHandler::ExecuteQuery(const CDatabseConnection& connection, const QString& sql) {
  const SQLHDBC handle = connection.GetConnectionHandle();
  if (!OpenStatement(handle)) return 0;
  if (!SQL_SUCCEEDED(Track(SQLPrepareW(Statement(), platform::SqlText(sql), SQL_NTS)))) {
    FailStatement();
    admin::RaiseFailure({0, 88, GetOdbcErrorText(), admin::FailureLook::Plain, CurrentDiagnostic()});
    return 0;
  }
  if (!SQL_SUCCEEDED(Track(SQLExecute(Statement()))) && !ExecuteReadOnly(handle, sql)) {
    FailStatement();
    return 0;
  }
  m_bOpen = true;
  if (!DescribeColumns()) return 1;
  if (!GetRecordCount(handle, sql)) WalkRows();
  return 1;
}

// A driver that keeps lockable rows by a hidden row column (PostgreSQL's ctid) cannot lock the
// rows of a view; the rows are only read here, so a read-only cursor does.
bool CDatabaseHandler::ExecuteReadOnly(SQLHDBC connection, const QString& sql) {
  if (!OpenStatement(connection, false)) return false;
  return SQL_SUCCEEDED(Track(SQLExecDirectW(Statement(), platform::SqlText(sql), SQL_NTS)));
}

bool CDatabaseHandler::GetRecordCount(SQLHDBC connection, const QString& sql) {
  const std::optional<int32_t> count = CountQueryRows(connection, sql, &m_nLastReturnCode);
  if (count) m_nRowCount = *count;
  return count.has_value();
}

void CDatabaseHandler::WalkRows() { m_nRowCount = CountRowsByFetching(Statement(), &m_nLastReturnCode); }

QString CDatabaseHandler::GetFieldValue(int32_t, int16_t column) { return ReadField(column, m_bWholeText); }

QString CDatabaseHandler::GetFormattedFieldValue(int16_t column) {
  if (!m_statement || !HasColumn(column)) return {};
  if (m_columnTypes[static_cast<size_t>(column)] == ColumnKind::Unsupported) return ReadHexText(column);
  return ReadField(column, false);
}

QString CDatabaseHandler::ReadField(int16_t column, bool wholeTextAllowed) {
  if (!m_statement || !HasColumn(column)) return {};
  const int16_t kind = m_columnTypes[static_cast<size_t>(column)];
  if (kind == ColumnKind::Unsupported) return {};
  if (kind == ColumnKind::Text && wholeTextAllowed) return ReadWholeText(column);
  return ReadIntoValueBuffer(column, CTypeOfKind(kind), kind);
}

QString CDatabaseHandler::ReadIntoValueBuffer(int16_t column, SQLSMALLINT cType, int16_t kind) {
  SQLLEN indicator = SQL_NULL_DATA;
  const SQLRETURN result = Track(SQLGetData(Statement(), static_cast<SQLUSMALLINT>(column + 1), cType,
                                            m_valueBuffer.data(), kValueBufferBytes, &indicator));
  if (!SQL_SUCCEEDED(result)) return {};
  const bool text = cType == SQL_C_WCHAR;
  const SQLLEN length = text ? WrittenLength(indicator, kValueBufferBytes, 2) : indicator;
  return FormatFieldValue(m_valueBuffer.data(), kValueBufferBytes, length, kind);
}

QString CDatabaseHandler::ReadWholeText(int16_t column) {
  constexpr qsizetype kChunkBytes = 8192;
  std::vector<char> chunk(static_cast<size_t>(kChunkBytes));
  QString text;
  for (;;) {
    SQLLEN indicator = SQL_NULL_DATA;
    const SQLRETURN result = Track(SQLGetData(Statement(), static_cast<SQLUSMALLINT>(column + 1), SQL_C_WCHAR,
                                              chunk.data(), kChunkBytes, &indicator));
    if (!SQL_SUCCEEDED(result) || indicator == SQL_NULL_DATA) break;
    text += FormatFieldValue(chunk.data(), kChunkBytes, WrittenLength(indicator, kChunkBytes, 2), ColumnKind::Text);
    if (result == SQL_SUCCESS) break;
  }
  return text;
}

QString CDatabaseHandler::ReadHexText(int16_t column) {
  SQLLEN indicator = SQL_NULL_DATA;
  const SQLRETURN result = Track(SQLGetData(Statement(), static_cast<SQLUSMALLINT>(column + 1), SQL_C_CHAR,
                                            m_valueBuffer.data(), kValueBufferBytes, &indicator));
  if (!SQL_SUCCEEDED(result)) return {};
  const SQLLEN length = WrittenLength(indicator, kValueBufferBytes, 1);
  if (length < 1) return {};
  return DecodeHexText(QByteArray(m_valueBuffer.data(), static_cast<qsizetype>(length)), length);
}
