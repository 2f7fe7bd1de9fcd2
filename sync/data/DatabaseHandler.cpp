#include "sync/data/DatabaseHandler.h"

#include "platform/odbc/OdbcText.h"
#include "shared/odbc/CatalogQuery.h"
#include "shared/odbc/ColumnKind.h"
#include "shared/odbc/QueryResult.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/FieldValue.h"
#include "sync/data/SyncLog.h"

#include <sqlext.h>

#include <vector>

namespace {

constexpr SQLUSMALLINT kSpecialColumnName = 2;  // COLUMN_NAME of SQLSpecialColumns
constexpr SQLUSMALLINT kPrimaryKeyName = 4;     // COLUMN_NAME of SQLPrimaryKeys
constexpr size_t kNameUnits = 130;              // 260 bytes

// The names of column `column` of every row of a catalog lookup; failures go to the log.
int CollectNames(SQLHDBC connection, SQLUSMALLINT column, const std::function<SQLRETURN(SQLHSTMT)>& call,
                 QStringList* names) {
  SQLRETURN lastReturnCode = SQL_SUCCESS;
  CatalogQuery query(connection, {{column, kNameUnits}}, &lastReturnCode);
  if (!query.Run(call)) {
    WriteSyncServiceLog(-1, FormatOdbcDiagnostics(query.Diagnostic(), OdbcTextForm::Diagnostic));
    return 0;
  }
  int count = 0;
  while (query.Fetch()) {
    names->append(query.Text(column));
    ++count;
  }
  return count;
}

}  // namespace

CDatabaseHandler::~CDatabaseHandler() { CloseStatement(); }

int CDatabaseHandler::GetRowValues(int32_t, QByteArray*) { return 0; }

int CDatabaseHandler::MoveToRow(int32_t row) {
  if (!IsOpen()) return 0;
  return SQL_SUCCEEDED(Track(SQLFetchScroll(Statement(), SQL_FETCH_ABSOLUTE, static_cast<SQLLEN>(row) + 1))) ? 1 : 0;
}

int CDatabaseHandler::FetchNext(int32_t next) {
  if (!IsOpen()) return 0;
  // A forward-only cursor stands before its first row and takes only "next".
  const SQLSMALLINT orientation = next == 0 && !IsForwardOnly() ? SQL_FETCH_FIRST : SQL_FETCH_NEXT;
  return SQL_SUCCEEDED(Track(SQLFetchScroll(Statement(), orientation, 0))) ? 1 : 0;
}

int CDatabaseHandler::ExecuteQuery(const CDatabseConnection& connection, const QString& sql) {
  if (!OpenAndExecute(connection.GetConnectionHandle(), sql)) return 0;
  m_bOpen = true;
  if (!DescribeColumns(false, true)) return 1;
  const std::optional<int32_t> count = CountQueryRows(connection.GetConnectionHandle(), sql, &m_nLastReturnCode);
  if (!count && IsForwardOnly()) {
    // Counted by fetching, the rows must be read again from the first: this result is read
    // through a scrollable cursor.
    SetForwardOnly(false);
    return ExecuteQuery(connection, sql);
  }
  m_nRowCount = count ? *count : CountRowsByFetching(Statement(), &m_nLastReturnCode);
  return 1;
}

QString CDatabaseHandler::GetFieldValue(int32_t, int16_t column) {
  if (!IsOpen() || !HasColumn(column)) return {};
  const int16_t kind = ColumnKinds()[static_cast<size_t>(column)];
  return kind == ColumnKind::Unsupported ? QString() : ReadField(column, kind);
}

QString CDatabaseHandler::ReadField(int16_t column, int16_t kind) {
  std::vector<char> buffer(static_cast<size_t>(kValueBufferBytes), 0);
  SQLLEN indicator = SQL_NULL_DATA;
  const SQLSMALLINT cType = CTypeOfKind(kind);
  if (!SQL_SUCCEEDED(Track(SQLGetData(Statement(), static_cast<SQLUSMALLINT>(column + 1), cType, buffer.data(),
                                      kValueBufferBytes, &indicator)))) {
    return {};
  }
  const SQLLEN length = cType == SQL_C_WCHAR ? WrittenLength(indicator, kValueBufferBytes, 2) : indicator;
  return syncservice::FormatFieldValue(kind, length, buffer.data(), kValueBufferBytes);
}

int CDatabaseHandler::IsAutoNumberColumn(int16_t column) const {
  return column >= 0 && static_cast<size_t>(column) < m_autoNumber.size() && m_autoNumber[static_cast<size_t>(column)]
             ? 1
             : 0;
}

int CDatabaseHandler::GetSpecialColumnList(const CDatabseConnection& connection, const QString& table,
                                           QStringList* names) const {
  return CollectNames(connection.GetConnectionHandle(), kSpecialColumnName,
                      [&table](SQLHSTMT statement) {
                        return SQLSpecialColumnsW(statement, SQL_BEST_ROWID, nullptr, 0, nullptr, 0,
                                                  platform::SqlText(table), SQL_NTS, SQL_SCOPE_CURROW, SQL_NO_NULLS);
                      },
                      names);
}

int CDatabaseHandler::GetPrimaryKeyList(const CDatabseConnection& connection, const QString& table,
                                        QStringList* names) const {
  return CollectNames(connection.GetConnectionHandle(), kPrimaryKeyName,
                      [&table](SQLHSTMT statement) {
                        return SQLPrimaryKeysW(statement, nullptr, 0, nullptr, 0, platform::SqlText(table), SQL_NTS);
                      },
                      names);
}
