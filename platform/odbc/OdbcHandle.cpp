#include "platform/odbc/OdbcHandle.h"

#include "platform/odbc/OdbcConfig.h"

#include <sqlext.h>

namespace platform {

OdbcHandle OdbcHandle::NewEnvironment() {
  PrepareOdbc();
  OdbcHandle environment = Allocate(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
  if (environment) {
    SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION,
                  reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(SQL_OV_ODBC3)), SQL_IS_INTEGER);
  }
  return environment;
}

OdbcHandle OdbcHandle::Allocate(SQLSMALLINT type, SQLHANDLE parent) {
  SQLHANDLE handle = SQL_NULL_HANDLE;
  if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle))) return {};
  return OdbcHandle(type, handle);
}

void OdbcHandle::reset() {
  if (handle_ == SQL_NULL_HANDLE) return;
  // A connection still connected cannot be freed; ending it first never leaks it.
  if (type_ == SQL_HANDLE_DBC) SQLDisconnect(handle_);
  SQLFreeHandle(type_, handle_);
  handle_ = SQL_NULL_HANDLE;
}

}  // namespace platform
