#include "admin/foundation/AppLog.h"
#include "admin/foundation/LogFile.h"
#include "admin/foundation/OdbcUtilities.h"
#include "platform/odbc/OdbcConfig.h"
#include "platform/odbc/OdbcIni.h"
#include "platform/os/MachineRoot.h"
#include "platform/registry/Registry.h"
#include "tests/support/FailedOdbcConnection.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/LogReader.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

TEST(OdbcUtilities, ParseDigits) {
  EXPECT_EQ(ParseDigits(QStringLiteral("0042")), 42);
  EXPECT_EQ(ParseDigits(QStringLiteral("4 2")), -1);
  EXPECT_EQ(ParseDigits(QString()), 0);
  EXPECT_EQ(ParseDigits(QStringLiteral("-1")), -1);
  EXPECT_EQ(ParseDigits(QStringLiteral("2147483647")), 2147483647);
  EXPECT_EQ(ParseDigits(QStringLiteral("2147483648")), -1);
  EXPECT_EQ(ParseDigits(QStringLiteral("99999999999999999999999")), -1);
  EXPECT_EQ(ParseDigits(QStringLiteral("\u0663")), -1);  // a digit of another script
}

TEST(OdbcUtilities, Vocabularies) {
  for (int code = 0; code <= 7; ++code) EXPECT_EQ(GetOperatorIndex(GetCompareOperatorText(code)), code);
  EXPECT_EQ(GetCompareOperatorText(8), QString());
  EXPECT_EQ(GetOperatorIndex(QStringLiteral("like")), -1);
  EXPECT_EQ(GetJoinOperatorText(1), QStringLiteral("OR"));
  EXPECT_EQ(GetJoinOperatorText(2), QString());
  EXPECT_EQ(GetSortOrderText(5), QStringLiteral("DESC"));
  EXPECT_EQ(GetSortOrderText(0), QStringLiteral("ASC"));
}

TEST(OdbcUtilities, SupportedTypesAndMySqlTypes) {
  for (int type : {-28, -26, -18, -17, -16, -15, -11, -10, -9, -8, -7, -6, -1, 1, 7, 12, 91, 92, 93}) {
    EXPECT_TRUE(IsSupportedSqlType(type)) << type;
  }
  for (int type : {-5, -2, -3, -4, 0, 13, 90, -27}) EXPECT_FALSE(IsSupportedSqlType(type)) << type;
  EXPECT_EQ(MySqlTypeToSqlType(QStringLiteral(" VARCHAR(45) ")), 12);
  EXPECT_EQ(MySqlTypeToSqlType(QStringLiteral("enum('a','b')")), 0);
  EXPECT_EQ(MySqlTypeToSqlType(QStringLiteral("bigint(20)")), 0);
  EXPECT_EQ(MySqlTypeToSqlType(QStringLiteral("Year")), 5);
  EXPECT_EQ(MySqlTypeToSqlType(QStringLiteral("longtext")), -1);
}

TEST(OdbcUtilities, KeywordsPiecesAndFolders) {
  EXPECT_FALSE(IsNotSqlKeyword(QStringLiteral("Se-lect")));
  EXPECT_FALSE(IsNotSqlKeyword(QStringLiteral(" DROP ")));
  EXPECT_TRUE(IsNotSqlKeyword(QStringLiteral("Orders")));
  QStringList pieces;
  EXPECT_EQ(SplitByDelimiters(QStringLiteral("a,,b"), QStringLiteral(","), &pieces), 3);
  EXPECT_EQ(pieces, QStringList({QStringLiteral("a"), QString(), QStringLiteral("b")}));
  pieces.clear();
  EXPECT_EQ(SplitByDelimiters(QStringLiteral("a;b,"), QStringLiteral(",;"), &pieces), 2);
  EXPECT_EQ(GetDirectoryPart(QStringLiteral("C:\\data\\file.mdb")), QStringLiteral("C:\\data"));
  EXPECT_EQ(GetDirectoryPart(QStringLiteral("C:\\file.mdb")), QStringLiteral("C:\\"));
  EXPECT_EQ(GetDirectoryPart(QStringLiteral("/home/ann/data/file.mdb")), QStringLiteral("/home/ann/data"));
  EXPECT_EQ(GetDirectoryPart(QStringLiteral("/file.mdb")), QStringLiteral("/"));
  EXPECT_EQ(GetDirectoryPart(QStringLiteral("file.mdb")), QString());
}

