#include "platform/odbc/OdbcConfig.h"
#include "platform/odbc/OdbcHandle.h"
#include "shared/odbc/OdbcDiagnostics.h"
#include "tests/support/FailedOdbcConnection.h"

#include <gtest/gtest.h>

#include <QFile>

#include <utility>

#include <sqlext.h>

namespace {

// Data-source names in the machine root's odbc.ini, where unixODBC is pointed.
void WriteDataSourceFile(const QByteArray& dataSources) {
  QFile ini(platform::OdbcIniPath());
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write(dataSources);
}

}  // namespace

using testsupport::FailedOdbcConnection;

TEST(OdbcDiagnostics, TheFirstRecordOfAHandle) {
  const FailedOdbcConnection connection;
  const OdbcDiagRecord record = ReadOdbcDiagRecord(SQL_HANDLE_DBC, connection.get());
  EXPECT_EQ(record.sqlState, QStringLiteral("IM002"));
  EXPECT_EQ(record.nativeError, 0);
  EXPECT_FALSE(record.message.isEmpty());
}

TEST(OdbcDiagnostics, MessagesAreCutToTheirBuffer) {
  const FailedOdbcConnection connection;
  EXPECT_EQ(ReadOdbcDiagRecord(SQL_HANDLE_DBC, connection.get(), 11).message.size(), 10);
}

TEST(OdbcDiagnostics, AHandleWithoutARecordGivesEmptyTextsAndCodeZero) {
  const platform::OdbcHandle environment = platform::OdbcHandle::NewEnvironment();
  const OdbcDiagRecord record = ReadOdbcDiagRecord(SQL_HANDLE_ENV, environment.get());
  EXPECT_EQ(FormatOdbcDiagnostics(record, OdbcTextForm::Diagnostic),
            QStringLiteral("SQLSTATE: \n Native Error Code:0 \n Driver Message:='  '"));
}

// The free functions and the connection put a blank after each line break, the record sources
// none; a "%1" in a message stays as it is.
TEST(OdbcDiagnostics, EachFormExactly) {
  const OdbcDiagRecord record{QStringLiteral("42S02"), -1146, QStringLiteral("no table %1")};
  const std::pair<OdbcTextForm, const char16_t*> cases[] = {
      {OdbcTextForm::Diagnostic, u"SQLSTATE:42S02 \n Native Error Code:-1146 \n Driver Message:=' no table %1 '"},
      {OdbcTextForm::ConnectFailure,
       u"Failed to connect to database.\n\nODBC Reports : \n\n SQLSTATE:42S02 \n Native Error Code:-1146 \n Driver "
       u"Message:=' no table %1 '"},
      {OdbcTextForm::SourceReport,
       u"ODBC Reports : \n\nSQLSTATE:42S02 \nNative Error Code:-1146 \nDriver Message:=' no table %1 '"},
      {OdbcTextForm::SourceConnectFailure,
       u"Failed to connect to database.\n\nODBC Reports : \n\nSQLSTATE:42S02 \nNative Error Code:-1146 \nDriver "
       u"Message:=' no table %1 '"},
  };
  for (const auto& [form, text] : cases) {
    EXPECT_EQ(FormatOdbcDiagnostics(record, form), QString::fromUtf16(text)) << static_cast<int>(form);
  }
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
