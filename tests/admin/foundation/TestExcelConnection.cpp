#include "admin/foundation/AppLog.h"
#include "admin/foundation/ExcelConnection.h"
#include "admin/foundation/ExcelHandler.h"
#include "admin/foundation/LogFile.h"
#include "platform/os/MachineRoot.h"
#include "shared/WorkbookFolder.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/LogReader.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using testsupport::XlsxFixture;

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Utf16(const QString& text) {
  return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

QString FixturePath(const char* name) { return platform::MachineRoot() + u'/' + QString::fromLatin1(name); }

// Orders (from B2, with quoting cases) and Items.
QString WriteOrdersAndItems() {
  const QString path = FixturePath("book.xlsx");
  XlsxFixture fixture(path);
  lxw_worksheet* orders = fixture.AddSheet("Orders");
  worksheet_write_string(orders, 1, 1, "Name", nullptr);
  worksheet_write_string(orders, 1, 2, "Amount", nullptr);
  worksheet_write_string(orders, 2, 1, "say \"hi\"", nullptr);
  worksheet_write_number(orders, 2, 2, 1234.5, fixture.NumberFormat("#,##0.00"));
  worksheet_write_string(orders, 3, 1, "two\nlines", nullptr);
  lxw_worksheet* items = fixture.AddSheet("Items");
  worksheet_write_string(items, 0, 0, "Item", nullptr);
  EXPECT_TRUE(fixture.Close());
  return path;
}

TEST(ExcelConnection, OpensListsAndNamesWorksheets) {
  admin::CExcelConnection connection;
  QString error;
  ASSERT_EQ(connection.OpenWorkbook(&error, true, WriteOrdersAndItems()), 1);
  QStringList names, schemas, types;
  EXPECT_EQ(connection.GetWorksheetList(&names, &schemas, &types), 2);
  EXPECT_EQ(names, (QStringList{QStringLiteral("Orders"), QStringLiteral("Items")}));
  EXPECT_EQ(schemas, (QStringList{QString(), QString()}));
  EXPECT_EQ(types, (QStringList{QString(), QString()}));
  EXPECT_EQ(connection.GetWorksheetName(2), QStringLiteral("Items"));
  EXPECT_EQ(connection.GetWorksheetName(3), QString());
  EXPECT_EQ(admin::GetDispatchName(*connection.GetWorksheetsDriver()), QStringLiteral("book.xlsx"));
  EXPECT_EQ(admin::GetDispatchName(*connection.GetWorksheetsDriver()->WorksheetAt(0)), QStringLiteral("Orders"));
  connection.CloseWorkbook();
  EXPECT_FALSE(connection.IsOpened());
  EXPECT_EQ(connection.GetWorksheetCount(), 0);
}

TEST(ExcelConnection, FailedOpenSaysUnableToConnectAndLogsTheReason) {
  const QString installation = testsupport::InstallAdmin();
  CLogFile log(installation, QStringLiteral("DesktopLog.log"));
  SetAppLog(&log);
  const QString path = FixturePath("book.xlsb");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a workbook");
  file.close();
  admin::CExcelConnection connection;
  QString error;
  EXPECT_EQ(connection.OpenWorkbook(&error, true, path), 0);
  EXPECT_EQ(connection.OpenWorkbook(nullptr, true, path), 0);
  SetAppLog(nullptr);
  EXPECT_EQ(error, QStringLiteral("Unable To Connect"));
  EXPECT_EQ(testsupport::EntriesContaining(
                testsupport::ReadLogEntries(log.FilePath()),
                QStringLiteral("book.xlsb cannot be opened: the file format is not supported"))
                .size(),
            2);
  EXPECT_FALSE(connection.IsOpened());
}

TEST(ExcelConnection, SavesOnCloseOnlyWhenOpenedReadWrite) {
  const QString path = WriteOrdersAndItems();
  for (const bool readOnly : {true, false}) {
    admin::CExcelConnection connection;
    QString error;
    ASSERT_EQ(connection.OpenWorkbook(&error, readOnly, path), 1);
    admin::CExcelHandler handler;
    ASSERT_EQ(handler.OpenWorksheet(connection.GetWorksheetsDriver(), QStringLiteral("Items")), 1);
    ASSERT_TRUE(handler.DeleteRow(0));
    connection.CloseWorkbook();
    admin::CExcelConnection reopened;
    ASSERT_EQ(reopened.OpenWorkbook(&error, true, path), 1);
    EXPECT_EQ(reopened.GetWorksheetsDriver()->WorksheetAt(1)->RowCount(), readOnly ? 1 : 0) << readOnly;
  }
}

TEST(ExcelConnection, ExportsEverySheetAsUnicodeTextWithASchema) {
  testsupport::InstallAdmin();
  const QString folder = WorkbookTempFolder();
  admin::CExcelConnection connection;
  QStringList names;
  EXPECT_EQ(connection.ExportSheetsToText(&names), 0);  // nothing open
  QString error;
  ASSERT_EQ(connection.OpenWorkbook(&error, true, WriteOrdersAndItems()), 1);
  ASSERT_EQ(connection.ExportSheetsToText(&names), 2);
  EXPECT_EQ(names, (QStringList{QStringLiteral("Orders"), QStringLiteral("Items")}));
  EXPECT_EQ(ReadBytes(folder + QStringLiteral("/New_Orders.txt")),
            Utf16(QStringLiteral("\uFEFF\t\t\r\n\tName\tAmount\r\n\t\"say \"\"hi\"\"\"\t1,234.50\r\n"
                                 "\t\"two\nlines\"\t\r\n")));
  EXPECT_EQ(ReadBytes(folder + QStringLiteral("/New_Items.txt")), Utf16(QStringLiteral("\uFEFFItem\r\n")));
  const QString section = QStringLiteral(
      "]\r\nColNameHeader=True\r\nFormat=TabDelimited\r\nMaxScanRows=0\r\nCharacterSet=Unicode\r\n");
  EXPECT_EQ(ReadBytes(folder + QStringLiteral("/schema.ini")),
            Utf16(QStringLiteral("[New_Items.txt") + section + QStringLiteral("[New_Orders.txt") + section +
                  u'\n'));
}

TEST(ExcelConnection, ExportThatCannotWriteASheetFails) {
  testsupport::InstallAdmin();
  const QString folder = WorkbookTempFolder();
  // A folder that holds something cannot be replaced by the sheet's file.
  ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/New_Items.txt/inside")));
  admin::CExcelConnection connection;
  QString error;
  ASSERT_EQ(connection.OpenWorkbook(&error, true, WriteOrdersAndItems()), 1);
  QStringList names;
  EXPECT_EQ(connection.ExportSheetsToText(&names), 0);
  EXPECT_FALSE(QFileInfo(folder + QStringLiteral("/New_Items.txt")).isFile());
}

TEST(ExcelConnection, ExportNeedsADocumentsFolder) {
  admin::CExcelConnection connection;
  QString error;
  ASSERT_EQ(connection.OpenWorkbook(&error, true, WriteOrdersAndItems()), 1);
  QStringList names;
  EXPECT_EQ(connection.ExportSheetsToText(&names), 0);  // no installation folder is set
}

class ExcelHandlerTest : public ::testing::Test {
 protected:
  void Open(const QString& path, const char* sheet) {
    QString error;
    ASSERT_EQ(connection_.OpenWorkbook(&error, false, path), 1);
    ASSERT_EQ(handler_.OpenWorksheet(connection_.GetWorksheetsDriver(), QString::fromLatin1(sheet)), 1);
  }

  admin::CExcelConnection connection_;
  admin::CExcelHandler handler_;
};

TEST_F(ExcelHandlerTest, ReadsASheetFromA1AsTextColumns) {
  EXPECT_EQ(handler_.OpenWorksheet(nullptr, QStringLiteral("Orders")), 0);
  Open(WriteOrdersAndItems(), "Orders");
  EXPECT_EQ(handler_.OpenWorksheet(connection_.GetWorksheetsDriver(), QStringLiteral("orders")), 0);
  EXPECT_EQ(handler_.GetColumnCount(), 3);
  EXPECT_EQ(handler_.GetRowCount(), 4);
  EXPECT_EQ(handler_.GetColumnName(2), QStringLiteral("C"));
  EXPECT_EQ(handler_.GetColumnName(26), QStringLiteral("AA"));
  EXPECT_EQ(handler_.GetColumnName(701), QStringLiteral("ZZ"));
  EXPECT_EQ(handler_.GetColumnName(702), QStringLiteral("AAA"));
  EXPECT_EQ(handler_.GetColumnType(0), 1);
  EXPECT_EQ(handler_.GetColumnSize(0), 32766);
  EXPECT_EQ(handler_.GetColumnDecimalDigits(0), 0);
  EXPECT_TRUE(handler_.MoveToRow(3));
  EXPECT_TRUE(handler_.FetchNext(3));
  EXPECT_EQ(handler_.GetFieldValue(2, 2), QStringLiteral("1,234.50"));

  QByteArray record;
  ASSERT_EQ(handler_.GetRowValues(1, &record), 6 + 2 + 10 + 14);
  EXPECT_EQ(record, QByteArray("\x00\x06\x00\x08\x00\x12", 6) + QByteArray(2, '\0') +
                        Utf16(QStringLiteral("Name")) + QByteArray(2, '\0') +
                        Utf16(QStringLiteral("Amount")) + QByteArray(2, '\0'));
  EXPECT_EQ(handler_.GetRowValues(5, &record), 0);
}

TEST_F(ExcelHandlerTest, RowValuesPastWhatA16BitOffsetReachesAreNotSupported) {
  const QString path = FixturePath("wide.xlsx");
  {
    XlsxFixture fixture(path);
    lxw_worksheet* sheet = fixture.AddSheet("Wide");
    const std::string text(30000, 'x');
    for (int column = 0; column < 3; ++column)
      worksheet_write_string(sheet, 0, column, text.c_str(), nullptr);
    worksheet_write_string(sheet, 1, 0, text.c_str(), nullptr);
    ASSERT_TRUE(fixture.Close());
  }
  Open(path, "Wide");
  QByteArray record;
  EXPECT_EQ(handler_.GetRowValues(0, &record), 0);  // the third value would start at 120,010
  EXPECT_EQ(handler_.GetRowValues(1, &record), 6 + 60002 + 2 + 2);
}

TEST_F(ExcelHandlerTest, RowIsEmptyWhenEveryUsedColumnIsBlank) {
  const QString path = FixturePath("gaps.xlsx");
  {
    XlsxFixture fixture(path);
    lxw_worksheet* sheet = fixture.AddSheet("Gaps");
    worksheet_write_string(sheet, 0, 0, "a", nullptr);
    worksheet_write_string(sheet, 0, 3, "d", nullptr);
    worksheet_write_string(sheet, 2, 3, "only last", nullptr);
    worksheet_write_string(sheet, 3, 0, "b", nullptr);
    ASSERT_TRUE(fixture.Close());
  }
  Open(path, "Gaps");
  bool extraColumn = true;
  EXPECT_FALSE(handler_.IsRowEmpty(0, &extraColumn));
  EXPECT_FALSE(extraColumn);
  EXPECT_TRUE(handler_.IsRowEmpty(1, &extraColumn));
  EXPECT_FALSE(handler_.IsRowEmpty(2, &extraColumn));
  EXPECT_FALSE(handler_.IsRowEmpty(9, &extraColumn));
  EXPECT_FALSE(handler_.DeleteRow(9));
  ASSERT_TRUE(handler_.DeleteRow(1));
  EXPECT_EQ(handler_.GetRowCount(), 3);
  EXPECT_EQ(handler_.GetFieldValue(1, 3), QStringLiteral("only last"));
}

}  // namespace
