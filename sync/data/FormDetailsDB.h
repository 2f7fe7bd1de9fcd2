#pragma once

#include "platform/odbc/OdbcHandle.h"
#include "shared/data/FormDetailsRow.h"
#include "sync/data/SettingsTable.h"

#include <sql.h>

// The FormDetails table of the settings database, read on a statement of its own: the two ids
// are bound, the two tab texts read whole after each fetch. Rows are read in order: MoveToRecord
// of 0 goes to the first row, of any other number to the next one.
class CFormDetailsDB : public SettingsTable {
 public:
  CFormDetailsDB();
  ~CFormDetailsDB() override;

  // 1 when connected, whatever the driver answers; else 0 with the reason in `errorOut`.
  int InitializeTable(const QString& clause, QString* errorOut);
  // Counts by fetching to the end: the cursor then stands past the last row.
  int GetRecordCount();
  // Always 0.
  int MoveToRecord(int32_t row);
  FormDetailsRow ReadRecord(int32_t row);

  SQLRETURN GetLastReturnCode() const { return m_nLastReturnCode; }

 protected:
  void ReleaseStatement() override { m_statement.reset(); }

 private:
  SQLRETURN Track(SQLRETURN result) { return m_nLastReturnCode = result; }
  SQLRETURN Fetch(SQLSMALLINT orientation) { return Track(SQLFetchScroll(m_statement.get(), orientation, 0)); }
  void BindIds();

  platform::OdbcHandle m_statement;
  SQLRETURN m_nLastReturnCode = SQL_SUCCESS;
  SQLLEN m_nIndicator = 0;  // the ids share it
  SQLINTEGER m_nFormID = 0;
  SQLINTEGER m_nTabID = 0;
  QString m_strTabTitle;
  QString m_strTabFormInfo;
};
