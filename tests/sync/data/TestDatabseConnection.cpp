#include "platform/odbc/OdbcConfig.h"
#include "shared/contract/DataSourceNames.h"
#include "shared/data/SourceKinds.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/ExcelLock.h"
#include "sync/data/MutexSharedMemory.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/XlsxFixture.h"
#include "tests/sync/data/SyncTestEngines.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include <QFile>

namespace {

const QString kName = datasources::kSyncProfile;
const QString kBackSyncName = datasources::kBackSyncProfile;

bool IsRegistered(const QString& name) { return !platform::DataSourceValue(name, QStringLiteral("Driver")).isEmpty(); }

QString RootFile(const QString& name) { return testsupport::CurrentMachineRoot() + u'/' + name; }

int32_t ExcelKeyValue() {
  CMutexSharedMemory table(false, QStringLiteral("MSEXCEL"), 100);
  return table.GetVariableValue(QString::fromUtf16(ExcelLock::kVariableName), -1);
}

// Gives up after `slices` looks, so a wait that should not end fails instead of hanging.
std::function<bool()> GiveUpAfter(int slices) {
  auto looks = std::make_shared<int>(0);
  return [looks, slices] { return ++*looks > slices; };
}

}  // namespace

TEST(SyncDatabseConnection, TheLockTableHasTheExcelKeyFromTheFirstConnection) {
  const syncservice::CDatabseConnection connection;
  EXPECT_EQ(ExcelKeyValue(), 0);
}

TEST(SyncDatabseConnection, AFileNameLivesFromConnectToDisconnectAndStatementsRun) {
  syncservice::CDatabseConnection connection;
  QString unavailable;
  ASSERT_TRUE(synctest::ConnectEngine(odbctest::Engine::Sqlite, &connection, &unavailable)) << qPrintable(unavailable);
  EXPECT_TRUE(IsRegistered(kName));
  EXPECT_EQ(connection.GetDriverKind(), 1);
  EXPECT_TRUE(SQL_SUCCEEDED(connection.ExecuteStatement(QStringLiteral("CREATE TABLE t (a INTEGER)"))));
  EXPECT_EQ(connection.ExecuteStatement(QStringLiteral("INSERT INTO missing VALUES (1)")), SQL_ERROR);
  EXPECT_TRUE(connection.GetLastError().startsWith(u"SQLSTATE:")) << qPrintable(connection.GetLastError());
  connection.DisconnectDataSource();
  EXPECT_FALSE(connection.IsConnected());
  EXPECT_FALSE(IsRegistered(kName));
}

TEST(SyncDatabseConnection, AFailedConnectLeavesNoRegisteredName) {
  syncservice::CDatabseConnection connection;
  QString error;
  EXPECT_EQ(connection.ConnectDataSource(kBackSyncName, 1, RootFile(QStringLiteral("missing.mdb")), QString(),
                                         QString(), &error, false),
            0);
  EXPECT_TRUE(error.startsWith(u"Failed to connect to database.\n\nODBC Reports : \n\n SQLSTATE:")) << qPrintable(error);
  EXPECT_FALSE(IsRegistered(kBackSyncName));
  EXPECT_FALSE(QFile::exists(RootFile(QStringLiteral("missing.mdb"))));
}

TEST(SyncDatabseConnection, KindsWithoutADriverAndFileMakerWithoutItsDriverAreRefused) {
  syncservice::CDatabseConnection connection;
  QString error;
  EXPECT_EQ(connection.ConnectDataSource(kName, 8, RootFile(QStringLiteral("a.xlsm")), QString(), QString(), &error,
                                         false),
            0);
  EXPECT_TRUE(error.contains(u"source kind 8")) << qPrintable(error);
  error.clear();
  EXPECT_EQ(connection.ConnectDataSource(kName, sourcekind::kFileMaker, QStringLiteral("C:\\Data\\Shop.fp7"),
                                         QString(), QStringLiteral("Q:\\Vorn"), &error, false),
            0);
  EXPECT_TRUE(error.isEmpty());
  EXPECT_FALSE(IsRegistered(kName));
  EXPECT_EQ(syncservice::CDatabseConnection::FileMakerServerDataSource(QStringLiteral("C:\\Data\\Shop.fp7")), u"Shop");
  EXPECT_EQ(syncservice::CDatabseConnection::FileMakerServerDataSource(QStringLiteral("/data/Shop.fp7")), u"Shop");
}

TEST(SyncDatabseConnection, AnXlsConnectionHoldsTheWorkbookLockUntilItDisconnects) {
  const QString workbook = RootFile(QStringLiteral("book.xls"));
  ASSERT_TRUE(testsupport::WriteXlsFixture(workbook, QStringLiteral("[('Stock', [(0, 0, 'Item', None), (1, 0, 'Bolt', None)])]")));
  syncservice::CDatabseConnection first;
  QString error;
  ASSERT_EQ(first.ConnectDataSource(kName, sourcekind::kXls, workbook, QString(), QString(), &error, true), 1)
      << qPrintable(error);
  EXPECT_TRUE(first.HoldsExcelLock());
  EXPECT_EQ(ExcelKeyValue(), 1);
  syncservice::CDatabseConnection second;
  second.SetLockGiveUp(GiveUpAfter(3));
  EXPECT_EQ(second.ConnectDataSource(kBackSyncName, sourcekind::kXls, workbook, QString(), QString(), &error,
                                     true),
            0);
  EXPECT_FALSE(second.HoldsExcelLock());
  EXPECT_FALSE(IsRegistered(kBackSyncName)) << "a connect given up leaves no name";
  second.DisconnectDataSource();
  EXPECT_TRUE(first.HoldsExcelLock()) << "a connection that does not hold the lock never gives it back";
  first.DisconnectDataSource();
  EXPECT_EQ(ExcelKeyValue(), 0);
  second.SetLockGiveUp(GiveUpAfter(3));
  EXPECT_EQ(second.ConnectDataSource(kBackSyncName, sourcekind::kXls, workbook, QString(), QString(), &error,
                                     true),
            1)
      << qPrintable(error);
  EXPECT_TRUE(second.HoldsExcelLock());
}

TEST(SyncDatabseConnection, OnlyXlsSourcesTakeTheWorkbookLock) {
  syncservice::CDatabseConnection connection;
  QString unavailable;
  ASSERT_TRUE(synctest::ConnectEngine(odbctest::Engine::Sqlite, &connection, &unavailable)) << qPrintable(unavailable);
  EXPECT_FALSE(connection.HoldsExcelLock());
  EXPECT_EQ(ExcelKeyValue(), 0);
}
