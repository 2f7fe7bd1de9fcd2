#include "platform/workbook/Workbook.h"
#include "platform/workbook/ZipPackage.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

using namespace platform;
using testsupport::XlsxFixture;

namespace {

// While it lives, a write past `bytes` fails (EFBIG) instead of ending the process: a save that
// runs out of room.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : oldHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &old_);
    const rlimit limit{bytes, old_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*oldHandler_)(int);
};

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray Part(const QString& packagePath, const char* part) {
  ZipPackage package;
  QByteArray content;
  QString error;
  if (!package.Open(ReadBytes(packagePath), &error) ||
      !package.Read(QString::fromLatin1(part), &content, &error))
    ADD_FAILURE() << error.toStdString();
  return content;
}

class WorkbookTest : public ::testing::Test {
 protected:
  QString PathOf(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }

  std::unique_ptr<Workbook> OpenOk(const QString& path, bool readOnly = true) {
    QString error;
    auto workbook = Workbook::Open(path, readOnly, &error);
    EXPECT_TRUE(workbook) << error.toStdString();
    return workbook;
  }

  QString OpenError(const QString& path) {
    QString error;
    EXPECT_FALSE(Workbook::Open(path, false, &error));
    return error;
  }

  // Orders (data from C3), Items and Empty, with a date and a styled cell.
  QString WriteOrders() {
    const QString path = PathOf("orders.xlsx");
    XlsxFixture fixture(path);
    lxw_worksheet* orders = fixture.AddSheet("Orders");
    worksheet_write_string(orders, 2, 2, "Name", nullptr);
    worksheet_write_string(orders, 2, 3, "Amount", nullptr);
    worksheet_write_string(orders, 3, 2, "Ann", nullptr);
    worksheet_write_number(orders, 3, 3, 1234.5, fixture.NumberFormat("#,##0.00"));
    worksheet_write_string(orders, 4, 2, "Bob", nullptr);
    worksheet_write_number(orders, 4, 3, 45306, fixture.NumberFormat("m/d/yyyy"));
    lxw_worksheet* items = fixture.AddSheet("Items");
    worksheet_write_string(items, 0, 0, "Item", nullptr);
    worksheet_write_boolean(items, 1, 0, 1, nullptr);
    worksheet_write_number(items, 2, 0, 0.125, fixture.NumberFormat("0.0%"));
    fixture.AddSheet("Empty");
    EXPECT_TRUE(fixture.Close());
    return path;
  }

  QTemporaryDir folder_;
};

TEST_F(WorkbookTest, ListsSheetsInOrderAndCountsFromA1) {
  auto workbook = OpenOk(WriteOrders());
  ASSERT_EQ(workbook->WorksheetCount(), 3);
  EXPECT_EQ(workbook->WorksheetAt(0)->Name(), QStringLiteral("Orders"));
  EXPECT_EQ(workbook->WorksheetAt(1)->Name(), QStringLiteral("Items"));
  EXPECT_EQ(workbook->WorksheetAt(2)->Name(), QStringLiteral("Empty"));
  EXPECT_EQ(workbook->WorksheetAt(3), nullptr);
  EXPECT_EQ(workbook->FindWorksheet(QStringLiteral("items")), nullptr);

  const Worksheet* orders = workbook->FindWorksheet(QStringLiteral("Orders"));
  ASSERT_NE(orders, nullptr);
  EXPECT_EQ(orders->RowCount(), 5);
  EXPECT_EQ(orders->ColumnCount(), 4);
  EXPECT_EQ(orders->Text(u"C3"), QStringLiteral("Name"));
  EXPECT_EQ(orders->Text(u"D4"), QStringLiteral("1,234.50"));
  EXPECT_EQ(orders->Text(u"D5"), QStringLiteral("1/15/2024"));
  EXPECT_EQ(orders->Text(u"A1"), QString());
  EXPECT_EQ(orders->Text(u"not a cell"), QString());
  EXPECT_EQ(orders->BlankCount(0, 2), 10);

  const Worksheet* items = workbook->WorksheetAt(1);
  EXPECT_EQ(items->CellText(1, 0), QStringLiteral("TRUE"));
  EXPECT_EQ(items->CellText(2, 0), QStringLiteral("12.5%"));
  EXPECT_EQ(workbook->WorksheetAt(2)->RowCount(), 0);
  EXPECT_EQ(workbook->WorksheetAt(2)->ColumnCount(), 0);
}

