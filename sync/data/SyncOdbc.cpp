#include "sync/data/SyncOdbc.h"

#include "shared/odbc/FileMakerDsn.h"
#include "shared/odbc/OdbcDiagnostics.h"

namespace syncservice {

void IsOdbcLoginError(SQLSMALLINT handleType, SQLHANDLE handle, int* flag, QString* text) {
  const OdbcDiagRecord record = ReadOdbcDiagRecord(handleType, handle, 512);
  *flag = MentionsLogin(record) ? 1 : 0;
  *text = FormatOdbcDiagnostics(record, OdbcTextForm::Diagnostic);
}

bool AddOdbcDataSourceEntry(const QString& dataSourceName) {
  const QString driver = FindFileMakerDriverName();
  return !driver.isEmpty() && ListDataSource(dataSourceName, driver);
}

bool CreateFileMakerDsn(const QString& serverDataSource, const QString& dataSourceName) {
  return AddOdbcDataSourceEntry(dataSourceName) && WriteFileMakerEntries(serverDataSource, dataSourceName);
}

}  // namespace syncservice
