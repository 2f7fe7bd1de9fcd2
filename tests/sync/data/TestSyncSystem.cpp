#include "platform/os/MachineRoot.h"
#include "sync/data/SyncSystem.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SyncInstallation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

void WriteFile(const QString& path, const QByteArray& content = "x") {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

}  // namespace

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

// An office suite does not lock the workbook it has open; its lock file beside it tells.
TEST(SyncSystem, IsFileLockedWhileAnOfficeSuiteHoldsTheWorkbook) {
  const QString folder = testsupport::CurrentMachineRoot();
  WriteFile(folder + QStringLiteral("/book.xlsx"));
  for (const char* lockFile : {"/.~lock.book.xlsx#", "/~$book.xlsx"}) {
    const QString lock = folder + QString::fromLatin1(lockFile);
    WriteFile(lock);
    EXPECT_TRUE(IsFileLocked(folder + QStringLiteral("/book.xlsx"))) << lockFile;
    QFile::remove(lock);
  }
  WriteFile(folder + QStringLiteral("/.~lock.other.xlsx#"));
  EXPECT_FALSE(IsFileLocked(folder + QStringLiteral("/book.xlsx"))) << "another workbook's lock";
}

TEST(SyncSystem, DeleteTempExcelCopiesKeepsSchemaAndNewFiles) {
  syncservice::DeleteTempExcelCopies();  // no installation, no folder: nothing happens
  synctest::PrepareInstallation();
  const QString folder = platform::SpecialFolderPath(platform::SpecialFolder::MyDocuments) +
                         QStringLiteral("/install/Temp Files");
  syncservice::DeleteTempExcelCopies();
  EXPECT_FALSE(QDir(folder).exists()) << "a missing folder is not made";
  QDir().mkpath(folder);
  for (const char* name : {"Schema.INI", "New_Book.xlsx", "New_Sheet1.txt", "Sheet1.txt", "Book.xlsx"}) {
    WriteFile(folder + u'/' + QString::fromLatin1(name));
  }
  syncservice::DeleteTempExcelCopies();
  EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
            (QStringList{QStringLiteral("New_Book.xlsx"), QStringLiteral("New_Sheet1.txt"), QStringLiteral("Schema.INI")}));
}

// A second instance is the sync program's own test (a second start runs no threads); here the
// lock cannot be had at all, which must neither stop the program nor pass unlogged.
TEST(SyncSystem, AnInstanceLockThatCannotBeTakenIsLoggedAndLetsTheProgramRun) {
  synctest::PrepareInstallation();
  ASSERT_TRUE(QDir().mkpath(platform::RunFolder() + QStringLiteral("/TestProgram.instance")));
  EXPECT_FALSE(IsProcessRunningTwice(QStringLiteral("TestProgram.exe")));
  EXPECT_TRUE(synctest::ReadLog(QStringLiteral("SyncServiceLog.log"))
                  .contains(QStringLiteral("> <202> Error to get process handle (Error Code : 21).\r\n")));
}
