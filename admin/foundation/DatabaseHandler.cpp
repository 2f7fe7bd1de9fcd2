#include "admin/foundation/DatabaseHandler.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/FieldFormat.h"
#include "admin/foundation/OdbcStatement.h"
#include "admin/foundation/SqlTypes.h"
#include "platform/OdbcText.h"
#include "platform/widgets/MessageBox.h"

#include <sqlext.h>

#include <vector>

namespace {

// The bytes a fetch left in a buffer of `capacity` bytes: the indicator holds the whole length
// when the value was cut (or SQL_NO_TOTAL when unknown), so never more than the buffer minus the
// terminator of `terminatorBytes` is taken.
SQLLEN WrittenLength(SQLLEN indicator, qsizetype capacity, qsizetype terminatorBytes) {
  if (indicator == SQL_NULL_DATA) return SQL_NULL_DATA;
  const SQLLEN limit = static_cast<SQLLEN>(capacity - terminatorBytes);
  if (indicator == SQL_NO_TOTAL || indicator > limit) return limit;
  return indicator;
}

}  // namespace

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
    const QString report = GetOdbcErrorText();
    FailStatement();
    platform::MessageBox(nullptr, report, ProgramTitle(), platform::MB_OK);
    WriteAppLog(88, report);
    return 0;
  }
  if (!SQL_SUCCEEDED(Track(SQLExecute(Statement())))) {
    FailStatement();
    return 0;
  }
  m_bOpen = true;
  if (!DescribeColumns()) return 1;
  if (!GetRecordCount(handle, sql)) WalkRows();
  return 1;
}

bool CDatabaseHandler::GetRecordCount(SQLHDBC connection, const QString& sql) {
  const QString countSql = QStringLiteral("SELECT COUNT(*) FROM (") + sql + QStringLiteral(") SQLRecordCountTb");
  platform::OdbcHandle statement = NewCursorStatement(connection);
  if (!statement || Track(SQLExecDirectW(statement.get(), platform::SqlText(countSql), SQL_NTS)) != SQL_SUCCESS) {
    statement = NewCursorStatement(connection, false);
    if (!statement || !SQL_SUCCEEDED(Track(SQLExecDirectW(statement.get(), platform::SqlText(countSql), SQL_NTS)))) {
      return false;
    }
  }
  SQLINTEGER count = 0;
  SQLLEN indicator = SQL_NULL_DATA;
  if (!SQL_SUCCEEDED(Track(SQLBindCol(statement.get(), 1, SQL_C_SLONG, &count, sizeof count, &indicator)))) return false;
  const bool fetched = SQL_SUCCEEDED(Track(SQLFetch(statement.get())));
  SQLCloseCursor(statement.get());
  if (!fetched || indicator == SQL_NULL_DATA || count < 0) return false;
  m_nRowCount = count;
  return true;
}

void CDatabaseHandler::WalkRows() {
  m_nRowCount = 0;
  SQLRETURN result = Track(SQLFetchScroll(Statement(), SQL_FETCH_FIRST, 0));
  while (result == SQL_SUCCESS) {
    ++m_nRowCount;
    result = Track(SQLFetchScroll(Statement(), SQL_FETCH_NEXT, 0));
  }
}

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
