#include "sync/data/SyncOdbc.h"

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

QString GetTableNameFromQuery(const QString& query) {
  // Searched without case rather than in an upper-cased copy, whose positions can differ.
  const qsizetype from = query.indexOf(u"FROM", 0, Qt::CaseInsensitive);
  if (from < 0) return {};
  QString name = query.mid(from + 4);
  if (const qsizetype owner = name.indexOf(u"\"."); owner >= 0) name.remove(0, owner + 2);
  if (const qsizetype where = name.indexOf(u"Where"); where >= 0) name.truncate(where);
  if (const qsizetype order = name.indexOf(u"Order By"); order >= 0) name.truncate(order);
  name.remove(u'"');
  return name.trimmed();
}

namespace syncservice {

bool AddOdbcDataSourceEntry(const QString& dataSourceName) {
  const QString driver = FindFileMakerDriverName();
  return !driver.isEmpty() && ListDataSource(dataSourceName, driver);
}

bool CreateFileMakerDsn(const QString& serverDataSource, const QString& dataSourceName) {
  return AddOdbcDataSourceEntry(dataSourceName) && WriteFileMakerEntries(serverDataSource, dataSourceName);
}

}  // namespace syncservice
