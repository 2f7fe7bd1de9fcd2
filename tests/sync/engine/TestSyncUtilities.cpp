#include "platform/MachineRoot.h"
#include "shared/RegistryRecords.h"
#include "sync/engine/SyncOdbc.h"
#include "sync/engine/SyncSettings.h"
#include "sync/engine/SyncSystem.h"
#include "sync/engine/SyncThreads.h"
#include "tests/support/FailedOdbcConnection.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/sync/engine/SyncTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>

using namespace std::chrono;

namespace {

void WriteFile(const QString& path, const QByteArray& content = "x") {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

// Points unixODBC at driver and data-source files in the test's machine root.
QString UseOdbcFilesOfTheRoot(const QByteArray& drivers) {
  const QString folder = platform::OdbcFolder();
  WriteFile(folder + QStringLiteral("/odbcinst.ini"), drivers);
  WriteFile(folder + QStringLiteral("/odbc.ini"), "");
  qputenv("ODBCSYSINI", QFile::encodeName(folder));
  qputenv("ODBCINI", QFile::encodeName(folder + QStringLiteral("/odbc.ini")));
  return folder + QStringLiteral("/odbc.ini");
}

}  // namespace

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

TEST(SqlText, EscapeSqlQuotes) {
  QString text = QStringLiteral("O'Brien's");
  EscapeSqlQuotes(&text);
  EXPECT_EQ(text, QStringLiteral("O''Brien''s"));
}

TEST(SyncSettings, CrackWebServiceUrl) {
  QString host;
  QString path;
  uint16_t port = 0;
  QString error;
  ASSERT_TRUE(CrackWebServiceUrl(QStringLiteral("http://ws.example.com/TarnwickWS/"), &host, &path, &port, &error));
  EXPECT_EQ(host, QStringLiteral("ws.example.com"));
  EXPECT_EQ(path, QStringLiteral("/TarnwickWS/"));
  EXPECT_EQ(port, 80);
  ASSERT_TRUE(CrackWebServiceUrl(QStringLiteral("https://ws.example.com/a/"), &host, &path, &port, &error));
  EXPECT_EQ(port, 443);
  EXPECT_FALSE(CrackWebServiceUrl(QStringLiteral("ftp://ws.example.com/"), &host, &path, &port, &error));
  EXPECT_EQ(error, QStringLiteral("<InternetCrackUrl> Error Code : 12006"));
  EXPECT_FALSE(CrackWebServiceUrl(QString(), &host, &path, &port, &error));
  EXPECT_EQ(error, QStringLiteral("<InternetCrackUrl> Error Code : 12005"));
}

TEST(SyncSettings, WithoutRecordsTheDefaultsAndNoIds) {
  EXPECT_EQ(LoadSyncSettings(), -1);
  int32_t minutes = 0;
  GetChangeDetectMinutes(&minutes);
  EXPECT_EQ(minutes, 1);
  GetBackSyncMinutes(&minutes);
  EXPECT_EQ(minutes, 2);
  QString url = QStringLiteral("x");
  GetWebServiceUrl(&url);
  EXPECT_TRUE(url.isEmpty());
  EXPECT_EQ(GetChangeDetectInterval(), milliseconds(60000));
  EXPECT_EQ(GetBackSyncInterval(), milliseconds(120000));
}

TEST(SyncSettings, LoadedFromTheSealedRecords) {
  SyncInfo syncInfo;
  syncInfo.changeDetectionMinutes = 0;
  syncInfo.backSyncMinutes = 3;
  syncInfo.webServiceUrl = "http://ws.example.com/TarnwickWS/";
  synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
  DeskInfo deskInfo;
  deskInfo.desktopName = "Desk \xC3\xA9";
  deskInfo.deviceId = "device-7";
  synctest::StoreSealedRecord(QStringLiteral("DeskInfo"), deskInfo.ToBytes());

  EXPECT_EQ(LoadSyncSettings(), 0);
  QString url;
  GetWebServiceUrl(&url);
  EXPECT_EQ(url, QStringLiteral("http://ws.example.com/TarnwickWS/"));
  EXPECT_EQ(GetDesktopIdAnsi(), QByteArray("Desk \xC3\xA9"));
  EXPECT_EQ(GetDeviceId(), QStringLiteral("device-7"));
  EXPECT_EQ(GetChangeDetectInterval(), milliseconds(0)) << "0 minutes: turns without a pause";
  EXPECT_EQ(GetBackSyncInterval(), milliseconds(180000));

  syncInfo.changeDetectionMinutes = 100000;  // beyond 32-bit milliseconds
  syncInfo.backSyncMinutes = -5;
  synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
  LoadSyncSettings();
  EXPECT_EQ(GetChangeDetectInterval(), milliseconds(6000000000));
  EXPECT_EQ(GetBackSyncInterval(), milliseconds(120000)) << "a negative interval falls back to the default";
}

TEST(SyncSystem, IsFileLocked) {
  const QString path = testsupport::CurrentMachineRoot() + QStringLiteral("/book.xls");
  EXPECT_TRUE(IsFileLocked(path)) << "missing";
  EXPECT_FALSE(QFile::exists(path)) << "the test must not create the file";
  WriteFile(path, "content");
  EXPECT_FALSE(IsFileLocked(path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("content")) << "the test must not truncate the file";
}

TEST(SyncSystem, DeleteTempExcelCopiesKeepsSchemaAndNewFiles) {
  DeleteTempExcelCopies();  // no installation, no folder: nothing happens
  synctest::PrepareInstallation();
  const QString folder = platform::SpecialFolderPath(platform::SpecialFolder::MyDocuments) +
                         QStringLiteral("/install/Temp Files");
  DeleteTempExcelCopies();
  EXPECT_FALSE(QDir(folder).exists()) << "a missing folder is not made";
  QDir().mkpath(folder);
  for (const char* name : {"Schema.INI", "New_Book.xlsx", "New_Sheet1.txt", "Sheet1.txt", "Book.xlsx"}) {
    WriteFile(folder + u'/' + QString::fromLatin1(name));
  }
  DeleteTempExcelCopies();
  EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
            (QStringList{QStringLiteral("New_Book.xlsx"), QStringLiteral("New_Sheet1.txt"), QStringLiteral("Schema.INI")}));
}

TEST(SyncSystem, OnlyTheRunningProgramItselfIsNotASecondInstance) {
  EXPECT_FALSE(IsProcessRunningTwice(QStringLiteral("TestProgram.exe")));
  EXPECT_FALSE(IsProcessRunningTwice(QStringLiteral("TestProgram.exe")));
}

// unixODBC reads the location of its driver list once per process: one test, one list file.
TEST(FileMakerDsn, RegisteredOnlyWithTheDriverAndRemovedAgain) {
  const QString dsn = QStringLiteral("TarnwickPDSN_4_TarnwickPLite");
  const QString dsnFile = UseOdbcFilesOfTheRoot("[SQLite3]\nDriver=libsqlite3odbc.so\n");
  EXPECT_EQ(GetFileMakerDriverName(), QString());
  EXPECT_EQ(GetOdbcDriverPath(), QString());
  EXPECT_FALSE(AddOdbcDataSourceEntry(dsn));
  EXPECT_FALSE(CreateFileMakerDsn(QStringLiteral("Sales"), dsn));
  EXPECT_TRUE(QSettings(dsnFile, QSettings::IniFormat).allKeys().isEmpty());

  UseOdbcFilesOfTheRoot(
      "[DataDirect 32-BIT SequeLink 5.4]\nDriver=/opt/old/sequelink.so\n\n"
      "[DataDirect 32-BIT SequeLink 5.5]\nDriver=/opt/sequelink/sequelink.so\n");
  EXPECT_EQ(GetFileMakerDriverName(), QStringLiteral("DataDirect 32-BIT SequeLink 5.5"));
  EXPECT_EQ(GetOdbcDriverPath(), QStringLiteral("/opt/sequelink/sequelink.so"));
  ASSERT_TRUE(CreateFileMakerDsn(QStringLiteral("Sales"), dsn));
  {
    const QSettings ini(dsnFile, QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("ODBC Data Sources/") + dsn).toString(), GetFileMakerDriverName());
    EXPECT_EQ(ini.value(dsn + QStringLiteral("/Driver")).toString(), QStringLiteral("/opt/sequelink/sequelink.so"));
    EXPECT_EQ(ini.value(dsn + QStringLiteral("/Host")).toString(), QStringLiteral("localhost"));
    EXPECT_EQ(ini.value(dsn + QStringLiteral("/Port")).toString(), QStringLiteral("2399"));
    EXPECT_EQ(ini.value(dsn + QStringLiteral("/ServerDataSource")).toString(), QStringLiteral("Sales"));
    EXPECT_EQ(ini.value(dsn + QStringLiteral("/UseLDAP")).toString(), QStringLiteral("0"));
  }
  EXPECT_TRUE(DeleteDsnKey(dsn));
  EXPECT_FALSE(DeleteDsnKey(dsn)) << "already gone";
  EXPECT_FALSE(RemoveOdbcDataSourceEntry(dsn));
  const QSettings ini(dsnFile, QSettings::IniFormat);
  EXPECT_FALSE(ini.contains(dsn + QStringLiteral("/Host")));
  EXPECT_FALSE(ini.contains(QStringLiteral("ODBC Data Sources/") + dsn));
}
