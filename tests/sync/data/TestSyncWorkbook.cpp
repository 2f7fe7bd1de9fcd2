#include "platform/os/MachineRoot.h"
#include "shared/WorkbookFolder.h"
#include "shared/devicerecord/DeviceRecord.h"
#include "sync/data/ExcelConnection.h"
#include "sync/data/ExcelHandler.h"
#include "sync/data/ExcelHandlerForUserDB.h"
#include "sync/data/RowDigest.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <QFile>

#include <optional>

using testsupport::XlsxFixture;

namespace {

QString FixturePath(const char* name) { return platform::MachineRoot() + u'/' + QString::fromLatin1(name); }

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Utf16(const QString& text) {
  return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

QByteArray TextRecord(const QStringList& texts) {
  QList<devicerecord::Value> values;
  for (const QString& text : texts) values.append(devicerecord::Value::OfText(1, text));
  return devicerecord::Encode(values).value();
}

QStringList RecordTexts(const QByteArray& record, int columns) {
  QString error;
  const std::optional<QList<devicerecord::Value>> values =
      devicerecord::Decode(record, QList<int16_t>(columns, 1), &error);
  QStringList texts;
  for (const devicerecord::Value& value : values.value()) texts.append(value.text);
  return texts;
}

// Sheet "People": `rows` rows of three columns, "n<row>", "o<row>", "p<row>".
QString WritePeople(int rows) {
  const QString path = FixturePath("people.xlsx");
  XlsxFixture fixture(path);
  lxw_worksheet* sheet = fixture.AddSheet("People");
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < 3; ++column)
      worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                             QStringLiteral("%1%2").arg(QChar(u'n' + column)).arg(row).toUtf8().constData(), nullptr);
  EXPECT_TRUE(fixture.Close());
  return path;
}

// An open workbook with one handler attached to "People".
struct PeopleSheet {
  explicit PeopleSheet(const QString& path, bool readOnly = false) {
    QString error;
    EXPECT_EQ(connection.OpenWorkbook(path, &error, readOnly), 1) << error.toStdString();
    EXPECT_EQ(handler.OpenWorksheet(connection.GetWorksheets(), QStringLiteral("People")), 1);
  }
  QString Text(int32_t row, int16_t column) { return handler.GetFieldValue(row, column); }
  QString ReadDigest(int32_t row) const {
    QByteArray record;
    uint8_t digest[kRowDigestSize] = {};
    EXPECT_GT(handler.ReadRecord(row, &record, digest), 0);
    return DigestToHex(digest);
  }

  syncservice::CExcelConnection connection;
  CExcelHandlerForUserDB handler;
};

TEST(SyncExcelHandler, ReadsRowsAsTextRecordsWithTheDigestOfTheShownValues) {
  const QString path = FixturePath("read.xlsx");
  XlsxFixture fixture(path);
  lxw_worksheet* sheet = fixture.AddSheet("People");
  worksheet_write_string(sheet, 0, 0, "a#b\\c", nullptr);
  worksheet_write_number(sheet, 0, 1, 1234.5, fixture.NumberFormat("#,##0.00"));
  worksheet_write_string(sheet, 0, 2, "x\ty\r\nz", nullptr);
  ASSERT_TRUE(fixture.Close());
  PeopleSheet people(path, true);
  CExcelHandlerForUserDB& handler = people.handler;
  ASSERT_EQ(handler.GetColumnCount(), 3);
  EXPECT_EQ(handler.GetRowCount(), 1);
  for (int16_t column = 0; column < 3; ++column) {
    EXPECT_EQ(handler.GetColumnType(column), 1);
    EXPECT_EQ(handler.GetColumnSize(column), 32766);
    EXPECT_EQ(handler.GetColumnDecimalDigits(column), 0);
  }
  const QStringList shown{QStringLiteral("a#b\\c"), QStringLiteral("1,234.50"), QStringLiteral("x\ty\r\nz")};
  QByteArray values;
  ASSERT_GT(handler.GetRowValues(0, &values), 0);
  EXPECT_EQ(RecordTexts(values, 3), shown);

  QByteArray record;
  uint8_t digest[kRowDigestSize] = {};
  const int length = handler.ReadRecord(0, &record, digest);
  ASSERT_EQ(length, record.size());
  EXPECT_EQ(RecordTexts(record, 3),
            (QStringList{shown[0], shown[1], QStringLiteral("x     y\nz")}));
  EXPECT_EQ(DigestToHex(digest), TextDigestHex(QStringLiteral("a\\#b\\\\c#1,234.50#x\ty\r\nz")));
  uint8_t rowDigest[kRowDigestSize] = {};
  handler.GetRowDigest(0, rowDigest);
  EXPECT_EQ(DigestToHex(rowDigest), DigestToHex(digest));
  EXPECT_EQ(handler.ReadRecord(1, &record, digest), 0);
  EXPECT_EQ(handler.OpenWorksheet(people.connection.GetWorksheets(), QStringLiteral("people")), 0);
}

