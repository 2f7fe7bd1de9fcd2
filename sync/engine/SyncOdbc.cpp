#include "sync/engine/SyncOdbc.h"

#include "shared/OdbcDiagnostics.h"

#include <QStringList>

#include <odbcinst.h>

#include <vector>

namespace {

const QString kDataSourcesSection = QStringLiteral("ODBC Data Sources");
const QString kDsnFile = QStringLiteral("ODBC.INI");
const QString kDriverFile = QStringLiteral("ODBCINST.INI");

LPCWSTR Wide(const QString& text) { return reinterpret_cast<LPCWSTR>(text.utf16()); }

// The zero-separated list a profile-string call gives when asked for all names of a section.
QStringList ZeroSeparated(const std::vector<SQLWCHAR>& buffer) {
  QStringList names;
  const QString text(reinterpret_cast<const QChar*>(buffer.data()), static_cast<qsizetype>(buffer.size()));
  for (const QString& name : text.split(QChar(0))) {
    if (name.isEmpty()) break;
    names.append(name);
  }
  return names;
}

QString ProfileString(const QString& section, const QString& entry, const QString& file) {
  std::vector<SQLWCHAR> buffer(1024, 0);
  const int length = SQLGetPrivateProfileStringW(Wide(section), Wide(entry), Wide(QString()),
                                                 buffer.data(), static_cast<int>(buffer.size()), Wide(file));
  return QString(reinterpret_cast<const QChar*>(buffer.data()), qBound(0, length, 1023));
}

QStringList SectionEntries(const QString& section, const QString& file) {
  std::vector<SQLWCHAR> buffer(8192, 0);
  SQLGetPrivateProfileStringW(Wide(section), nullptr, Wide(QString()), buffer.data(),
                              static_cast<int>(buffer.size()) - 1, Wide(file));
  return ZeroSeparated(buffer);
}

bool WriteEntry(const QString& section, const QString& entry, const QString& value) {
  return SQLWritePrivateProfileStringW(Wide(section), Wide(entry), Wide(value), Wide(kDsnFile));
}

}  // namespace

void IsOdbcLoginError(SQLSMALLINT handleType, SQLHANDLE handle, int* flag, QString* text) {
  const OdbcDiagRecord record = ReadOdbcDiagRecord(handleType, handle, 512);
  *flag = MentionsLogin(record) ? 1 : 0;
  *text = OdbcDiagText(record);
}

void EscapeSqlQuotes(QString* text) { text->replace(u'\'', QStringLiteral("''")); }

QString GetTableNameFromQuery(const QString& query) {
  const qsizetype from = query.toUpper().indexOf(u"FROM");
  if (from < 0) return {};
  QString name = query.mid(from + 4);
  if (const qsizetype owner = name.indexOf(u"\"."); owner >= 0) name.remove(0, owner + 2);
  if (const qsizetype where = name.indexOf(u"Where"); where >= 0) name.truncate(where);
  if (const qsizetype order = name.indexOf(u"Order By"); order >= 0) name.truncate(order);
  name.remove(u'"');
  return name.trimmed();
}

QString GetFileMakerDriverName() {
  std::vector<SQLWCHAR> buffer(8192, 0);
  WORD length = 0;
  if (!SQLGetInstalledDriversW(buffer.data(), static_cast<WORD>(buffer.size() - 1), &length)) return {};
  QString found;
  for (const QString& driver : ZeroSeparated(buffer)) {
    if (driver.contains(u"DataDirect 32-BIT SequeLink")) found = driver;
  }
  return found;
}

QString GetOdbcDriverPath() {
  const QString driver = GetFileMakerDriverName();
  if (driver.isEmpty()) return {};
  return ProfileString(driver, QStringLiteral("Driver"), kDriverFile);
}

bool AddOdbcDataSourceEntry(const QString& dataSourceName) {
  const QString driver = GetFileMakerDriverName();
  return !driver.isEmpty() && WriteEntry(kDataSourcesSection, dataSourceName, driver);
}

bool CreateFileMakerDsn(const QString& serverDataSource, const QString& dataSourceName) {
  if (!AddOdbcDataSourceEntry(dataSourceName)) return false;
  const QString driverPath = GetOdbcDriverPath();
  return WriteEntry(dataSourceName, QStringLiteral("Description"), QString()) &&
         WriteEntry(dataSourceName, QStringLiteral("DistinguishedName"), QString()) &&
         !driverPath.isEmpty() && WriteEntry(dataSourceName, QStringLiteral("Driver"), driverPath) &&
         WriteEntry(dataSourceName, QStringLiteral("Host"), QStringLiteral("localhost")) &&
         WriteEntry(dataSourceName, QStringLiteral("Port"), QStringLiteral("2399")) &&
         WriteEntry(dataSourceName, QStringLiteral("ServerDataSource"), serverDataSource) &&
         WriteEntry(dataSourceName, QStringLiteral("UseLDAP"), QStringLiteral("0"));
}

bool RemoveOdbcDataSourceEntry(const QString& dataSourceName) {
  if (!SectionEntries(kDataSourcesSection, kDsnFile).contains(dataSourceName)) return false;
  return SQLWritePrivateProfileStringW(Wide(kDataSourcesSection), Wide(dataSourceName), nullptr, Wide(kDsnFile));
}

bool DeleteDsnKey(const QString& dataSourceName) {
  RemoveOdbcDataSourceEntry(dataSourceName);
  if (SectionEntries(dataSourceName, kDsnFile).isEmpty()) return false;
  return SQLWritePrivateProfileStringW(Wide(dataSourceName), nullptr, nullptr, Wide(kDsnFile));
}
