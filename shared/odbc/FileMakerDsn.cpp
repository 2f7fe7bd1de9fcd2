#include "shared/odbc/FileMakerDsn.h"

#include "platform/OdbcConfig.h"

QString FileMakerDriverName() {
  platform::PrepareOdbc();
  QString found;
  for (const QString& driver : platform::DriverNames()) {
    if (driver.contains(u"DataDirect 32-BIT SequeLink")) found = driver;
  }
  return found;
}

QString FileMakerDriverPath() {
  const QString driver = FileMakerDriverName();
  return driver.isEmpty() ? QString() : platform::DriverValue(driver, QStringLiteral("Driver"));
}

bool ListDataSource(const QString& dataSourceName, const QString& driverName) {
  return platform::SetDataSourceValue(platform::kDataSourcesSection, dataSourceName, driverName);
}

bool WriteFileMakerEntries(const QString& serverDataSource, const QString& dataSourceName) {
  const QString driverPath = FileMakerDriverPath();
  if (driverPath.isEmpty()) return false;
  return platform::WriteDataSource(dataSourceName, {{QStringLiteral("Description"), QString()},
                                                    {QStringLiteral("DistinguishedName"), QString()},
                                                    {QStringLiteral("Driver"), driverPath},
                                                    {QStringLiteral("Host"), QStringLiteral("localhost")},
                                                    {QStringLiteral("Port"), QStringLiteral("2399")},
                                                    {QStringLiteral("ServerDataSource"), serverDataSource},
                                                    {QStringLiteral("UseLDAP"), QStringLiteral("0")}});
}

bool UnlistDataSource(const QString& dataSourceName) {
  return platform::RemoveDataSourceValue(platform::kDataSourcesSection, dataSourceName);
}

bool RemoveListedDataSource(const QString& dataSourceName) {
  UnlistDataSource(dataSourceName);
  return platform::RemoveDataSource(dataSourceName);
}
