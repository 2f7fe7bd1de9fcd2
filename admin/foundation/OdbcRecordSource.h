#pragma once

#include "admin/foundation/DBHandler.h"
#include "platform/odbc/OdbcHandle.h"
#include "shared/odbc/OdbcDiagnostics.h"
#include "shared/odbc/QueryResult.h"

#include <sql.h>

#include <vector>

class ColumnBuffers;

// What the ODBC record sources share: the statement they own, the description of its result
// columns and the row count. A source is open from a successful execution until the next one,
// CloseStatement or its destruction; while closed it answers 0 and empty texts. Column numbers
// outside the result answer 0 and empty texts too.
class OdbcRecordSource : public CDBHandler {
 public:
  ~OdbcRecordSource() override = default;

  int16_t GetColumnCount() override;
  int32_t GetRowCount() override;
  QString GetColumnName(int16_t column) override;
  int16_t GetColumnType(int16_t column) override;
  int16_t GetColumnSize(int16_t column) override;
  int16_t GetColumnDecimalDigits(int16_t column) override;

  // The SQL data type the driver reports for the column, unmapped; 0 outside the result or when
  // the driver cannot describe it.
  int16_t GetColumnSqlType(int16_t column);

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
  // Closes what is open and makes the statement that the next execution runs on.
  // `lockRows` false opens a read-only cursor.
  bool OpenStatement(SQLHDBC connection, bool lockRows = true);
  // Keeps the statement's diagnostic record and frees the statement.
  void FailStatement();
  // The result's columns: count, then kind, size and digits of each (kind 0 for a column whose
  // description fails). False when the column count cannot be read.
  bool DescribeColumns();
  bool HasColumn(int16_t column) const;
  // The kinds of the first `count` described columns.
  std::vector<int16_t> ColumnKinds(int16_t count) const;
  // Binds the first `count` columns of the open statement to `buffers`.
  void BindInto(ColumnBuffers* buffers, int16_t count);
  SQLHSTMT Statement() const { return m_statement.get(); }
  SQLRETURN Track(SQLRETURN result) { return m_nLastReturnCode = result; }
  OdbcDiagRecord CurrentDiagnostic() const;

  SQLRETURN m_nLastReturnCode = SQL_SUCCESS;
  platform::OdbcHandle m_statement;
  int16_t m_nColumnCount = 0;
  int32_t m_nRowCount = 0;
  std::vector<int16_t> m_columnTypes;
  std::vector<int16_t> m_columnSizes;
  std::vector<int16_t> m_columnDigits;
  bool m_bOpen = false;

 private:
  using ColumnDescription = ResultColumn;
  bool DescribeColumn(int16_t column, ColumnDescription* description);

  OdbcDiagRecord m_lastFailure;
};
