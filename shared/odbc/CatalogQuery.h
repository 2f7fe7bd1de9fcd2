#pragma once

#include "platform/odbc/OdbcHandle.h"
#include "shared/odbc/OdbcDiagnostics.h"

#include <sql.h>

#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <vector>

// One catalog lookup (SQLTablesW, SQLColumnsW, ...) on a connection. It owns its statement, made
// with the record sources' cursor, and the buffers bound to the result columns the lookup reads;
// the statement and buffers go with the object. Each ODBC call's result is also stored in
// `*lastReturnCode`, the owner's last return code.
class CatalogQuery {
 public:
  // A result column the lookup reads: wide text of up to `textUnits` characters, or a 16-bit
  // integer for kInteger.
  struct Column {
    SQLUSMALLINT number;
    size_t textUnits;
  };
  static constexpr size_t kInteger = 0;

  CatalogQuery(SQLHDBC connection, std::initializer_list<Column> columns, SQLRETURN* lastReturnCode);
  CatalogQuery(const CatalogQuery&) = delete;
  CatalogQuery& operator=(const CatalogQuery&) = delete;

  // Calls the catalog function on the statement and binds the columns; false when no statement
  // could be made or the call failed.
  bool Run(const std::function<SQLRETURN(SQLHSTMT)>& call);
  // Fetches the next row into the columns; false after the last row or on failure.
  bool Fetch();
  // Fetches every remaining row, appending the text of `column` of each to `texts`; the count
  // appended.
  int AppendTexts(SQLUSMALLINT column, QStringList* texts);

  // The fetched value of a column given at construction; NULL, and a column not given, read as
  // an empty text or 0.
  QString Text(SQLUSMALLINT column) const;
  SQLSMALLINT Integer(SQLUSMALLINT column) const;

  // Why Run failed: the statement's first diagnostic record, or the connection's when no
  // statement could be made.
  OdbcDiagRecord Diagnostic() const;

 private:
  struct BoundColumn {
    SQLUSMALLINT number = 0;
    std::vector<SQLWCHAR> text;  // empty for an integer column
    SQLSMALLINT integer = 0;
    SQLLEN indicator = SQL_NULL_DATA;
  };

  bool BindColumns();
  const BoundColumn& Find(SQLUSMALLINT number) const;
  SQLRETURN Track(SQLRETURN result) { return *m_lastReturnCode = result; }

  SQLHDBC m_connection;
  platform::OdbcHandle m_statement;
  // Sized once at construction: the driver holds the addresses of the buffers.
  std::vector<BoundColumn> m_columns;
  SQLRETURN* m_lastReturnCode;
};

// The lookups of the columns that identify a table's rows, and the result column of each that
// holds a column's name.
namespace keycolumns {

inline constexpr SQLUSMALLINT kSpecialColumnName = 2;  // COLUMN_NAME of SQLSpecialColumns
inline constexpr SQLUSMALLINT kPrimaryKeyName = 4;     // COLUMN_NAME of SQLPrimaryKeys

// SQLSpecialColumnsW for the best row identifier of `table`, valid for the current row, without
// nullable columns.
SQLRETURN LookUpSpecialColumns(SQLHSTMT statement, const QString& table);
// SQLPrimaryKeysW for `table`.
SQLRETURN LookUpPrimaryKeys(SQLHSTMT statement, const QString& table);

}  // namespace keycolumns
