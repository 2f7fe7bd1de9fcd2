#include "admin/foundation/DatabaseHandler.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/OdbcUtilities.h"
#include "platform/odbc/OdbcConfig.h"
#include "shared/data/SourceKinds.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestPaths.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include <QDir>
#include <QFile>

using odbctest::Engine;

namespace {

const QString kAdminName = QStringLiteral("TarnwickPDSN_4_TarnwickPLite_AD");

QString RootFile(const QString& name) { return testsupport::CurrentMachineRoot() + u'/' + name; }

QByteArray OdbcIniText() {
  QFile file(platform::OdbcIniPath());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool IsRegistered(const QString& name) { return !platform::DataSourceValue(name, QStringLiteral("Driver")).isEmpty(); }

// A copy of a shipped database file in the machine root.
QString ShippedCopy(const QString& fileName) {
  const QString copy = RootFile(fileName);
  QFile::copy(testsupport::BinaryDir() + QStringLiteral("/db/") + fileName, copy);
  QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
  return copy;
}

TEST(DatabseConnection, TemporaryNameLivesFromConnectToDisconnectAndHoldsNoCredentials) {
  const QString file = ShippedCopy(QStringLiteral("SampleDB.mdb"));
  admin::CDatabseConnection connection;
  QString error;
  ASSERT_EQ(connection.ConnectDataSource(kAdminName, sourcekind::kMdb, file, QStringLiteral("admin"),
                                         QStringLiteral("s3cret;PWD=x"), &error, true),
            1)
      << qPrintable(error);
  EXPECT_TRUE(IsRegistered(kAdminName));
  EXPECT_FALSE(OdbcIniText().contains("s3cret"));
  EXPECT_FALSE(OdbcIniText().contains("admin"));
  EXPECT_EQ(connection.GetSourceKind(), sourcekind::kMdb);
  admin::CDatabaseHandler handler;
  ASSERT_EQ(handler.ExecuteQuery(connection, QStringLiteral("SELECT CompanyName FROM Customers ORDER BY CustomerID")), 1);
  EXPECT_EQ(handler.GetRowCount(), 4);
  ASSERT_TRUE(handler.MoveToRow(1));
  EXPECT_EQ(handler.GetFieldValue(1, 0), QStringLiteral("Brookside Traders"));
  handler.CloseStatement();
  connection.DisconnectDataSource();
  EXPECT_FALSE(connection.IsConnected());
  EXPECT_FALSE(IsRegistered(kAdminName));
}

TEST(DatabseConnection, AMissingFileIsAnErrorNeverANewDatabase) {
  admin::CDatabseConnection connection;
  QString error;
  EXPECT_EQ(connection.ConnectDataSource(kAdminName, sourcekind::kMdb, RootFile(QStringLiteral("gone.mdb")),
                                         QString(), QString(), &error, false),
            0);
  EXPECT_TRUE(error.startsWith(u"Failed to connect to database.\n\nODBC Reports : \n\n SQLSTATE:")) << qPrintable(error);
  EXPECT_FALSE(QFile::exists(RootFile(QStringLiteral("gone.mdb"))));
  EXPECT_FALSE(IsRegistered(kAdminName));
  EXPECT_FALSE(connection.IsConnected());
}

TEST(DatabseConnection, ConnectingAgainRemovesTheFirstTemporaryName) {
  const QString file = ShippedCopy(QStringLiteral("SampleDB.mdb"));
  admin::CDatabseConnection connection;
  ASSERT_EQ(connection.ConnectDataSource(QStringLiteral("First"), sourcekind::kMdb, file, QString(), QString(),
                                         nullptr, true),
            1);
  ASSERT_EQ(connection.ConnectDataSource(QStringLiteral("Second"), sourcekind::kAccdb, file, QString(),
                                         QString(), nullptr, true),
            1);
  EXPECT_FALSE(IsRegistered(QStringLiteral("First")));
  EXPECT_TRUE(IsRegistered(QStringLiteral("Second")));
}

TEST(DatabseConnection, KindsWithoutADriverAndUnsafePathsAreRefused) {
  admin::CDatabseConnection connection;
  for (const int kind : {9, 11, 0xFF}) {
    QString error;
    EXPECT_EQ(connection.ConnectDataSource(kAdminName, kind,
                                           RootFile(QStringLiteral("a.xlsb")), QString(), QString(), &error, true),
              0);
    EXPECT_TRUE(error.contains(QStringLiteral("source kind %1").arg(kind))) << qPrintable(error);
  }
  for (const QString& path : {RootFile(QStringLiteral("a;DBQ=b.mdb")), RootFile(QStringLiteral("{a}.mdb")),
                              RootFile(QStringLiteral("a\nb.mdb")), QString()}) {
    QString error;
    EXPECT_EQ(connection.ConnectDataSource(kAdminName, sourcekind::kMdb, path, QString(), QString(), &error, true),
              0);
    EXPECT_FALSE(error.isEmpty());
  }
  EXPECT_TRUE(OdbcIniText().isEmpty());
}

// Kind 8 goes to kind 7's driver, whose stand-in reads the workbook: a missing one is an error
// and never a new file.
TEST(DatabseConnection, AMissingWorkbookIsAnErrorAndLeavesNoName) {
  admin::CDatabseConnection connection;
  QString error;
  EXPECT_EQ(connection.ConnectDataSource(kAdminName, sourcekind::kXlsm, RootFile(QStringLiteral("b.xlsm")),
                                         QString(), QString(), &error, true),
            0);
  EXPECT_TRUE(error.contains(u"does not exist")) << qPrintable(error);
  EXPECT_FALSE(QFile::exists(RootFile(QStringLiteral("b.xlsm"))));
  EXPECT_FALSE(IsRegistered(kAdminName));
}

TEST(DatabseConnection, FileMakerWithoutItsDriverShowsTheMessageAndLeavesNothing) {
  auto& recorder = testsupport::MessageBoxRecorder::Global();
  recorder.Clear();
  admin::CDatabseConnection connection;
  EXPECT_EQ(connection.ConnectDataSource(admin::CDatabseConnection::FileMakerDataSourceName(), sourcekind::kFileMaker,
                                         QStringLiteral("C:\\data\\Orders.fp7"), QString(), QString(), nullptr, true),
            0);
  ASSERT_EQ(recorder.shown().size(), 1);
  EXPECT_EQ(recorder.shown().first().text,
            QStringLiteral("ODBC Driver For FileMaker Pro is not installed !!\r\nPlease Install ODBC Driver from "
                           "FileMaker Pro Installation CD \"\\xDBC\\ODBC Client Driver Installer\\setup.exe\"."));
  EXPECT_EQ(recorder.shown().first().caption, QStringLiteral("Tarnwick Plus Lite"));
  EXPECT_EQ(recorder.shown().first().icon(), platform::MB_ICONERROR);
  EXPECT_FALSE(OdbcIniText().contains("TarnwickPDSN"));
  EXPECT_EQ(admin::CDatabseConnection::FileMakerDatabaseName(QStringLiteral("C:\\data\\Orders.fp7")), QStringLiteral("Orders"));
  EXPECT_EQ(admin::CDatabseConnection::FileMakerDatabaseName(QStringLiteral("/data/Stock.fp7")), QStringLiteral("Stock"));
}

TEST(DatabseConnection, ShippedSettingsDatabaseHasEveryTableWithItsColumnsInOrder) {
  const QString file = ShippedCopy(QStringLiteral("UserProfileDB.mdb"));
  admin::CDatabseConnection connection;
  QString error;
  ASSERT_EQ(connection.ConnectDataSource(QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"), sourcekind::kMdb,
                                         file, QString(), QStringLiteral("pondGarue58"), &error, false),
            1)
      << qPrintable(error);
  EXPECT_EQ(platform::DataSourceValue(QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"), QStringLiteral("JournalMode")),
            QStringLiteral("WAL"));
  struct Table {
    const char* name;
    const char* columns;
  };
  const Table tables[] = {
      {"ProfileInfo", "ProfileID,DBInfo,DBType,DB_DSN,UserName,Password,Query,Path,UserList,PrimaryKeyField,"
                      "SyncDestination,tempPath,ProfileType,IsPrimaryKeySelected,SortColumnsInfo,FiltersInfo"},
      {"UserProfileStatus", "UserID,ProfileID,StatusFlag"},
      {"FormInfo", "FormID,ProfileID,FormTitle,FormInfo"},
      {"FormDetails", "FormID,TabID,TabTitle,TabFormInfo"},
      {"UserFormStatus", "FormID,UserID,StatusFlag"},
      {"UserPasswordStatus", "UserID,Password,StatusFlag"},
      {"UserInfo", "PIN,Name,Designation,Department,StatusFlag,SyncOption,SyncInterval,DeviceType"},
      {"AckFromDesktopTable", "ProfileID,RecordSource,RecordIndex,DeviceID,ResultCode,ResultText,AckID"},
  };
  for (const Table& table : tables) {
    admin::CDatabaseHandler handler;
    ASSERT_EQ(handler.ExecuteQuery(connection, QStringLiteral("SELECT * FROM %1").arg(QString::fromLatin1(table.name))), 1);
    QStringList columns;
    for (int16_t i = 0; i < handler.GetColumnCount(); ++i) columns.append(handler.GetColumnName(i));
    EXPECT_EQ(columns.join(u','), QString::fromLatin1(table.columns));
    EXPECT_EQ(handler.GetRowCount(), 0);
  }
  // Statements the settings writers run, in the form both Access and SQLite take.
  EXPECT_EQ(connection.ExecuteStatement(QStringLiteral("Insert into  UserProfileStatus (UserID, ProfileID, StatusFlag) "
                                                       "values('O''Brien', '7', 'A')")),
            SQL_SUCCESS);
  EXPECT_EQ(connection.ExecuteStatement(QStringLiteral("Delete from ProfileInfo where ProfileID = 7")), SQL_SUCCESS);
  admin::CDatabaseHandler handler;
  ASSERT_EQ(handler.ExecuteQuery(connection, QStringLiteral("SELECT * from UserProfileStatus where ProfileID = 7")), 1);
  ASSERT_TRUE(handler.MoveToRow(0));
  EXPECT_EQ(handler.GetFieldValue(0, 0), QStringLiteral("O'Brien"));
  EXPECT_EQ(handler.GetFieldValue(0, 1), QStringLiteral("7"));
}

// A reader of the settings database is not turned away while another connection writes.
TEST(DatabseConnection, SettingsDatabaseReadsWhileAnotherConnectionWrites) {
  const QString file = ShippedCopy(QStringLiteral("UserProfileDB.mdb"));
  admin::CDatabseConnection writer;
  admin::CDatabseConnection reader;
  ASSERT_EQ(writer.ConnectDataSource(QStringLiteral("UserProfileDSN_FOR_TarnwickPLite"), sourcekind::kMdb, file,
                                     QString(), QStringLiteral("pondGarue58"), nullptr, false),
            1);
  ASSERT_EQ(reader.ConnectDataSource(QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"), sourcekind::kMdb, file,
                                     QString(), QStringLiteral("pondGarue58"), nullptr, false),
            1);
  ASSERT_EQ(SQLSetConnectAttrW(writer.GetConnectionHandle(), SQL_ATTR_AUTOCOMMIT,
                               reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_AUTOCOMMIT_OFF)), SQL_IS_UINTEGER),
            SQL_SUCCESS);
  ASSERT_EQ(writer.ExecuteStatement(QStringLiteral("Insert into UserPasswordStatus (UserID, Password, StatusFlag) "
                                                   "values('u1', 'p', 'A')")),
            SQL_SUCCESS);
  admin::CDatabaseHandler handler;
  EXPECT_EQ(handler.ExecuteQuery(reader, QStringLiteral("Select * From UserPasswordStatus")), 1);
  EXPECT_EQ(handler.GetRowCount(), 0);
  SQLEndTran(SQL_HANDLE_DBC, writer.GetConnectionHandle(), SQL_COMMIT);
  EXPECT_EQ(handler.ExecuteQuery(reader, QStringLiteral("Select * From UserPasswordStatus")), 1);
  EXPECT_EQ(handler.GetRowCount(), 1);
}

// The administration program registers every file under one name in one run: each connect must
// reach the file registered last, and a missing file is never created.
TEST(DatabseConnection, OneNameRegisteredAgainReachesTheFileRegisteredLast) {
  const QString sample = ShippedCopy(QStringLiteral("SampleDB.mdb"));
  const QString settings = ShippedCopy(QStringLiteral("UserProfileDB.mdb"));
  const QString missing = RootFile(QStringLiteral("missing.xlsx"));
  admin::CDatabseConnection connection;
  admin::CDatabaseHandler handler;
  QString error;
  ASSERT_EQ(
      connection.ConnectDataSource(kAdminName, sourcekind::kMdb, sample, QString(), QString(), &error, true), 1)
      << qPrintable(error);
  EXPECT_EQ(handler.ExecuteQuery(connection, QStringLiteral("SELECT * FROM Customers")), 1);
  handler.CloseStatement();
  connection.DisconnectDataSource();

  EXPECT_EQ(
      connection.ConnectDataSource(kAdminName, sourcekind::kXlsx, missing, QString(), QString(), &error, true),
      0);
  EXPECT_FALSE(QFile::exists(missing));
  EXPECT_FALSE(connection.IsConnected());

  testsupport::XlsxFixture book(missing);
  worksheet_write_string(book.AddSheet("Sheet1"), 0, 0, "Name", nullptr);
  ASSERT_TRUE(book.Close());
  ASSERT_EQ(
      connection.ConnectDataSource(kAdminName, sourcekind::kXlsx, missing, QString(), QString(), &error, true),
      1)
      << qPrintable(error);
  EXPECT_EQ(handler.ExecuteQuery(connection, QStringLiteral("SELECT Name FROM [Sheet1$]")), 1);
  EXPECT_EQ(handler.ExecuteQuery(connection, QStringLiteral("SELECT * FROM Customers")), 0);
  handler.CloseStatement();
  connection.DisconnectDataSource();

  ASSERT_EQ(
      connection.ConnectDataSource(kAdminName, sourcekind::kMdb, settings, QString(), QString(), &error, true),
      1)
      << qPrintable(error);
  EXPECT_EQ(handler.ExecuteQuery(connection, QStringLiteral("SELECT * FROM ProfileInfo")), 1);
  EXPECT_EQ(handler.ExecuteQuery(connection, QStringLiteral("SELECT * FROM Customers")), 0);
  handler.CloseStatement();
  connection.DisconnectDataSource();
  EXPECT_FALSE(IsRegistered(kAdminName));
}

class NamedSourceEngine : public ::testing::TestWithParam<Engine> {};

TEST_P(NamedSourceEngine, DriverDescriptionAndTheMySqlFlag) {
  admin::CDatabseConnection connection;
  CONNECT_OR_SKIP(GetParam(), &connection);
  const QString name = odbctest::ServerDataSourceName(GetParam());
  const bool maria = GetParam() == Engine::MariaDb;
  EXPECT_EQ(admin::CDatabseConnection::IsMySqlDataSource(name), maria);
  EXPECT_EQ(admin::CDatabseConnection::GetMySqlFlag(), maria);
  EXPECT_FALSE(admin::CDatabseConnection::IsFoxProDataSource(name));
  EXPECT_EQ(GetDataSourceDriver(name), maria ? QStringLiteral("MariaDB Unicode") : QStringLiteral("PostgreSQL Unicode"));
  EXPECT_EQ(GetDataSourceDriver(QStringLiteral("NoSuchName")), QString());
  connection.DisconnectDataSource();
  EXPECT_TRUE(IsRegistered(name));  // a named source is the user's and stays
}

TEST_P(NamedSourceEngine, AWrongPasswordIsALoginError) {
  const QString name = odbctest::ServerDataSourceName(GetParam());
  {
    admin::CDatabseConnection connection;
    CONNECT_OR_SKIP(GetParam(), &connection);
  }
  admin::CDatabseConnection connection;
  QString error;
  EXPECT_EQ(connection.ConnectDataSource(QString(), sourcekind::kNamedDataSource, name,
                                         QStringLiteral("tarnwick"), QStringLiteral("wrong"), &error, true),
            0);
  EXPECT_TRUE(error.startsWith(u"Failed to connect to database."));
  bool login = false;
  QString text;
  admin::IsOdbcLoginError(connection.GetConnectionHandle(), &login, &text);
  EXPECT_TRUE(login) << qPrintable(text);
  EXPECT_TRUE(text.startsWith(u"SQLSTATE:"));
}

INSTANTIATE_TEST_SUITE_P(Servers, NamedSourceEngine, ::testing::Values(Engine::PostgreSql, Engine::MariaDb),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });

}  // namespace
