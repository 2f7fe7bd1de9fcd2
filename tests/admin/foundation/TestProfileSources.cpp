#include "admin/foundation/AppLog.h"
#include "admin/foundation/DBConnManager.h"
#include "admin/foundation/DBConnManagerForProc.h"
#include "admin/foundation/LogFile.h"
#include "admin/foundation/ProfileColumnTypes.h"
#include "admin/foundation/ProfileDataReader.h"
#include "admin/foundation/ProfileQueryText.h"
#include "admin/foundation/SqlTypes.h"
#include "shared/data/SourceKinds.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/LogReader.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include <QFileInfo>

#include <memory>

using odbctest::Engine;
using testsupport::LogEntry;

namespace {

const QString kCustomersQuery = QStringLiteral("SELECT customer_id, company_name FROM customers ORDER BY customer_id");

// Writes the administration program's log into the test's machine root while it lives.
class TestLog {
 public:
  TestLog() : file_(testsupport::CurrentMachineRoot() + u'/', QStringLiteral("DesktopLog.log")) { SetAppLog(&file_); }
  ~TestLog() { SetAppLog(nullptr); }
  TestLog(const TestLog&) = delete;
  TestLog& operator=(const TestLog&) = delete;

  QList<int> Codes() const {
    QList<int> codes;
    for (const LogEntry& entry : testsupport::ReadLogEntries(file_.FilePath())) codes.append(entry.code);
    return codes;
  }
  QString TextOf(int code) const {
    for (const LogEntry& entry : testsupport::ReadLogEntries(file_.FilePath())) {
      if (entry.code == code) return entry.text;
    }
    return {};
  }

 private:
  CLogFile file_;
};

// The engine's test database as a profile reaches it: the SQLite file (kind 1) or the server's
// data source name (kind 0) with its user and password.
struct EngineSource {
  QString pathOrName;
  QString user;
  QString password;
  uint8_t kind = 0;
};

// The customers table of the servers' scripts, made in a fresh SQLite file.
void MakeSqliteCustomers(admin::CDatabseConnection* connection) {
  for (const QString& statement :
       {QStringLiteral("CREATE TABLE customers (customer_id INTEGER PRIMARY KEY, company_name VARCHAR(60) NOT NULL, "
                       "city VARCHAR(30))"),
        QStringLiteral("INSERT INTO customers VALUES (1, 'Alder Outfitters', 'Uppsala'), (2, 'Brookside Traders', "
                       "'Galway'), (3, 'Cedar Lane Books', 'Porto')")}) {
    ASSERT_TRUE(SQL_SUCCEEDED(connection->ExecuteStatement(statement)))
        << qPrintable(connection->GetLastStatementDiagnostic().message);
  }
}

class ProfileSourceEngine : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    testsupport::MessageBoxRecorder::Global().Clear();
    {
      // Registers the server's name or makes the SQLite file; the objects under test connect anew.
      admin::CDatabseConnection preparation;
      CONNECT_OR_SKIP(GetParam(), &preparation);
      if (GetParam() == Engine::Sqlite) MakeSqliteCustomers(&preparation);
    }
    if (GetParam() == Engine::Sqlite) {
      source_ = {odbctest::SqliteTestFile(), QString(), QString(), sourcekind::kMdb};
    } else {
      source_ = {odbctest::ServerDataSourceName(GetParam()), odbctest::ServerUser(GetParam()),
                 odbctest::ServerPassword(GetParam()), sourcekind::kNamedDataSource};
    }
  }

  ProfileRecord Profile() const {
    ProfileRecord profile;
    profile.DBType = QString::number(source_.kind);
    if (source_.kind == sourcekind::kNamedDataSource) {
      profile.DB_DSN = source_.pathOrName;
    } else {
      const QFileInfo file(source_.pathOrName);
      profile.Path = file.absolutePath() + u'/';
      profile.tempPath = profile.Path;
      profile.DB_DSN = file.fileName();
    }
    profile.UserName = source_.user;
    profile.Password = source_.password;
    profile.Query = kCustomersQuery;
    return profile;
  }

  int Connect(CDBConnManager* manager, QString* error) const {
    return manager->ConnectByType(source_.pathOrName, source_.user, source_.password, error, source_.kind);
  }

  EngineSource source_;
};

