#include "shared/odbc/ColumnKind.h"

#include <sqlext.h>

SQLSMALLINT CTypeOfKind(int16_t kind) {
  switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::Numeric:
      return SQL_C_WCHAR;
    case ColumnKind::BigInt:
      return SQL_C_SBIGINT;
    default:
      return kind;
  }
}

int16_t CapColumnSize(SQLULEN size) {
  if (size > 32767) return 32766;
  return static_cast<int16_t>(size);
}