TEST_F(WorkbookTest, DeletesAndWritesAndKeepsWhatItDoesNotTouch) {
  const QString path = WriteOrders();
  const QByteArray styles = Part(path, "xl/styles.xml");
  const QByteArray items = Part(path, "xl/worksheets/sheet2.xml");
  {
    auto workbook = OpenOk(path, false);
    Worksheet* orders = workbook->WorksheetAt(0);
    ASSERT_TRUE(orders->DeleteRow(3));
    ASSERT_TRUE(orders->WriteCell(5, 27, QStringLiteral("tab\there _x0041_ \"q\" \x01") + QChar(0xD800)));
    QString error;
    ASSERT_TRUE(workbook->Save(&error)) << error.toStdString();
  }
  EXPECT_EQ(Part(path, "xl/styles.xml"), styles);
  EXPECT_EQ(Part(path, "xl/worksheets/sheet2.xml"), items);
  auto reopened = OpenOk(path);
  const Worksheet* orders = reopened->WorksheetAt(0);
  EXPECT_EQ(orders->RowCount(), 6);
  EXPECT_EQ(orders->ColumnCount(), 28);
  EXPECT_EQ(orders->Text(u"C4"), QStringLiteral("Bob"));
  EXPECT_EQ(orders->Text(u"D4"), QStringLiteral("1/15/2024"));
  EXPECT_EQ(orders->Text(u"AB6"), QStringLiteral("tab\there _x0041_ \"q\" \x01") + QChar(0xD800));

  Worksheet* sheet = reopened->WorksheetAt(0);
  ASSERT_TRUE(sheet->DeleteRow(0));  // an empty row above the last used one
  EXPECT_EQ(sheet->RowCount(), 5);
  EXPECT_EQ(sheet->ColumnCount(), 28);
  ASSERT_TRUE(sheet->DeleteRow(4));  // the widest and last row
  EXPECT_EQ(sheet->RowCount(), 3);
  EXPECT_EQ(sheet->ColumnCount(), 4);
}

