#include "admin/foundation/DatabaseHandler.h"

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/Failure.h"
#include "admin/foundation/FailureSink.h"
#include "admin/foundation/FieldFormat.h"
#include "admin/foundation/SqlTypes.h"
#include "shared/odbc/QueryResult.h"

#include <sqlext.h>

#include <array>
#include <vector>

namespace admin {

bool CDatabaseHandler::MoveToRow(int32_t row) {
  if (Statement() == SQL_NULL_HSTMT) return false;
  return FetchAbsolute(row);
}

bool CDatabaseHandler::FetchNext(int32_t row) {
  if (Statement() == SQL_NULL_HSTMT) return false;
  if (row == 0) return Fetch(SQL_FETCH_FIRST);
  if (row == m_nRememberedRow) return FetchAbsolute(row);
  return Fetch(SQL_FETCH_NEXT);
}

int CDatabaseHandler::ExecuteQuery(const CDatabseConnection& connection, const QString& sql) {
  const SQLHDBC handle = connection.GetConnectionHandle();
  if (!OpenStatement(handle)) return 0;
  if (!Prepare(sql)) {
    FailStatement();
    admin::RaiseFailure({0, 88, GetOdbcErrorText(), admin::FailureLook::Plain, CurrentDiagnostic()});
    return 0;
  }
  if (!Execute() && !ExecuteReadOnly(handle, sql)) {
    FailStatement();
    return 0;
  }
  if (!OpenResult(Rules())) return 1;
  if (!CountRowsByQuery(handle, sql)) CountRowsByFetching();
  return 1;
}

// A driver that keeps lockable rows by a hidden row column (PostgreSQL's ctid) cannot lock the
// rows of a view; the rows are only read here, so a read-only cursor does.
bool CDatabaseHandler::ExecuteReadOnly(SQLHDBC connection, const QString& sql) {
  return OpenStatement(connection, false) && ExecuteDirect(sql);
}

QString CDatabaseHandler::GetFieldValue(int32_t, int16_t column) { return ReadField(column, m_bWholeText); }

QString CDatabaseHandler::GetFormattedFieldValue(int16_t column) {
  if (Statement() == SQL_NULL_HSTMT || !HasColumn(column)) return {};
  if (ColumnType(column) == ColumnKind::Unsupported) return ReadHexText(column);
  return ReadField(column, false);
}

QString CDatabaseHandler::ReadField(int16_t column, bool wholeTextAllowed) {
  if (Statement() == SQL_NULL_HSTMT || !HasColumn(column)) return {};
  const int16_t kind = ColumnType(column);
  if (kind == ColumnKind::Unsupported) return {};
  if (kind == ColumnKind::Text && wholeTextAllowed) return ReadWholeText(column);
  return ReadFieldText(column, kValueBufferBytes);
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
  std::array<char, kValueBufferBytes> buffer{};
  SQLLEN indicator = SQL_NULL_DATA;
  const SQLRETURN result = Track(SQLGetData(Statement(), static_cast<SQLUSMALLINT>(column + 1), SQL_C_CHAR,
                                            buffer.data(), kValueBufferBytes, &indicator));
  if (!SQL_SUCCEEDED(result)) return {};
  const SQLLEN length = WrittenLength(indicator, kValueBufferBytes, 1);
  if (length < 1) return {};
  return DecodeHexText(QByteArray(buffer.data(), static_cast<qsizetype>(length)), length);
}

}  // namespace admin
