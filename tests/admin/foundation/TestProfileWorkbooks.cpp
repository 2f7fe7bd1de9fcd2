#include "admin/foundation/AppLog.h"
#include "admin/foundation/DBConnManager.h"
#include "admin/foundation/LogFile.h"
#include "admin/foundation/ProfileColumnTypes.h"
#include "admin/foundation/ProfileDataReader.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/LogReader.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <QFile>

using odbctest::Engine;

namespace {

class ProfileWorkbook : public ::testing::Test {
 protected:
  void SetUp() override { SetAppLog(&log_); }
  void TearDown() override { SetAppLog(nullptr); }

  static QString Folder() { return testsupport::CurrentMachineRoot() + QStringLiteral("/books/"); }

  // Orders: a header and two rows from A1; Items: one cell.
  static QString WriteBook(const QString& fileName) {
    EXPECT_TRUE(QDir().mkpath(Folder()));
    const QString path = Folder() + fileName;
    testsupport::XlsxFixture fixture(path);
    lxw_worksheet* orders = fixture.AddSheet("Orders");
    worksheet_write_string(orders, 0, 0, "Customer", nullptr);
    worksheet_write_string(orders, 0, 1, "Amount", nullptr);
    worksheet_write_string(orders, 1, 0, "Alder Outfitters", nullptr);
    worksheet_write_number(orders, 1, 1, 12.4, fixture.NumberFormat("0.00"));
    worksheet_write_string(orders, 2, 0, "Brookside Traders", nullptr);
    worksheet_write_number(orders, 2, 1, 8, nullptr);
    worksheet_write_string(fixture.AddSheet("Items"), 0, 0, "Item", nullptr);
    EXPECT_TRUE(fixture.Close());
    return path;
  }

  static ProfileRecord WorkbookProfile(uint8_t kind, const QString& fileName) {
    ProfileRecord profile;
    profile.DBType = QString::number(kind);
    profile.Path = Folder();
    profile.tempPath = Folder();
    profile.DB_DSN = fileName;
    profile.Query = QStringLiteral("Orders");
    return profile;
  }

  QString LoggedText(int code) const {
    for (const testsupport::LogEntry& entry : testsupport::ReadLogEntries(log_.FilePath())) {
      if (entry.code == code) return entry.text;
    }
    return {};
  }

  CLogFile log_{testsupport::CurrentMachineRoot() + u'/', QStringLiteral("DesktopLog.log")};
};

// .xlsx, .xlsm, .xlsb and any other file go to the workbook model (which tells formats apart
// by content).
TEST_F(ProfileWorkbook, ManagerReadsTheSheetsOfAWorkbook) {
  const QString path = WriteBook(QStringLiteral("book.xlsx"));
  for (const uint8_t kind : {7, 8, 9, 11}) {
    SCOPED_TRACE(kind);
    CDBConnManager manager;
    QString error;
    ASSERT_EQ(manager.ConnectByType(path, QString(), QString(), &error, kind), 1) << qPrintable(error);
    EXPECT_TRUE(manager.IsWorkbook());
    ASSERT_EQ(manager.FetchContents(&error, QStringLiteral("Orders")), 1);
    EXPECT_EQ(manager.GetRowCount(), 3);
    admin::CDBHandler* rows = manager.GetActiveHandler();
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->GetColumnCount(), 2);
    EXPECT_EQ(rows->GetColumnName(1), QStringLiteral("B"));
    EXPECT_EQ(rows->GetFieldValue(1, 1), QStringLiteral("12.40"));
  }
}

TEST_F(ProfileWorkbook, ManagerReportsAMissingSheetAndSwitchesToAnOdbcSource) {
  CDBConnManager manager;
  QString error;
  ASSERT_EQ(manager.ConnectByType(WriteBook(QStringLiteral("book.xlsx")), QString(), QString(), &error, 7), 1);
  EXPECT_EQ(manager.FetchContents(&error, QStringLiteral("orders")), 0);
  EXPECT_EQ(error, QStringLiteral("Unable to Fetch Contents"));
  EXPECT_EQ(LoggedText(92), error);
  EXPECT_EQ(manager.GetActiveHandler(), nullptr);
  EXPECT_EQ(manager.FetchContents(&error, QStringLiteral("Items")), 1);
  EXPECT_EQ(manager.GetRowCount(), 1);

  admin::CDatabseConnection preparation;
  CONNECT_OR_SKIP(Engine::Sqlite, &preparation);
  preparation.DisconnectDataSource();
  ASSERT_EQ(manager.ConnectByType(odbctest::SqliteTestFile(), QString(), QString(), &error, 1), 1)
      << qPrintable(error);
  EXPECT_FALSE(manager.IsWorkbook());
  EXPECT_EQ(manager.FetchContents(&error, QStringLiteral("SELECT 1 AS one")), 1) << qPrintable(error);
  EXPECT_EQ(manager.GetActiveHandler()->GetColumnName(0), QStringLiteral("one"));
}