TEST_F(WorkbookTest, ReadOnlyWorkbookIsNotSaved) {
  const QString path = WriteOrders();
  const QByteArray before = ReadBytes(path);
  auto workbook = OpenOk(path, true);
  workbook->WorksheetAt(0)->DeleteRow(0);
  QString error;
  EXPECT_FALSE(workbook->Save(&error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(WorkbookTest, FailedSaveLeavesTheFileAsItWas) {
  const QString path = WriteOrders();
  const QByteArray before = ReadBytes(path);
  auto workbook = OpenOk(path, false);
  workbook->WorksheetAt(0)->DeleteRow(0);
  QString error;
  {
    const FileSizeLimit full(64);
    EXPECT_FALSE(workbook->Save(&error));
  }
  EXPECT_TRUE(error.contains(QStringLiteral("orders.xlsx"))) << error.toStdString();
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(workbook->WorksheetAt(0)->RowCount(), 4);
}

TEST_F(WorkbookTest, MacroWorkbookKeepsItsMacros) {
  const QString macros = PathOf("vbaProject.bin");
  QByteArray macroBytes("made-up macro storage \x01\x02\x03", 25);
  WriteBytes(macros, macroBytes);
  const QString path = PathOf("macros.xlsm");
  {
    XlsxFixture fixture(path);
    worksheet_write_string(fixture.AddSheet("Sheet1"), 0, 0, "x", nullptr);
    ASSERT_EQ(workbook_add_vba_project(fixture.Book(), macros.toUtf8().constData()), LXW_NO_ERROR);
    ASSERT_TRUE(fixture.Close());
  }
  auto workbook = OpenOk(path, false);
  workbook->WorksheetAt(0)->WriteCell(1, 0, QStringLiteral("y"));
  QString error;
  ASSERT_TRUE(workbook->Save(&error)) << error.toStdString();
  EXPECT_EQ(Part(path, "xl/vbaProject.bin"), macroBytes);
  EXPECT_EQ(OpenOk(path)->WorksheetAt(0)->Text(u"A2"), QStringLiteral("y"));
}

TEST_F(WorkbookTest, ReadsAndConvertsAnXlsWorkbook) {
  const QString path = PathOf("old.xls");
  ASSERT_TRUE(testsupport::WriteXlsFixture(
      path, QStringLiteral(
                "[('First', [(0, 0, 'Name', None), (1, 0, 'Ann', None), (1, 1, 42, None), (1, 2, 2.5, None),"
                "  (1, 3, datetime.datetime(2024, 1, 15), 'M/D/YY'),"
                "  (1, 4, datetime.datetime(2024, 1, 15, 18, 30), 'M/D/YY h:mm'), (4, 1, 'last', None)]),"
                " ('Second', [(0, 0, 'x', None)])]")));
  {
    auto workbook = OpenOk(path, false);
    ASSERT_EQ(workbook->WorksheetCount(), 2);
    Worksheet* first = workbook->WorksheetAt(0);
    EXPECT_EQ(first->Name(), QStringLiteral("First"));
    EXPECT_EQ(first->RowCount(), 5);
    EXPECT_EQ(first->ColumnCount(), 5);
    EXPECT_EQ(first->Text(u"B2"), QStringLiteral("42"));
    EXPECT_EQ(first->Text(u"C2"), QStringLiteral("2.5"));
    EXPECT_EQ(first->Text(u"D2"), QStringLiteral("1/15/2024"));
    EXPECT_EQ(first->Text(u"E2"), QStringLiteral("1/15/2024 18:30"));
    ASSERT_TRUE(first->DeleteRow(2));
    QString error;
    ASSERT_TRUE(workbook->Save(&error)) << error.toStdString();
  }
  EXPECT_TRUE(ReadBytes(path).startsWith("PK\x03\x04"));  // stored as .xlsx under the same name
  auto reopened = OpenOk(path);
  EXPECT_EQ(reopened->WorksheetAt(1)->Name(), QStringLiteral("Second"));
  EXPECT_EQ(reopened->WorksheetAt(0)->Text(u"B4"), QStringLiteral("last"));
  EXPECT_EQ(reopened->WorksheetAt(0)->Text(u"D2"), QStringLiteral("1/15/2024"));
}

// A package built here whose parts are given as they are.
QByteArray PackageOf(const std::map<QString, QByteArray>& parts) {
  QByteArray bytes;
  QString error;
  EXPECT_TRUE(ZipPackage::Build(parts, &bytes, &error)) << error.toStdString();
  return bytes;
}

std::map<QString, QByteArray> MinimalParts(const QByteArray& sheetData, const QByteArray& strings = {},
                                           const QByteArray& sheetName = "S") {
  return {
      {QStringLiteral("_rels/.rels"),
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
       "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {QStringLiteral("xl/workbook.xml"),
       "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
       "<sheets><sheet name=\"" +
           sheetName + "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
      {QStringLiteral("xl/_rels/workbook.xml.rels"),
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
       "worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
       "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
       "Target=\"sharedStrings.xml\"/></Relationships>"},
      {QStringLiteral("xl/sharedStrings.xml"), "<sst>" + strings + "</sst>"},
      {QStringLiteral("xl/worksheets/sheet1.xml"), "<worksheet>" + sheetData + "</worksheet>"},
  };
}

TEST_F(WorkbookTest, CountsCellsNotTheDeclaredDimension) {
  const QString path = PathOf("dimension.xlsx");
  WriteBytes(
      path, PackageOf(MinimalParts(
                "<dimension ref=\"A1:XFD1048576\"/><sheetData><row r=\"2\"><c r=\"B2\" t=\"s\"><v>0</v></c>"
                "<c t=\"inlineStr\"><is><r><t>x</t></r><r><t xml:space=\"preserve\"> y</t></r></is></c></row>"
                "</sheetData>",
                "<si><t>s</t></si>")));
  auto workbook = OpenOk(path);
  EXPECT_EQ(workbook->WorksheetAt(0)->RowCount(), 2);
  EXPECT_EQ(workbook->WorksheetAt(0)->ColumnCount(), 3);
  EXPECT_EQ(workbook->WorksheetAt(0)->Text(u"C2"), QStringLiteral("x y"));
}

TEST_F(WorkbookTest, RefusesBadInputWithAClearTextAndWritesNothing) {
  const QString good = WriteOrders();
  const QByteArray goodBytes = ReadBytes(good);
  const std::pair<const char*, QByteArray> cases[] = {
      {"truncated", goodBytes.left(goodBytes.size() / 2)},
      {"not a workbook", QByteArray("name,amount\nAnn,5\n")},
      {"broken XML", PackageOf(MinimalParts("<sheetData><row><c><v>1</v></row></sheetData>"))},
      {"shared string out of range",
       PackageOf(
           MinimalParts("<sheetData><row><c t=\"s\"><v>1</v></c></row></sheetData>", "<si><t>a</t></si>"))},
      {"cell beyond the sheet",
       PackageOf(MinimalParts("<sheetData><row><c r=\"XFE1\"><v>1</v></c></row></sheetData>"))},
      {"row beyond the sheet", PackageOf(MinimalParts("<sheetData><row r=\"1048577\"/></sheetData>"))},
      {"cell given twice",
       PackageOf(MinimalParts(
           "<sheetData><row><c r=\"A1\"><v>1</v></c><c r=\"A1\"><v>2</v></c></row></sheetData>"))},
      {"number that is none", PackageOf(MinimalParts("<sheetData><row><c><v>abc</v></c></row></sheetData>"))},
      {"sheet name leading out of a folder", PackageOf(MinimalParts("<sheetData/>", {}, "../S"))},
      {"binary workbook",
       PackageOf({{QStringLiteral("_rels/.rels"),
                   "<Relationships><Relationship Id=\"rId1\" "
                   "Type=\"http://schemas.openxmlformats.org/officeDocument/"
                   "2006/relationships/officeDocument\" Target=\"xl/workbook.bin\"/></Relationships>"}})},
  };
  for (const auto& [name, bytes] : cases) {
    const QString path = PathOf("bad.xlsx");
    WriteBytes(path, bytes);
    const QString error = OpenError(path);
    EXPECT_TRUE(error.startsWith(QStringLiteral("The workbook bad.xlsx cannot be opened: ")))
        << name << ": " << error.toStdString();
    EXPECT_EQ(ReadBytes(path), bytes) << name;
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files).size(), 2) << name;
  }
  EXPECT_TRUE(OpenError(PathOf("bad.xlsx")).contains(QStringLiteral("(.xlsb) is not supported")));
  EXPECT_TRUE(OpenError(PathOf("missing.xlsx")).contains(QStringLiteral("does not exist")));
}

TEST_F(WorkbookTest, RefusesAnOversizedPart) {
  std::map<QString, QByteArray> parts = MinimalParts("<sheetData/>");
  parts[QStringLiteral("xl/sharedStrings.xml")] = QByteArray(ZipPackage::kMaxPartBytes + 1, ' ');
  const QString path = PathOf("huge.xlsx");
  WriteBytes(path, PackageOf(parts));
  EXPECT_TRUE(OpenError(path).contains(QStringLiteral("is larger than"))) << OpenError(path).toStdString();
}

}  // namespace
