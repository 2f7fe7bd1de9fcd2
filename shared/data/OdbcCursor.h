#pragma once

#include "platform/odbc/OdbcHandle.h"
#include "shared/odbc/OdbcDiagnostics.h"
#include "shared/odbc/QueryResult.h"

#include <sql.h>

#include <QString>

#include <functional>
#include <vector>

namespace data {

class ColumnBinder;

// What the ODBC record sources of both programs share: the statement they own, the description
// of its result columns, the row count, positioning and fetching. A cursor is open from a
// successful execution until the next one, CloseStatement or its destruction; while closed, and
// for column numbers outside the result, it answers 0 and empty texts.
class OdbcCursor {
 public:
  // How a program describes the columns of a result.
  struct ColumnRules {
    // The column kind of a column whose driver reports `sqlType`.
    std::function<int16_t(SQLSMALLINT sqlType)> kindOf;
    // Whether a column count read with a warning counts as read.
    bool countWithWarning = true;
    // Asked after each column's description whether the database numbers that column itself;
    // without it no column is.
    std::function<bool(int16_t column, const QString& name)> isAutoNumber;
  };

  OdbcCursor() = default;
  // Closes what is open.
  ~OdbcCursor();
  OdbcCursor(const OdbcCursor&) = delete;
  OdbcCursor& operator=(const OdbcCursor&) = delete;

  int16_t ColumnCount() const { return m_bOpen ? m_nColumnCount : 0; }
  int32_t RowCount() const { return m_bOpen ? m_nRowCount : 0; }
  QString ColumnName(int16_t column);
  int16_t ColumnType(int16_t column) const;
  int16_t ColumnSize(int16_t column) const;
  int16_t ColumnDecimalDigits(int16_t column) const;
  bool IsAutoNumber(int16_t column) const;

  // The SQL data type the driver reports for the column, unmapped; 0 outside the result or when
  // the driver cannot describe it.
  int16_t GetColumnSqlType(int16_t column);
  // Columns of a kind other than 0.
  int16_t GetSupportedColumnCount() const;

  // Frees the statement (closing its cursor); counts become 0.
  void CloseStatement();

  // "ODBC Reports : ..." of the statement's first diagnostic record, or of the last failure's
  // record when the failure freed the statement.
  QString GetOdbcErrorText() const;
  // The same record as a connect failure ("Failed to connect to database. ...").
  QString GetConnectFailureText() const;

  SQLRETURN GetLastReturnCode() const { return m_nLastReturnCode; }
  bool IsOpen() const { return m_bOpen; }

 protected:
  // Closes what is open and makes the statement that the next execution runs on, with the cursor
  // NewCursorStatement makes of the two flags.
  bool OpenStatement(SQLHDBC connection, bool dynamicCursor, bool lockRows);
  bool Prepare(const QString& sql);
  bool Execute();
  bool ExecuteDirect(const QString& sql);
  // OpenStatement, then prepares and executes `sql`; false (the statement freed, its diagnostic
  // kept) when any step fails.
  bool OpenAndExecute(SQLHDBC connection, const QString& sql, bool dynamicCursor, bool lockRows);
  // Keeps the statement's diagnostic record and frees the statement.
  void FailStatement();
  // Executes a call and reads its whole result once: binds the described columns to `binder`,
  // hands each fetched row to `onRow` (numbered from 1) and unbinds. 1 when the call was
  // prepared and executed, else 0.
  int ExecuteAndReadAll(SQLHDBC connection, const QString& sql, bool dynamicCursor, bool lockRows,
                        const ColumnRules& rules, ColumnBinder* binder, const std::function<void(int32_t row)>& onRow);
  // Opens the executed result and describes its columns: count, then kind, size and digits of
  // each (kind 0 for a column whose description fails). False when the column count cannot be
  // read.
  bool OpenResult(const ColumnRules& rules);
  // The row count by a COUNT query over `sql`; false, the count left as it is, when that fails.
  bool CountRowsByQuery(SQLHDBC connection, const QString& sql);
  // The row count by fetching every row of the open cursor.
  void CountRowsByFetching();

  bool HasColumn(int16_t column) const;
  const std::vector<int16_t>& ColumnKinds() const { return m_columnTypes; }

  // SQLFetchScroll; true when it succeeded.
  bool Fetch(SQLSMALLINT orientation, SQLLEN offset = 0);
  // The cursor on zero-based `row`.
  bool FetchAbsolute(int32_t row);
  // Fetches every row from where the cursor stands, handing each to `onRow` numbered from 1;
  // the row count becomes their number.
  void FetchEveryRow(const std::function<void(int32_t row)>& onRow);

  // The current row's value of `column` as display text, read through a value buffer of
  // `bufferBytes` (texts cut to what it holds); empty when the read fails.
  QString ReadFieldText(int16_t column, qsizetype bufferBytes);
  // Binds the columns of `kinds` of the open statement to `binder`.
  void BindColumnsTo(ColumnBinder* binder, const std::vector<int16_t>& kinds);

  SQLHSTMT Statement() const { return m_statement.get(); }
  SQLRETURN Track(SQLRETURN result) { return m_nLastReturnCode = result; }
  OdbcDiagRecord CurrentDiagnostic() const;

  SQLRETURN m_nLastReturnCode = SQL_SUCCESS;

 private:
  bool DescribeColumn(int16_t column, ResultColumn* description);
  bool DescribeColumns(const ColumnRules& rules);

  platform::OdbcHandle m_statement;
  bool m_bOpen = false;
  int16_t m_nColumnCount = 0;
  int32_t m_nRowCount = 0;
  std::vector<int16_t> m_columnTypes;
  std::vector<int16_t> m_columnSizes;
  std::vector<int16_t> m_columnDigits;
  std::vector<bool> m_autoNumber;
  OdbcDiagRecord m_lastFailure;
};

}  // namespace data
