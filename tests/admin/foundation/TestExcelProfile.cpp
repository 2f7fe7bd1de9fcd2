#include "admin/foundation/AppLog.h"
#include "admin/foundation/ExcelProfile.h"
#include "admin/foundation/LogFile.h"
#include "platform/os/MachineRoot.h"
#include "shared/WorkbookFolder.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/LogReader.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Utf16(const QString& text) {
  return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

class ExcelProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString installation = testsupport::InstallAdmin();
    log_ = std::make_unique<CLogFile>(installation, QStringLiteral("DesktopLog.log"));
    SetAppLog(log_.get());
    folder_ = WorkbookTempFolder();
  }
  void TearDown() override { SetAppLog(nullptr); }

  QStringList LogTexts() const {
    QStringList texts;
    for (const testsupport::LogEntry& entry : testsupport::ReadLogEntries(log_->FilePath()))
      texts.append(QString::number(entry.code) + u' ' + entry.text);
    return texts;
  }

  // Data: a header, three empty rows, a row with only its last used column, an empty row and a
  // last row; Second: one row.
  static QString WriteData(const QString& path) {
    testsupport::XlsxFixture fixture(path);
    lxw_worksheet* data = fixture.AddSheet("Data");
    worksheet_write_string(data, 0, 0, "Name", nullptr);
    worksheet_write_string(data, 0, 2, "Note", nullptr);
    worksheet_write_string(data, 4, 2, "only last", nullptr);
    worksheet_write_string(data, 6, 0, "Zed", nullptr);
    worksheet_write_string(fixture.AddSheet("Second"), 0, 0, "x", nullptr);
    EXPECT_TRUE(fixture.Close());
    return path;
  }

  std::unique_ptr<CLogFile> log_;
  QString folder_;
};

TEST_F(ExcelProfileTest, CleansACopyAndExportsIt) {
  const QString original = WriteData(platform::MachineRoot() + QStringLiteral("/book.xlsx"));
  const QByteArray originalBytes = ReadBytes(original);
  EXPECT_EQ(admin::ConnectExcelProfile(original, QStringLiteral("book.xlsx")), 2);
  EXPECT_EQ(ReadBytes(original), originalBytes);
  EXPECT_EQ(ReadBytes(folder_ + QStringLiteral("/New_Data.txt")),
            Utf16(QStringLiteral("\uFEFFName\t\tNote\r\n\t\tonly last\r\nZed\t\t\r\n")));
  EXPECT_TRUE(QFile::exists(folder_ + QStringLiteral("/New_Second.txt")));
  EXPECT_TRUE(QFile::exists(folder_ + QStringLiteral("/New_book.xlsx")));
  EXPECT_EQ(LogTexts(),
            (QStringList{
                QStringLiteral("-1 <DeleteEmptyRowsInExcelSheets> <1> Start"),
                QStringLiteral("-1 <DeleteEmptyRowsInExcelSheets> <2> Temp File Created."),
                QStringLiteral("-1 <DeleteEmptyRowsInExcelSheets> <3> Deleting Empty Rows..."),
                QStringLiteral("-1 <DeleteEmptyRowsInExcelSheets> <4> Empty Rows in \"Data\" sheet : 4"),
                QStringLiteral("-1 <DeleteEmptyRowsInExcelSheets> <4> Empty Rows in \"Second\" sheet : 0"),
                QStringLiteral("-1 <DeleteEmptyRowsInExcelSheets> <5> End"),
                QStringLiteral("14 Success to connecting Excel profile."),
            }));
}

TEST_F(ExcelProfileTest, CleansAnXlsWorkbookIntoAnXlsxCopy) {
  const QString original = platform::MachineRoot() + QStringLiteral("/old.xls");
  ASSERT_TRUE(testsupport::WriteXlsFixture(
      original, QStringLiteral("[('Data', [(0, 0, 'Name', None), (3, 0, 'Zed', None), (3, 1, 7, None)])]")));
  QString path = original;
  ASSERT_TRUE(admin::DeleteEmptyRowsInExcelSheets(&path, QStringLiteral("old.xls")));
  EXPECT_EQ(path, folder_ + QStringLiteral("/New_old.xls"));
  EXPECT_TRUE(ReadBytes(path).startsWith("PK\x03\x04"));
  EXPECT_EQ(admin::ConnectExcelProfile(original, QStringLiteral("old.xls")), 1);
  EXPECT_EQ(ReadBytes(folder_ + QStringLiteral("/New_Data.txt")),
            Utf16(QStringLiteral("\uFEFFName\t\r\nZed\t7\r\n")));
}

TEST_F(ExcelProfileTest, FailedCopyStopsAndLeavesNoStaleCopy) {
  ASSERT_TRUE(QDir().mkpath(folder_));
  const QString stale = WriteData(folder_ + QStringLiteral("/New_book.xlsx"));
  QString path = platform::MachineRoot() + QStringLiteral("/missing/book.xlsx");
  EXPECT_FALSE(admin::DeleteEmptyRowsInExcelSheets(&path, QStringLiteral("book.xlsx")));
  EXPECT_FALSE(QFile::exists(stale));
  EXPECT_EQ(admin::ConnectExcelProfile(platform::MachineRoot() + QStringLiteral("/missing/book.xlsx"),
                                QStringLiteral("book.xlsx")),
            0);
  EXPECT_FALSE(QFile::exists(folder_ + QStringLiteral("/New_Data.txt")));
  const QStringList texts = LogTexts();
  EXPECT_EQ(texts.count(QStringLiteral("-1 CopyFile ErrorCode : 2")), 2);
  EXPECT_FALSE(texts.join(u'\n').contains(QStringLiteral("Temp File Created")));
  EXPECT_FALSE(texts.join(u'\n').contains(QStringLiteral("Excel profile")));
}

TEST_F(ExcelProfileTest, CopyThatIsNoWorkbookIsReportedWithItsCodes) {
  const QString original = platform::MachineRoot() + QStringLiteral("/book.xlsx");
  QFile file(original);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("Name,Note\n");
  file.close();
  EXPECT_EQ(admin::ConnectExcelProfile(original, QStringLiteral("book.xlsx")), 0);
  const QStringList texts = LogTexts();
  EXPECT_TRUE(texts.contains(QStringLiteral("13 Problem connecting Excel profile.")));
  EXPECT_TRUE(texts.contains(QStringLiteral("13 Unable To Connect")));
  EXPECT_FALSE(texts.join(u'\n').contains(QStringLiteral("Empty Rows in")));
}

}  // namespace
