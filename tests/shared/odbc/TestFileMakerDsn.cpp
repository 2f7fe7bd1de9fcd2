#include "platform/odbc/OdbcConfig.h"
#include "platform/odbc/OdbcIni.h"
#include "shared/odbc/FileMakerDsn.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

void AddDrivers(const QByteArray& sections) {
  platform::PrepareOdbc();
  QFile drivers(platform::OdbcInstIniPath());
  ASSERT_TRUE(drivers.open(QIODevice::Append));
  drivers.write(sections);
}

platform::OdbcIni DataSources() {
  QFile file(platform::OdbcIniPath());
  return platform::OdbcIni::Parse(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
}

}  // namespace

TEST(FileMakerDsn, WithoutTheDriverNothingIsWritten) {
  platform::PrepareOdbc();
  EXPECT_EQ(FindFileMakerDriverName(), QString());
  EXPECT_EQ(GetOdbcDriverPath(), QString());
  EXPECT_FALSE(WriteFileMakerEntries(QStringLiteral("Sales"), QStringLiteral("FileMakerTest")));
  EXPECT_EQ(DataSources().FindSection(QStringLiteral("FileMakerTest")), nullptr);
}

TEST(FileMakerDsn, TheLastSequeLinkDriverServesAndItsEntriesComeInOrderAndGoAgain) {
  AddDrivers("[DataDirect 32-BIT SequeLink 5.4]\nDriver=/opt/old/sequelink.so\n\n"
             "[DataDirect 32-BIT SequeLink 5.5]\nDriver=/opt/sequelink/lib/ivslk.so\n");
  const QString driver = QStringLiteral("DataDirect 32-BIT SequeLink 5.5");
  const QString dsn = QStringLiteral("FileMakerTest");
  EXPECT_EQ(FindFileMakerDriverName(), driver);
  EXPECT_EQ(GetOdbcDriverPath(), QStringLiteral("/opt/sequelink/lib/ivslk.so"));
  ASSERT_TRUE(ListDataSource(dsn, driver));
  ASSERT_TRUE(WriteFileMakerEntries(QStringLiteral("Orders"), dsn));
  {
    const platform::OdbcIni ini = DataSources();
    EXPECT_EQ(ini.Value(platform::kDataSourcesSection, dsn), driver);
    QStringList entries;
    for (const auto& entry : ini.FindSection(dsn)->entries) entries.append(entry.key + u'=' + entry.value);
    EXPECT_EQ(entries, QStringList({QStringLiteral("Description="), QStringLiteral("DistinguishedName="),
                                    QStringLiteral("Driver=/opt/sequelink/lib/ivslk.so"),
                                    QStringLiteral("Host=localhost"), QStringLiteral("Port=2399"),
                                    QStringLiteral("ServerDataSource=Orders"), QStringLiteral("UseLDAP=0")}));
  }
  EXPECT_TRUE(DeleteDsnKey(dsn));
  EXPECT_FALSE(DeleteDsnKey(dsn)) << "already gone";
  EXPECT_FALSE(RemoveOdbcDataSourceEntry(dsn));
  const platform::OdbcIni ini = DataSources();
  EXPECT_EQ(ini.FindSection(dsn), nullptr);
  EXPECT_TRUE(ini.Value(platform::kDataSourcesSection, dsn).isEmpty());
}
