#pragma once

#include "shared/data/CursorRecordSource.h"
#include "sync/data/DBHandler.h"

#include <sql.h>

namespace syncservice {

// The sync program's ODBC record sources: columns described by its own kinds, with the columns
// the database numbers itself (AutoNumber), and the log their messages go to.
class OdbcRecordSource : public data::CursorRecordSource<syncservice::CDBHandler> {
 public:
  // 0: messages go to the sync-service log, 1: to the back-sync log.
  void SetLogTarget(int target) { m_nLogTarget = target; }
  int GetLogTarget() const { return m_nLogTarget; }
  // For the next executions: a read-only cursor that only moves forward (a change-detection pass
  // reads each row once; no driver has to keep the result scrollable, though some, SQLite's
  // among them, still build it whole when the query runs), or the scrollable cursor with row
  // locks that writes through the cursor need (the default).
  void SetForwardOnly(bool forwardOnly) { m_bForwardOnly = forwardOnly; }
  bool IsForwardOnly() const { return m_bForwardOnly; }

 protected:
  // Closes what is open and makes the statement of the next execution; prepares and executes
  // `sql` on it. False (the statement freed, its diagnostic kept) when any step fails.
  bool OpenAndExecute(SQLHDBC connection, const QString& sql);
  // The columns described by the sync program's kinds, those of a stored-procedure result or of
  // a query; with `autoNumberScan` each column's AutoNumber flag is read as well.
  ColumnRules Rules(bool procedureResult, bool autoNumberScan);
  void WriteLog(int code, const QString& text) const;

 private:
  bool ScanAutoNumber(int16_t column, const QString& name);

  bool m_bForwardOnly = false;
  int m_nLogTarget = 0;
};

}  // namespace syncservice
