#pragma once

#include <sql.h>
#include <sqlext.h>

#include <QString>

#include <array>

// Buffers bound to the columns of a catalog result (SQLTables, SQLColumns, ...).
template <size_t Units>
struct BoundCatalogText {
  std::array<SQLWCHAR, Units + 1> buffer{};
  SQLLEN indicator = SQL_NULL_DATA;

  SQLRETURN Bind(SQLHSTMT statement, SQLUSMALLINT column) {
    return SQLBindCol(statement, column, SQL_C_WCHAR, buffer.data(), sizeof buffer, &indicator);
  }
  // The fetched text; a NULL reads as an empty text.
  QString Value() const;
};

struct BoundCatalogShort {
  SQLSMALLINT value = 0;
  SQLLEN indicator = SQL_NULL_DATA;

  SQLRETURN Bind(SQLHSTMT statement, SQLUSMALLINT column) {
    return SQLBindCol(statement, column, SQL_C_SSHORT, &value, sizeof value, &indicator);
  }
};

QString BoundCatalogTextValue(const SQLWCHAR* buffer, size_t units, SQLLEN indicator);

template <size_t Units>
QString BoundCatalogText<Units>::Value() const {
  return BoundCatalogTextValue(buffer.data(), Units, indicator);
}
