#include "platform/OdbcConfig.h"
#include "platform/OdbcHandle.h"
#include "platform/OdbcText.h"
#include "shared/odbc/OdbcDiagnostics.h"

#include <gtest/gtest.h>

#include <QFile>

#include <sqlext.h>

namespace {

// A connection handle whose connect to an unknown data source left a diagnostic record.
class FailedConnection {
 public:
  FailedConnection()
      : environment_(platform::OdbcHandle::NewEnvironment()),
        connection_(platform::OdbcHandle::Allocate(SQL_HANDLE_DBC, environment_.get())) {
    const QString name = QStringLiteral("NoSuchDataSource");
    SQLConnectW(connection_.get(), platform::SqlText(name), SQL_NTS, nullptr, 0, nullptr, 0);
  }

  SQLHDBC get() const { return connection_.get(); }

 private:
  platform::OdbcHandle environment_;
  platform::OdbcHandle connection_;
};

// Data-source names in the machine root's odbc.ini, where unixODBC is pointed.
void WriteDataSourceFile(const QByteArray& dataSources) {
  QFile ini(platform::OdbcIniPath());
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write(dataSources);
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
  const platform::OdbcHandle environment = platform::OdbcHandle::NewEnvironment();
  QString text;
  FormatOdbcDiagnostics(SQL_HANDLE_ENV, environment.get(), &text);
  EXPECT_EQ(text, QStringLiteral("SQLSTATE: \n Native Error Code:0 \n Driver Message:='  '"));
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
  WriteDataSourceFile("[ODBC Data Sources]\nSalesDsn=Test Driver\n\n[SalesDsn]\nDriver=Test Driver\n");
  EXPECT_EQ(GetDataSourceDriver(QStringLiteral("SalesDsn")), QStringLiteral("Test Driver"));
  EXPECT_EQ(GetDataSourceDriver(QStringLiteral("salesdsn")), QString()) << "names match exactly";
  EXPECT_EQ(GetDataSourceDriver(QStringLiteral("Other")), QString());
}