TEST_P(ProfileSourceEngine, ManagerRunsAQueryAndStaysUsableAfterAFailedOne) {
  const TestLog log;
  CDBConnManager manager;
  QString error;
  ASSERT_EQ(Connect(&manager, &error), 1) << qPrintable(error);
  EXPECT_EQ(manager.GetActiveHandler(), nullptr);
  ASSERT_EQ(manager.FetchContents(&error, kCustomersQuery), 1) << qPrintable(error);
  EXPECT_EQ(manager.GetRowCount(), 3);
  admin::CDBHandler* rows = manager.GetActiveHandler();
  ASSERT_NE(rows, nullptr);
  ASSERT_TRUE(rows->MoveToRow(1));
  EXPECT_EQ(rows->GetFieldValue(1, 1), QStringLiteral("Brookside Traders"));

  EXPECT_EQ(manager.FetchContents(&error, QStringLiteral("SELECT nothing FROM nowhere")), 0);
  EXPECT_TRUE(error.startsWith(u"ODBC Reports : \n\nSQLSTATE:")) << qPrintable(error);
  EXPECT_EQ(log.TextOf(92), error);
  EXPECT_EQ(manager.GetActiveHandler(), nullptr);
  EXPECT_EQ(manager.GetRowCount(), 0);
  // Without an error text the failure is only the result.
  EXPECT_EQ(manager.FetchContents(nullptr, QStringLiteral("SELECT nothing FROM nowhere")), 0);
  EXPECT_EQ(log.Codes().count(92), 1);

  ASSERT_EQ(manager.FetchContents(&error, kCustomersQuery), 1);
  manager.CloseConnection(false);
  EXPECT_FALSE(manager.IsConnected());
  EXPECT_EQ(manager.GetActiveHandler(), nullptr);
  EXPECT_EQ(manager.FetchContents(&error, kCustomersQuery), 0);
  EXPECT_EQ(error, QStringLiteral("Unable to Fetch Contents"));
  ASSERT_EQ(Connect(&manager, &error), 1) << qPrintable(error);
  EXPECT_EQ(manager.FetchContents(&error, kCustomersQuery), 1);
}

TEST_P(ProfileSourceEngine, ReaderOpensTheProfileAndNamesItsColumns) {
  admin::ProfileDataReader reader;
  reader.Profile() = Profile();
  EXPECT_EQ(reader.GetProfileColumnName(0), QString());
  ASSERT_EQ(reader.OpenProfileSource(), 1);
  EXPECT_EQ(reader.GetProfileColumnName(0), QString());
  ASSERT_EQ(reader.ExecuteProfileQuery(), 1);
  EXPECT_EQ(reader.GetColumnCount(), 2);
  EXPECT_EQ(reader.GetRowCount(), 3);
  EXPECT_EQ(reader.GetProfileColumnName(1), QStringLiteral("company_name"));
  EXPECT_EQ(reader.GetProfileColumnName(2), QString());
  admin::CDBHandler* rows = reader.GetActiveHandler();
  ASSERT_NE(rows, nullptr);
  ASSERT_TRUE(rows->MoveToRow(2));
  EXPECT_EQ(rows->GetFieldValue(2, 1), QStringLiteral("Cedar Lane Books"));
  reader.CloseProfileSource(false);
  EXPECT_EQ(reader.GetActiveHandler(), nullptr);
  EXPECT_EQ(reader.GetProfileColumnName(1), QString());

  QStringList names;
  QStringList types;
  ASSERT_EQ(GetProfileColumnTypes(&names, &types, Profile()), 1);
  EXPECT_EQ(names, QStringList({QStringLiteral("customer_id"), QStringLiteral("company_name")}));
  ASSERT_EQ(types.size(), 2);
  EXPECT_EQ(types[0], QStringLiteral("SQL_INTEGER"));
  EXPECT_TRUE(types[1] == u"SQL_VARCHAR" || types[1] == u"SQL_WVARCHAR") << qPrintable(types[1]);
}

INSTANTIATE_TEST_SUITE_P(Engines, ProfileSourceEngine, ::testing::ValuesIn(odbctest::AllEngines()),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });

// The servers only: long texts, kind 9 and stored procedures.
class ProfileServerSource : public ProfileSourceEngine {};

