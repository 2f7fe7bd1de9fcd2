#include "platform/OdbcDiagnostic.h"

#include "platform/OdbcText.h"

#include <sqlext.h>

#include <vector>

namespace platform {

OdbcDiagnostic ReadOdbcDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle, int messageUnits,
                                  SQLSMALLINT record) {
  OdbcDiagnostic diagnostic;
  if (handle == SQL_NULL_HANDLE || messageUnits < 1) return diagnostic;
  SQLWCHAR state[6] = {};
  SQLINTEGER native = 0;
  std::vector<SQLWCHAR> message(static_cast<size_t>(messageUnits) + 1, 0);
  SQLSMALLINT messageLength = 0;
  const SQLRETURN result =
      SQLGetDiagRecW(handleType, handle, record, state, &native, message.data(),
                     static_cast<SQLSMALLINT>(messageUnits), &messageLength);
  if (!SQL_SUCCEEDED(result)) return diagnostic;
  diagnostic.sqlState = FromSqlTextZ(state, 5);
  diagnostic.nativeError = native;
  diagnostic.message = FromSqlTextZ(message.data(), messageUnits);
  return diagnostic;
}

}  // namespace platform
