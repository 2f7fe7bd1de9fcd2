#include "sync/data/DatabaseHandler.h"

#include "shared/odbc/CatalogQuery.h"
#include "shared/odbc/ColumnKind.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/SyncLog.h"

#include <sqlext.h>

#include <functional>

namespace syncservice {

namespace {

constexpr size_t kNameUnits = 130;  // 260 bytes

// The names of column `column` of every row of a catalog lookup; failures go to the log.
int CollectNames(SQLHDBC connection, SQLUSMALLINT column, const std::function<SQLRETURN(SQLHSTMT)>& call,
                 QStringList* names) {
  SQLRETURN lastReturnCode = SQL_SUCCESS;
  CatalogQuery query(connection, {{column, kNameUnits}}, &lastReturnCode);
  if (!query.Run(call)) {
    WriteSyncServiceLog(-1, FormatOdbcDiagnostics(query.Diagnostic(), OdbcTextForm::Diagnostic));
    return 0;
  }
  return query.AppendTexts(column, names);
}

}  // namespace

int CDatabaseHandler::MoveToRow(int32_t row) {
  if (!IsOpen()) return 0;
  return FetchAbsolute(row) ? 1 : 0;
}

int CDatabaseHandler::FetchNext(int32_t next) {
  if (!IsOpen()) return 0;
  // A forward-only cursor stands before its first row and takes only "next".
  return Fetch(next == 0 && !IsForwardOnly() ? SQL_FETCH_FIRST : SQL_FETCH_NEXT) ? 1 : 0;
}

int CDatabaseHandler::ExecuteQuery(const CDatabseConnection& connection, const QString& sql) {
  if (!OpenAndExecute(connection.GetConnectionHandle(), sql)) return 0;
  if (!OpenResult(Rules(false, true))) return 1;
  const bool counted = CountRowsByQuery(connection.GetConnectionHandle(), sql);
  if (!counted && IsForwardOnly()) {
    // Counted by fetching, the rows must be read again from the first: this result is read
    // through a scrollable cursor.
    SetForwardOnly(false);
    return ExecuteQuery(connection, sql);
  }
  if (!counted) CountRowsByFetching();
  return 1;
}

QString CDatabaseHandler::GetFieldValue(int32_t, int16_t column) {
  if (!IsOpen() || !HasColumn(column) || ColumnType(column) == ColumnKind::Unsupported) return {};
  return ReadFieldText(column, kValueBufferBytes);
}

int CDatabaseHandler::IsAutoNumberColumn(int16_t column) const { return IsAutoNumber(column) ? 1 : 0; }

int CDatabaseHandler::GetSpecialColumnList(const CDatabseConnection& connection, const QString& table,
                                           QStringList* names) const {
  return CollectNames(connection.GetConnectionHandle(), keycolumns::kSpecialColumnName,
                      [&table](SQLHSTMT statement) { return keycolumns::LookUpSpecialColumns(statement, table); },
                      names);
}

int CDatabaseHandler::GetPrimaryKeyList(const CDatabseConnection& connection, const QString& table,
                                        QStringList* names) const {
  return CollectNames(connection.GetConnectionHandle(), keycolumns::kPrimaryKeyName,
                      [&table](SQLHSTMT statement) { return keycolumns::LookUpPrimaryKeys(statement, table); },
                      names);
}

}  // namespace syncservice