// Only a MySQL or MariaDB source reads long texts whole through the wizard's manager.
TEST_P(ProfileServerSource, LongTextsOfAMariaDbSourceArriveWhole) {
  CDBConnManager manager;
  QString error;
  ASSERT_EQ(Connect(&manager, &error), 1) << qPrintable(error);
  ASSERT_EQ(manager.FetchContents(&error, QStringLiteral("SELECT repeat('x', 1000) AS t")), 1) << qPrintable(error);
  admin::CDBHandler* rows = manager.GetActiveHandler();
  ASSERT_NE(rows, nullptr);
  ASSERT_TRUE(rows->MoveToRow(0));
  EXPECT_EQ(rows->GetFieldValue(0, 0).size(), GetParam() == Engine::MariaDb ? 1000 : 129);
}

// Kind 9 in a stored profile is a MySQL data source name.
TEST_P(ProfileServerSource, ReaderTakesKindNineAsADataSourceName) {
  admin::ProfileDataReader reader;
  reader.Profile() = Profile();
  reader.Profile().DBType = QStringLiteral("9");
  ASSERT_EQ(reader.OpenProfileSource(), 1);
  EXPECT_FALSE(reader.IsWorkbook());
  ASSERT_EQ(reader.ExecuteProfileQuery(), 1);
  EXPECT_EQ(reader.GetRowCount(), 3);
}

// The call text as the procedure page writes it for the source.
TEST_P(ProfileServerSource, ProcedureManagerCachesTheRowsOfACall) {
  CDBConnManagerForProc manager;
  QString error;
  ASSERT_EQ(manager.ConnectByType(source_.pathOrName, source_.user, source_.password, &error), 1) << qPrintable(error);
  const QString driver = GetParam() == Engine::MariaDb ? QStringLiteral("MariaDB Unicode") : QString();
  const QString callText = GetParam() == Engine::MariaDb ? QStringLiteral("call `orders_of_customer` (1, 0)")
                                                         : QStringLiteral("{call orders_of_customer(1, 0)}");
  if (GetParam() == Engine::MariaDb) {
    EXPECT_EQ(GetProcedureNameFromCall(driver, callText), QStringLiteral("orders_of_customer"));
    EXPECT_EQ(GetProcedureArgsFromCall(driver, callText), QStringLiteral("1, 0"));
  }
  ASSERT_EQ(manager.FetchContents(&error, callText), 1) << qPrintable(error);
  EXPECT_EQ(manager.GetRowCount(), 2);
  QStringList names;
  QList<int16_t> types;
  ASSERT_EQ(manager.GetColumnInfoList(&names, &types), 3);
  EXPECT_EQ(names.first(), QStringLiteral("order_id"));
  EXPECT_EQ(types.first(), ColumnKind::BigInt);
  admin::CDBHandler* rows = manager.GetActiveHandler();
  ASSERT_NE(rows, nullptr);
  EXPECT_EQ(rows->GetFieldValue(1, 0), QStringLiteral("5000000003"));

  const TestLog log;
  EXPECT_EQ(manager.FetchContents(&error, QStringLiteral("{call no_such_procedure(1)}")), 0);
  EXPECT_TRUE(error.startsWith(u"ODBC Reports : ")) << qPrintable(error);
  EXPECT_TRUE(log.Codes().isEmpty());
  EXPECT_EQ(manager.GetActiveHandler(), nullptr);
  manager.CloseConnection();
  EXPECT_EQ(manager.FetchContents(&error, callText), 0);
  EXPECT_EQ(error, QStringLiteral("Unable to Fetch Contents"));
}

INSTANTIATE_TEST_SUITE_P(Servers, ProfileServerSource, ::testing::Values(Engine::PostgreSql, Engine::MariaDb),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });

