#include "sync/engine/SyncOdbc.h"

#include "shared/odbc/FileMakerDsn.h"
#include "shared/odbc/OdbcDiagnostics.h"

namespace syncservice {

void IsOdbcLoginError(SQLSMALLINT handleType, SQLHANDLE handle, int* flag, QString* text) {
  const OdbcDiagRecord record = ReadOdbcDiagRecord(handleType, handle, 512);
  *flag = MentionsLogin(record) ? 1 : 0;
  *text = FormatOdbcDiagnostics(record, OdbcTextForm::Diagnostic);
}

}  // namespace syncservice

void EscapeSqlQuotes(QString* text) { text->replace(u'\'', QStringLiteral("''")); }

QString GetFileMakerDriverName() { return FileMakerDriverName(); }

QString GetOdbcDriverPath() { return FileMakerDriverPath(); }

bool AddOdbcDataSourceEntry(const QString& dataSourceName) {
  const QString driver = FileMakerDriverName();
  return !driver.isEmpty() && ListDataSource(dataSourceName, driver);
}

bool CreateFileMakerDsn(const QString& serverDataSource, const QString& dataSourceName) {
  return AddOdbcDataSourceEntry(dataSourceName) && WriteFileMakerEntries(serverDataSource, dataSourceName);
}

bool RemoveOdbcDataSourceEntry(const QString& dataSourceName) { return UnlistDataSource(dataSourceName); }

bool DeleteDsnKey(const QString& dataSourceName) { return RemoveListedDataSource(dataSourceName); }
