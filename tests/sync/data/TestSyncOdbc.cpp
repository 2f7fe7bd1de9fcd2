#include "platform/odbc/OdbcConfig.h"
#include "sync/data/SyncOdbc.h"
#include "tests/support/FailedOdbcConnection.h"

#include <gtest/gtest.h>

#include <QFile>

// The same record that the administration program takes for a login prompt: native code 0 alone
// is none here.
TEST(SyncOdbc, ANativeCodeOfZeroAloneIsNoLoginError) {
  const testsupport::FailedOdbcConnection connection;
  int flag = -1;
  QString text;
  syncservice::IsOdbcLoginError(SQL_HANDLE_DBC, connection.get(), &flag, &text);
  EXPECT_EQ(flag, 0);
  EXPECT_TRUE(text.startsWith(u"SQLSTATE:IM002 \n Native Error Code:0 \n Driver Message:=' ")) << qPrintable(text);
}

// Unlike the administration program's twin, the unattended program reports a missing driver
// only by its answer.
TEST(SyncOdbc, AFileMakerDataSourceNeedsTheDriver) {
  platform::PrepareOdbc();
  const QString dsn = QStringLiteral("TarnwickPDSN_4_TarnwickPLite");
  EXPECT_FALSE(syncservice::AddOdbcDataSourceEntry(dsn));
  EXPECT_FALSE(syncservice::CreateFileMakerDsn(QStringLiteral("Sales"), dsn));
  EXPECT_TRUE(platform::DataSourceValue(platform::kDataSourcesSection, dsn).isEmpty());

  QFile drivers(platform::OdbcInstIniPath());
  ASSERT_TRUE(drivers.open(QIODevice::Append));
  drivers.write("[DataDirect 32-BIT SequeLink 5.5]\nDriver=/opt/sequelink/sequelink.so\n");
  drivers.close();
  ASSERT_TRUE(syncservice::CreateFileMakerDsn(QStringLiteral("Sales"), dsn));
  EXPECT_EQ(platform::DataSourceValue(platform::kDataSourcesSection, dsn), QStringLiteral("DataDirect 32-BIT SequeLink 5.5"));
  EXPECT_EQ(platform::DataSourceValue(dsn, QStringLiteral("ServerDataSource")), QStringLiteral("Sales"));
}
