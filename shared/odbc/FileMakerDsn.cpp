#include "shared/odbc/FileMakerDsn.h"

#include "platform/odbc/OdbcConfig.h"

QString FindFileMakerDriverName() {
  platform::PrepareOdbc();
  QString found;
  for (const QString& driver : platform::DriverNames()) {
    if (driver.contains(u"DataDirect 32-BIT SequeLink")) found = driver;
  }
  return found;
}

QString GetOdbcDriverPath() {
  const QString driver = FindFileMakerDriverName();
  return driver.isEmpty() ? QString() : platform::DriverValue(driver, QStringLiteral("Driver"));
}

bool ListDataSource(const QString& dataSourceName, const QString& driverName) {
  return platform::SetDataSourceValue(platform::kDataSourcesSection, dataSourceName, driverName);
}

bool WriteFileMakerEntries(const QString& serverDataSource, const QString& dataSourceName) {
  const QString driverPath = GetOdbcDriverPath();
  if (driverPath.isEmpty()) return false;
  return platform::WriteDataSource(dataSourceName, {{QStringLiteral("Description"), QString()},
                                                    {QStringLiteral("DistinguishedName"), QString()},
                                                    {QStringLiteral("Driver"), driverPath},
                                                    {QStringLiteral("Host"), QStringLiteral("localhost")},
                                                    {QStringLiteral("Port"), QStringLiteral("2399")},
                                                    {QStringLiteral("ServerDataSource"), serverDataSource},
                                                    {QStringLiteral("UseLDAP"), QStringLiteral("0")}});
}

bool RemoveOdbcDataSourceEntry(const QString& dataSourceName) {
  return platform::RemoveDataSourceValue(platform::kDataSourcesSection, dataSourceName);
}

bool DeleteDsnKey(const QString& dataSourceName) {
  RemoveOdbcDataSourceEntry(dataSourceName);
  return platform::RemoveDataSource(dataSourceName);
}
