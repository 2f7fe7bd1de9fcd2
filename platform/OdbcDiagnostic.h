#pragma once

#include <sql.h>

#include <QString>

#include <cstdint>

namespace platform {

// One diagnostic record of an ODBC handle.
struct OdbcDiagnostic {
  QString sqlState;
  int32_t nativeError = 0;
  QString message;
};

// Record `record` (from 1) of the handle's diagnostics through SQLGetDiagRecW, the message cut
// at `messageUnits` UTF-16 units. A handle without that record gives empty texts and code 0.
// Every ODBC failure of the programs is described from here.
OdbcDiagnostic ReadOdbcDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle, int messageUnits = 300,
                                  SQLSMALLINT record = 1);

}  // namespace platform