TEST(SyncExcelHandler, ValuesAreCutAsDevicesCarryThem) {
  const QString path = FixturePath("long.xlsx");
  XlsxFixture fixture(path);
  const QByteArray longText(20000, 'w');
  worksheet_write_string(fixture.AddSheet("People"), 0, 0, longText.constData(), nullptr);
  ASSERT_TRUE(fixture.Close());
  PeopleSheet people(path, true);
  QByteArray record;
  uint8_t digest[kRowDigestSize] = {};
  ASSERT_GT(people.handler.ReadRecord(0, &record, digest), 0);
  EXPECT_EQ(RecordTexts(record, 1).at(0).size(), 16382);
  EXPECT_EQ(DigestToHex(digest), TextDigestHex(QString::fromLatin1(longText)));
  ASSERT_GT(people.handler.GetRowValues(0, &record), 0);
  EXPECT_EQ(RecordTexts(record, 1).at(0).size(), 16383);
}

TEST(SyncExcelHandler, ColumnsAreNamedByTheirLetters) {
  syncservice::CExcelHandler handler;
  const std::pair<int16_t, const char*> cases[] = {{0, "A"}, {25, "Z"}, {26, "AA"}, {52, "BA"}, {701, "ZZ"},
                                                   {702, "AAA"}};
  for (const auto& [column, letters] : cases) EXPECT_EQ(handler.GetColumnName(column), QLatin1String(letters));
}

TEST(SyncExcelHandler, WriteRecordStoresValuesUnchangedAndReturnsTheDigestReadBack) {
  const QString path = WritePeople(3);
  {
    PeopleSheet people(path);
    uint8_t digest[kRowDigestSize] = {};
    QString error;
    // Written twice: a quote must not grow on a round trip. The record carries two of three columns.
    for (int round = 0; round < 2; ++round) {
      ASSERT_EQ(people.handler.WriteRecord(TextRecord({QStringLiteral("O'Brien"), QStringLiteral("a#b")}), 2,
                                           digest, &error),
                1)
          << error.toStdString();
      EXPECT_EQ(DigestToHex(digest), people.ReadDigest(1));
    }
    EXPECT_EQ(DigestToHex(digest), TextDigestHex(QStringLiteral("O'Brien#a\\#b#p1")));
  }
  PeopleSheet reopened(path, true);
  EXPECT_EQ(reopened.Text(1, 0), QStringLiteral("O'Brien"));
  EXPECT_EQ(reopened.Text(1, 1), QStringLiteral("a#b"));
  EXPECT_EQ(reopened.Text(1, 2), QStringLiteral("p1"));
  EXPECT_EQ(reopened.Text(0, 0), QStringLiteral("n0"));
}

TEST(SyncExcelHandler, AddRecordWritesTheRowBelowTheLast) {
  const QString path = WritePeople(10);
  {
    PeopleSheet people(path);
    uint8_t digest[kRowDigestSize] = {};
    QString error;
    ASSERT_EQ(people.handler.AddRecord(TextRecord({QStringLiteral("new")}), digest, &error), 1);
    EXPECT_EQ(people.handler.GetRowCount(), 11);
    EXPECT_EQ(DigestToHex(digest), people.ReadDigest(10));
  }
  PeopleSheet reopened(path, true);
  EXPECT_EQ(reopened.handler.GetRowCount(), 11);
  EXPECT_EQ(reopened.Text(10, 0), QStringLiteral("new"));
  EXPECT_EQ(reopened.Text(9, 0), QStringLiteral("n9"));
}