// Failures leave every object closed and able to connect again.
TEST(ProfileSources, FailedConnectsReportAndLeaveTheObjectsCloseable) {
  const TestLog log;
  const QString missing = testsupport::CurrentMachineRoot() + QStringLiteral("/missing.mdb");
  CDBConnManager manager;
  QString error;
  EXPECT_EQ(manager.ConnectByType(missing, QString(), QString(), &error, sourcekind::kMdb), 0);
  EXPECT_TRUE(error.startsWith(u"Failed to connect to database.")) << qPrintable(error);
  EXPECT_FALSE(manager.IsConnected());
  manager.CloseConnection(false);

  CDBConnManagerForProc procedures;
  EXPECT_EQ(procedures.ConnectByType(QStringLiteral("NoSuchDataSource"), QString(), QString(), &error), 0);
  EXPECT_TRUE(error.startsWith(u"Failed to connect to database.")) << qPrintable(error);
  procedures.CloseConnection();

  admin::ProfileDataReader reader;
  reader.Profile().DBType = QStringLiteral("1");
  reader.Profile().Path = testsupport::CurrentMachineRoot() + u'/';
  reader.Profile().tempPath = reader.Profile().Path;
  reader.Profile().DB_DSN = QStringLiteral("missing.mdb");
  reader.Profile().Query = kCustomersQuery;
  EXPECT_EQ(reader.OpenProfileSource(), 0);
  EXPECT_TRUE(log.TextOf(95).startsWith(u"Failed to connect to database.")) << qPrintable(log.TextOf(95));
  EXPECT_EQ(reader.ExecuteProfileQuery(), 0);
  EXPECT_EQ(log.TextOf(98), QStringLiteral("Unable to Fetch Contents"));
  reader.CloseProfileSource(false);

  reader.Profile().DBType = QStringLiteral("seven");
  EXPECT_EQ(reader.OpenProfileSource(), 0);
  EXPECT_EQ(log.Codes().count(95), 2);
  EXPECT_TRUE(log.Codes().endsWith(95));

  QStringList names;
  QStringList types;
  EXPECT_EQ(GetProfileColumnTypes(&names, &types, reader.Profile()), 0);
  EXPECT_TRUE(names.isEmpty());
}

TEST(ProfileSources, ReaderLogsTheOdbcReportOfAFailedQuery) {
  admin::CDatabseConnection preparation;
  CONNECT_OR_SKIP(Engine::Sqlite, &preparation);
  MakeSqliteCustomers(&preparation);
  preparation.DisconnectDataSource();
  const TestLog log;
  testsupport::MessageBoxRecorder::Global().Clear();
  admin::ProfileDataReader reader;
  const QFileInfo file(odbctest::SqliteTestFile());
  reader.Profile().DBType = QStringLiteral("1");
  reader.Profile().Path = file.absolutePath() + u'/';
  reader.Profile().tempPath = reader.Profile().Path;
  reader.Profile().DB_DSN = file.fileName();
  reader.Profile().Query = QStringLiteral("SELECT nothing FROM nowhere");
  ASSERT_EQ(reader.OpenProfileSource(), 1);
  EXPECT_EQ(reader.ExecuteProfileQuery(), 0);
  EXPECT_TRUE(log.TextOf(98).startsWith(u"Failed to connect to database.\n\nODBC Reports : \n\nSQLSTATE:"))
      << qPrintable(log.TextOf(98));
  reader.Profile().Query = kCustomersQuery;
  EXPECT_EQ(reader.ExecuteProfileQuery(), 1);
}

// A text profile read through a workbook's export reads the export's "New_" file, however often
// it is opened; one whose paths are the same reads its own file.
TEST(ProfileSources, ReaderPointsAQueryAtTheWorkbookExportOnce) {
  admin::ProfileDataReader reader;
  ProfileRecord& profile = reader.Profile();
  profile.DBType = QStringLiteral("4");
  profile.Path = testsupport::CurrentMachineRoot() + QStringLiteral("/books/");
  profile.tempPath = profile.Path;
  profile.DB_DSN = QStringLiteral("Orders.xlsx");
  profile.Query = QStringLiteral("SELECT * FROM \"Orders.txt\" WHERE Note = 'from \"x\"'");
  reader.OpenProfileSource();
  EXPECT_EQ(profile.Query, QStringLiteral("SELECT * FROM \"Orders.txt\" WHERE Note = 'from \"x\"'"));
  profile.tempPath = testsupport::CurrentMachineRoot() + QStringLiteral("/Temp Files/");
  reader.OpenProfileSource();
  reader.OpenProfileSource();
  EXPECT_EQ(profile.Query, QStringLiteral("SELECT * FROM \"New_Orders.txt\" WHERE Note = 'from \"x\"'"));
}

}  // namespace
