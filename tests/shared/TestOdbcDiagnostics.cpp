#include "platform/MachineRoot.h"
#include "shared/OdbcDiagnostics.h"

#include <gtest/gtest.h>

#include <QFile>

#include <sqlext.h>

namespace {

// A connection handle whose connect to an unknown data source left a diagnostic record.
class FailedConnection {
 public:
  FailedConnection() {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
    const QString name = QStringLiteral("NoSuchDataSource");
    SQLConnectW(dbc_, const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(name.utf16())), SQL_NTS, nullptr, 0,
                nullptr, 0);
  }
  ~FailedConnection() {
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
  }
  FailedConnection(const FailedConnection&) = delete;
  FailedConnection& operator=(const FailedConnection&) = delete;

  SQLHDBC get() const { return dbc_; }

 private:
  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
};

// Points unixODBC at data-source files in the test's machine root.
void UseOdbcFilesOfTheRoot(const QByteArray& dataSources) {
  const QString folder = platform::OdbcFolder();
  QFile ini(folder + QStringLiteral("/odbc.ini"));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write(dataSources);
  ini.close();
  qputenv("ODBCINI", QFile::encodeName(ini.fileName()));
  qputenv("ODBCSYSINI", QFile::encodeName(folder));
}

}  // namespace

TEST(OdbcDiagnostics, TheFirstRecordInBothTexts) {
  const FailedConnection connection;
  const OdbcDiagRecord record = ReadOdbcDiagRecord(SQL_HANDLE_DBC, connection.get());
  EXPECT_EQ(record.sqlState, QStringLiteral("IM002"));
  EXPECT_FALSE(record.message.isEmpty());

  QString text;
  FormatOdbcDiagnostics(SQL_HANDLE_DBC, connection.get(), &text);
  EXPECT_EQ(text, QStringLiteral("SQLSTATE:IM002 \n Native Error Code:%1 \n Driver Message:=' %2 '")
                      .arg(record.nativeError)
                      .arg(record.message));
  FormatConnectError(SQL_HANDLE_DBC, connection.get(), &text);
  EXPECT_TRUE(text.startsWith(u"Failed to connect to database.\n\nODBC Reports : \n\n SQLSTATE:IM002 \n Native Error Code:"))
      << text.toStdString();
}

TEST(OdbcDiagnostics, MessagesAreCutToTheirBuffer) {
  const FailedConnection connection;
  EXPECT_EQ(ReadOdbcDiagRecord(SQL_HANDLE_DBC, connection.get(), 11).message.size(), 10);
}

TEST(OdbcDiagnostics, AHandleWithoutARecordGivesEmptyTexts) {
  SQLHENV env = SQL_NULL_HENV;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  QString text;
  FormatOdbcDiagnostics(SQL_HANDLE_ENV, env, &text);
  EXPECT_EQ(text, QStringLiteral("SQLSTATE: \n Native Error Code:0 \n Driver Message:='  '"));
  SQLFreeHandle(SQL_HANDLE_ENV, env);
}

TEST(OdbcDiagnostics, LoginWordsAndStates) {
  struct Case {
    const char* state;
    const char* message;
    bool login;
  };
  const Case cases[] = {
      {"28000", "access refused", true},    {"HY000", "Login failed for x", true},
      {"08001", "bad Password", true},      {"HY000", "unknown user", true},
      {"37000", "", true},                  {"42000", "syntax", true},
      {"42S02", "no such table", false},    {"IM002", "Data source name not found", false},
  };
  for (const Case& c : cases) {
    const OdbcDiagRecord record{QString::fromLatin1(c.state), 0, QString::fromLatin1(c.message)};
    EXPECT_EQ(MentionsLogin(record), c.login) << c.state << " " << c.message;
  }
}

TEST(OdbcDiagnostics, TheDriverOfADataSourceName) {
  UseOdbcFilesOfTheRoot("[ODBC Data Sources]\nSalesDsn=Test Driver\n\n[SalesDsn]\nDriver=Test Driver\n");
  EXPECT_EQ(GetDataSourceDriver(QStringLiteral("SalesDsn")), QStringLiteral("Test Driver"));
  EXPECT_EQ(GetDataSourceDriver(QStringLiteral("salesdsn")), QString()) << "names match exactly";
  EXPECT_EQ(GetDataSourceDriver(QStringLiteral("Other")), QString());
}
