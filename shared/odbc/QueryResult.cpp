#include "shared/odbc/QueryResult.h"

#include "platform/odbc/OdbcText.h"
#include "shared/odbc/OdbcStatement.h"

#include <sqlext.h>

#include <array>

namespace {

constexpr int kNameUnits = 255;

}  // namespace

SQLRETURN DescribeResultColumn(SQLHSTMT statement, int16_t column, ResultColumn* description) {
  std::array<SQLWCHAR, kNameUnits + 1> name{};
  SQLSMALLINT nameLength = 0;
  SQLSMALLINT nullable = 0;
  const SQLRETURN result =
      SQLDescribeColW(statement, static_cast<SQLUSMALLINT>(column + 1), name.data(), kNameUnits, &nameLength,
                      &description->sqlType, &description->size, &description->digits, &nullable);
  if (SQL_SUCCEEDED(result)) description->name = platform::FromSqlTextZ(name.data(), kNameUnits);
  return result;
}

std::optional<int32_t> CountQueryRows(SQLHDBC connection, const QString& sql, SQLRETURN* lastReturnCode) {
  const QString countSql = QStringLiteral("SELECT COUNT(*) FROM (") + sql + QStringLiteral(") SQLRecordCountTb");
  platform::OdbcHandle statement = NewCursorStatement(connection);
  if (!statement ||
      (*lastReturnCode = SQLExecDirectW(statement.get(), platform::SqlText(countSql), SQL_NTS)) != SQL_SUCCESS) {
    statement = NewCursorStatement(connection, false);
    if (!statement ||
        !SQL_SUCCEEDED(*lastReturnCode = SQLExecDirectW(statement.get(), platform::SqlText(countSql), SQL_NTS))) {
      return std::nullopt;
    }
  }
  SQLINTEGER count = 0;
  SQLLEN indicator = SQL_NULL_DATA;
  if (!SQL_SUCCEEDED(*lastReturnCode = SQLBindCol(statement.get(), 1, SQL_C_SLONG, &count, sizeof count, &indicator))) {
    return std::nullopt;
  }
  const bool fetched = SQL_SUCCEEDED(*lastReturnCode = SQLFetch(statement.get()));
  SQLCloseCursor(statement.get());
  if (!fetched || indicator == SQL_NULL_DATA || count < 0) return std::nullopt;
  return count;
}

int32_t CountRowsByFetching(SQLHSTMT statement, SQLRETURN* lastReturnCode) {
  int32_t rows = 0;
  SQLRETURN result = *lastReturnCode = SQLFetchScroll(statement, SQL_FETCH_FIRST, 0);
  while (result == SQL_SUCCESS) {
    ++rows;
    result = *lastReturnCode = SQLFetchScroll(statement, SQL_FETCH_NEXT, 0);
  }
  return rows;
}

SQLLEN WrittenLength(SQLLEN indicator, qsizetype capacity, qsizetype terminatorBytes) {
  if (indicator == SQL_NULL_DATA) return SQL_NULL_DATA;
  const SQLLEN limit = static_cast<SQLLEN>(capacity - terminatorBytes);
  if (indicator == SQL_NO_TOTAL || indicator > limit) return limit;
  return indicator;
}