TEST_F(ProfileWorkbook, ManagerRefusesAWorkbookItCannotRead) {
  const QString path = Folder() + QStringLiteral("book.xlsb");
  ASSERT_TRUE(QDir().mkpath(Folder()));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("PK\x03\x04 not a package");
  file.close();
  CDBConnManager manager;
  QString error;
  EXPECT_EQ(manager.ConnectByType(path, QString(), QString(), &error, 9), 0);
  EXPECT_EQ(error, QStringLiteral("Unable To Connect"));
  EXPECT_FALSE(manager.IsConnected());
  EXPECT_EQ(manager.FetchContents(&error, QStringLiteral("Orders")), 0);
  manager.CloseConnection(false);
}

// Kinds 7, 8 and 11 open the workbook at Path + DB_DSN and read the sheet the query names.
TEST_F(ProfileWorkbook, ReaderReadsTheSheetTheQueryNames) {
  WriteBook(QStringLiteral("book.xlsx"));
  for (const uint8_t kind : {7, 8, 11}) {
    SCOPED_TRACE(kind);
    admin::ProfileDataReader reader;
    reader.Profile() = WorkbookProfile(kind, QStringLiteral("book.xlsx"));
    ASSERT_EQ(reader.OpenProfileSource(), 1);
    EXPECT_TRUE(reader.IsWorkbook());
    ASSERT_EQ(reader.ExecuteProfileQuery(), 1);
    EXPECT_EQ(reader.GetRowCount(), 3);
    EXPECT_EQ(reader.GetColumnCount(), 2);
    EXPECT_EQ(reader.GetProfileColumnName(0), QStringLiteral("A"));
    EXPECT_EQ(reader.GetProfileColumnName(2), QString());
    ASSERT_NE(reader.GetActiveHandler(), nullptr);
    EXPECT_EQ(reader.GetActiveHandler()->GetFieldValue(2, 0), QStringLiteral("Brookside Traders"));
  }
  QStringList names;
  QStringList types;
  ASSERT_EQ(GetProfileColumnTypes(&names, &types, WorkbookProfile(7, QStringLiteral("book.xlsx"))), 1);
  EXPECT_EQ(names, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
  EXPECT_EQ(types, (QStringList{QStringLiteral("SQL_CHAR"), QStringLiteral("SQL_CHAR")}));
}

TEST_F(ProfileWorkbook, ReaderLogsAWorkbookOrSheetItCannotOpen) {
  admin::ProfileDataReader reader;
  reader.Profile() = WorkbookProfile(7, QStringLiteral("missing.xlsx"));
  EXPECT_EQ(reader.OpenProfileSource(), 0);
  EXPECT_EQ(LoggedText(96), QStringLiteral("Unable To Connect"));
  EXPECT_EQ(reader.ExecuteProfileQuery(), 0);
  EXPECT_EQ(LoggedText(98), QStringLiteral("Unable to Fetch Contents"));
  reader.CloseProfileSource(false);

  WriteBook(QStringLiteral("book.xlsx"));
  reader.Profile() = WorkbookProfile(8, QStringLiteral("book.xlsx"));
  reader.Profile().Query = QStringLiteral("No Such Sheet");
  ASSERT_EQ(reader.OpenProfileSource(), 1);
  EXPECT_EQ(reader.ExecuteProfileQuery(), 0);
  EXPECT_EQ(reader.GetColumnCount(), 0);
  EXPECT_EQ(reader.GetActiveHandler(), nullptr);
  reader.CloseProfileSource(false);
  EXPECT_FALSE(reader.IsConnected());
}

}  // namespace