// The driver manager's own failure carries native code 0, which the connection pages take for a
// login prompt.
TEST(OdbcUtilities, ANativeCodeOfZeroIsALoginError) {
  const testsupport::FailedOdbcConnection connection;
  bool login = false;
  QString text;
  admin::IsOdbcLoginError(connection.get(), &login, &text);
  EXPECT_TRUE(login);
  EXPECT_TRUE(text.startsWith(u"SQLSTATE:IM002 \n Native Error Code:0 \n Driver Message:=' ")) << qPrintable(text);
}

// With the driver the administration program logs its name before it registers the source.
TEST(OdbcUtilities, FileMakerDataSourceWithARegisteredDriverIsLogged) {
  platform::PrepareOdbc();
  QFile drivers(platform::OdbcInstIniPath());
  ASSERT_TRUE(drivers.open(QIODevice::Append));
  drivers.write("[DataDirect 32-BIT SequeLink 5.5]\nDriver=/opt/sequelink/lib/ivslk.so\n");
  drivers.close();
  const QString folder = testsupport::CurrentMachineRoot() + QStringLiteral("/log/");
  QDir().mkpath(folder);
  CLogFile log(folder, QStringLiteral("DesktopLog.log"));
  SetAppLog(&log);
  const bool created = admin::CreateFileMakerDsn(QStringLiteral("Orders"), QStringLiteral("FileMakerTest"));
  SetAppLog(nullptr);
  ASSERT_TRUE(created);
  EXPECT_EQ(platform::DataSourceValue(QStringLiteral("FileMakerTest"), QStringLiteral("ServerDataSource")),
            QStringLiteral("Orders"));
  const QList<testsupport::LogEntry> entries = testsupport::ReadLogEntries(log.FilePath());
  ASSERT_EQ(entries.size(), 1);
  EXPECT_EQ(entries[0].code, -1);
  EXPECT_EQ(entries[0].text, QStringLiteral("ODBC Driver Name : DataDirect 32-BIT SequeLink 5.5"));
}

TEST(OdbcUtilities, TheDatabaseOfADataSource) {
  ASSERT_TRUE(platform::SetDataSourceValue(QStringLiteral("Orders"), QStringLiteral("DATABASE"),
                                           QStringLiteral("/srv/data/orders")));
  EXPECT_EQ(GetDsnDatabaseName(QStringLiteral("Orders")), QStringLiteral("/srv/data/orders"));
  EXPECT_EQ(GetDsnDatabaseName(QStringLiteral("Missing")), QString());
}

}  // namespace

namespace {

void WriteFile(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(OdbcUtilities, DeleteTempExcelCopiesTakesOnlyTheNewCopies) {
  admin::DeleteTempExcelCopies();  // no installation: nothing to do
  platform::RegistryKeyGuard key;
  ASSERT_EQ(platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\TarnwickWebLite"),
                                     platform::KEY_ALL_ACCESS, key.out()),
            platform::ERROR_SUCCESS);
  ASSERT_EQ(platform::RegSetValueEx(key.get(), QStringLiteral("InstallationPath"),
                                    platform::RegistryValue::FromString(platform::MachineRoot() + QStringLiteral("/Tarnwick/"))),
            platform::ERROR_SUCCESS);
  const QString folder =
      platform::SpecialFolderPath(platform::SpecialFolder::MyDocuments) + QStringLiteral("/Tarnwick/Temp Files");
  admin::DeleteTempExcelCopies();
  EXPECT_FALSE(QDir(folder).exists());
  QDir().mkpath(folder);
  for (const char* name : {"schema.ini", "New_Book.xlsx", "New_Sheet1.txt", "Sheet1.txt"}) {
    WriteFile(folder + u'/' + QString::fromLatin1(name));
  }
  admin::DeleteTempExcelCopies();
  EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
            (QStringList{QStringLiteral("Sheet1.txt"), QStringLiteral("schema.ini")}));
}

}  // namespace
