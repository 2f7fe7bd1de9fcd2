#include "shared/odbc/OdbcStatement.h"

#include <sqlext.h>

platform::OdbcHandle NewCursorStatement(SQLHDBC connection, bool dynamicCursor, bool lockRows) {
  if (connection == SQL_NULL_HDBC) return {};
  platform::OdbcHandle statement = platform::OdbcHandle::Allocate(SQL_HANDLE_STMT, connection);
  if (!statement) return statement;
  if (dynamicCursor) {
    SQLSetStmtAttrW(statement.get(), SQL_ATTR_CURSOR_TYPE,
                    reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_CURSOR_DYNAMIC)), SQL_IS_INTEGER);
  }
  if (lockRows) {
    SQLSetStmtAttrW(statement.get(), SQL_ATTR_CONCURRENCY,
                    reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_CONCUR_LOCK)), SQL_IS_INTEGER);
  }
  return statement;
}
