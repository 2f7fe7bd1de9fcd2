#pragma once

#include "platform/odbc/OdbcHandle.h"
#include "shared/odbc/OdbcDiagnostics.h"
#include "sync/data/DBHandler.h"

#include <sql.h>

#include <vector>

namespace syncservice {

// What the sync program's ODBC record sources share: the statement they own, the description of
// its result columns, the row count and the log their messages go to. A source is open from a
// successful execution until the next one, CloseStatement or its destruction; while closed, and
// for column numbers outside the result, it answers 0 and empty texts.
class OdbcRecordSource : public CDBHandler {
 public:
  int16_t GetColumnCount() override;
  int32_t GetRowCount() override;
  QString GetColumnName(int16_t column) override;
  int16_t GetColumnType(int16_t column) override;
  int16_t GetColumnSize(int16_t column) override;
  int16_t GetColumnDecimalDigits(int16_t column) override;

  void CloseStatement();
  // "ODBC Reports : ..." of the statement's first diagnostic record, or of the last failure's.
  QString GetOdbcErrorText() const;

  // 0: messages go to the sync-service log, 1: to the back-sync log.
  void SetLogTarget(int target) { m_nLogTarget = target; }
  int GetLogTarget() const { return m_nLogTarget; }
  SQLRETURN GetLastReturnCode() const { return m_nLastReturnCode; }
  bool IsOpen() const { return m_bOpen; }
  // Columns of a kind other than 0.
  int16_t GetSupportedColumnCount() const;
  // For the next executions: a read-only cursor that only moves forward, which drivers serve
  // without holding the whole result (a change-detection pass reads each row once), or the
  // scrollable cursor with row locks that writes through the cursor need (the default).
  void SetForwardOnly(bool forwardOnly) { m_bForwardOnly = forwardOnly; }
  bool IsForwardOnly() const { return m_bForwardOnly; }

 protected:
  // Closes what is open and makes the statement of the next execution; prepares and executes
  // `sql` on it. False (the statement freed, its diagnostic kept) when any step fails.
  bool OpenAndExecute(SQLHDBC connection, const QString& sql);
  // Column count, then kind, size and digits of each column; with `autoNumberScan` also each
  // column's AutoNumber flag. False when the column count cannot be read.
  bool DescribeColumns(bool procedureResult, bool autoNumberScan);
  bool HasColumn(int16_t column) const;
  const std::vector<int16_t>& ColumnKinds() const { return m_columnTypes; }
  void WriteLog(int code, const QString& text) const;
  SQLHSTMT Statement() const { return m_statement.get(); }
  SQLRETURN Track(SQLRETURN result) { return m_nLastReturnCode = result; }

  SQLRETURN m_nLastReturnCode = SQL_SUCCESS;
  int32_t m_nRowCount = 0;
  std::vector<bool> m_autoNumber;
  bool m_bOpen = false;

 private:
  bool m_bForwardOnly = false;
  bool IsAutoNumber(int16_t column, const QString& name);

  platform::OdbcHandle m_statement;
  int16_t m_nColumnCount = 0;
  std::vector<int16_t> m_columnTypes;
  std::vector<int16_t> m_columnSizes;
  std::vector<int16_t> m_columnDigits;
  int m_nLogTarget = 0;
  OdbcDiagRecord m_lastFailure;
};

}  // namespace syncservice