TEST(SyncExcelHandler, UpdateRecordChangesExistingRowsOnly) {
  const QString path = WritePeople(10);
  {
    PeopleSheet people(path);
    uint8_t digest[kRowDigestSize] = {};
    QString error;
    const QByteArray record = TextRecord({QStringLiteral("x")});
    for (const int32_t row : {0, 11, 12}) {
      EXPECT_EQ(people.handler.UpdateRecord(record, row, digest, &error), 0) << row;
      EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(people.handler.UpdateRecord(record, 10, digest, &error), 1);
  }
  PeopleSheet reopened(path, true);
  EXPECT_EQ(reopened.handler.GetRowCount(), 10);
  EXPECT_EQ(reopened.Text(9, 0), QStringLiteral("x"));
  EXPECT_EQ(reopened.Text(9, 1), QStringLiteral("o9"));
  EXPECT_EQ(reopened.Text(0, 0), QStringLiteral("n0"));
}

TEST(SyncExcelHandler, DeleteRecordMovesTheRowsBelowUp) {
  const QString path = WritePeople(3);
  {
    PeopleSheet people(path);
    EXPECT_EQ(people.handler.DeleteRecord(4), 0);
    EXPECT_EQ(people.handler.DeleteRecord(0), 0);
    ASSERT_EQ(people.handler.DeleteRecord(2), 1);
    EXPECT_EQ(people.handler.GetRowCount(), 2);
    EXPECT_EQ(people.handler.DeleteRecord(3), 0);
  }
  PeopleSheet reopened(path, true);
  EXPECT_EQ(reopened.handler.GetRowCount(), 2);
  EXPECT_EQ(reopened.Text(0, 0), QStringLiteral("n0"));
  EXPECT_EQ(reopened.Text(1, 0), QStringLiteral("n2"));
}

TEST(SyncExcelHandler, WritesThatCannotBeSavedOrDoNotFitAreRefusedAndWriteNothing) {
  const QString xlsx = WritePeople(2);
  const QString xls = FixturePath("people.xls");
  ASSERT_TRUE(testsupport::WriteXlsFixture(xls, QStringLiteral("[('People', [(0, 0, 'n0', None), (0, 1, 'o0', None)])]")));
  QByteArray outsideOffset = TextRecord({QStringLiteral("a"), QStringLiteral("b")});
  outsideOffset[3] = 'x';
  const struct {
    const char* name;
    QString path;
    bool readOnly;
    QByteArray record;
    int32_t rows;
    bool canDelete;
  } cases[] = {
      {"xls", xls, false, TextRecord({QStringLiteral("a")}), 1, false},
      {"read-only", xlsx, true, TextRecord({QStringLiteral("a")}), 2, false},
      {"offset outside", xlsx, false, outsideOffset, 2, true},
      {"empty record", xlsx, false, QByteArray(), 2, true},
  };
  for (const auto& c : cases) {
    const QByteArray before = ReadBytes(c.path);
    {
      PeopleSheet people(c.path, c.readOnly);
      uint8_t digest[kRowDigestSize] = {};
      QString error;
      EXPECT_EQ(people.handler.UpdateRecord(c.record, 1, digest, &error), 0) << c.name;
      EXPECT_FALSE(error.isEmpty()) << c.name;
      EXPECT_EQ(people.handler.AddRecord(c.record, digest, &error), 0) << c.name;
      EXPECT_EQ(people.Text(0, 0), QStringLiteral("n0")) << c.name;
      EXPECT_EQ(people.handler.GetRowCount(), c.rows) << c.name;
      if (!c.canDelete) {
        EXPECT_EQ(people.handler.DeleteRecord(1), 0) << c.name;
      }
    }
    if (!c.canDelete) {
      EXPECT_EQ(ReadBytes(c.path), before) << c.name;
    }
  }
}

TEST(SyncExcelHandler, IsRowEmptyCountsBlanksInsideTheUsedRange) {
  const QString path = FixturePath("blank.xlsx");
  XlsxFixture fixture(path);
  lxw_worksheet* sheet = fixture.AddSheet("People");
  worksheet_write_string(sheet, 0, 0, "a", nullptr);
  worksheet_write_string(sheet, 0, 1, "b", nullptr);
  worksheet_write_string(sheet, 2, 1, "c", nullptr);
  ASSERT_TRUE(fixture.Close());
  PeopleSheet people(path, true);
  const struct {
    int32_t row;
    int empty;
  } cases[] = {{0, 0}, {1, 1}, {2, 0}, {3, 1}, {4, 0}};
  for (const auto& c : cases) {
    int extraColumn = 7;
    EXPECT_EQ(people.handler.IsRowEmpty(c.row, &extraColumn), c.empty) << c.row;
    EXPECT_EQ(extraColumn, 0) << c.row;
  }
}

TEST(SyncExcelConnection, OpensNamesAndClosesSavingOnlyWhenReadWrite) {
  syncservice::CExcelConnection connection;
  QString error;
  EXPECT_EQ(connection.OpenWorkbook(FixturePath("missing.xlsx"), &error, true), 0);
  EXPECT_EQ(error, QStringLiteral("Unable To Connect"));
  EXPECT_EQ(connection.OpenWorkbook(FixturePath("missing.xlsx"), nullptr, true), 0);

  const QString path = WritePeople(1);
  for (const bool readOnly : {true, false}) {
    ASSERT_EQ(connection.OpenWorkbook(path, &error, readOnly), 1);
    EXPECT_EQ(connection.GetWorksheetCount(), 1);
    EXPECT_EQ(connection.GetWorksheetName(1), QStringLiteral("People"));
    EXPECT_EQ(connection.GetWorksheetName(2), QString());
    connection.GetWorksheets()->WorksheetAt(0)->WriteCell(0, 0, readOnly ? QStringLiteral("ro") : QStringLiteral("rw"));
    connection.CloseWorkbook();
    EXPECT_EQ(connection.GetWorksheetCount(), 0);
    PeopleSheet reopened(path, true);
    EXPECT_EQ(reopened.Text(0, 0), readOnly ? QStringLiteral("n0") : QStringLiteral("rw"));
  }
}

TEST(SyncExcelConnection, ExportsEachSheetAsItsNameDotTxtWithASchema) {
  syncservice::CExcelConnection connection;
  const QString path = FixturePath("two.xlsx");
  XlsxFixture fixture(path);
  worksheet_write_string(fixture.AddSheet("Orders"), 0, 0, "Order", nullptr);
  worksheet_write_string(fixture.AddSheet("Items"), 0, 0, "Item", nullptr);
  ASSERT_TRUE(fixture.Close());
  QString error;
  ASSERT_EQ(connection.OpenWorkbook(path, &error, true), 1);
  EXPECT_EQ(connection.ExportSheetsToText(), 0);  // no installation, no folder

  synctest::PrepareInstallation();
  const QString folder = WorkbookTempFolder();
  ASSERT_EQ(connection.ExportSheetsToText(), 2);
  EXPECT_EQ(ReadBytes(folder + QStringLiteral("/Orders.txt")), Utf16(QStringLiteral("\uFEFFOrder\r\n")));
  EXPECT_EQ(ReadBytes(folder + QStringLiteral("/Items.txt")), Utf16(QStringLiteral("\uFEFFItem\r\n")));
  const QString section = QStringLiteral(
      "]\r\nColNameHeader=True\r\nFormat=TabDelimited\r\nMaxScanRows=0\r\nCharacterSet=Unicode\r\n");
  EXPECT_EQ(ReadBytes(folder + QStringLiteral("/schema.ini")),
            Utf16(QStringLiteral("[Items.txt") + section + QStringLiteral("[Orders.txt") + section + u'\n'));
}

}  // namespace
