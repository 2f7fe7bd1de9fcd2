// The Excel, Text and dBase data sources, read through the ODBC stand-ins as the profile pages
// read them: every fixture is written here.
#include "admin/foundation/DatabaseHandler.h"
#include "admin/foundation/DatabseConnection.h"
#include "platform/odbc/OdbcConfig.h"
#include "platform/os/MachineRoot.h"
#include "platform/text/Utf16Text.h"
#include "platform/workbook/Workbook.h"
#include "shared/SchemaIni.h"
#include "shared/data/SourceKinds.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <shapefil.h>
#include <sqlext.h>

#include <QDir>
#include <QFile>

namespace {

const QString kAdminName = QStringLiteral("TarnwickPDSN_4_TarnwickPLite_AD");

QString RootPath(const QString& name) { return testsupport::CurrentMachineRoot() + u'/' + name; }

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(path.left(path.lastIndexOf(u'/')));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

QByteArray Utf16Le(const QString& text, bool byteOrderMark) {
  return (byteOrderMark ? QByteArray("\xFF\xFE") : QByteArray()) + platform::Utf16LeBytes(text);
}

QStringList StandInFiles() {
  return QDir(platform::RunFolder() + QStringLiteral("/odbc-standins")).entryList(QDir::Files);
}

QStringList Tables(admin::CDatabseConnection& connection) {
  QStringList names;
  QStringList schemas;
  QStringList types;
  connection.GetTableList(&names, &schemas, &types, 1);
  return names;
}

struct Column {
  QString name;
  int16_t type;
  bool operator==(const Column&) const = default;
};

std::vector<Column> Columns(admin::CDatabseConnection& connection, const QString& table) {
  QStringList names;
  QList<int16_t> types;
  connection.GetColumnList(table, &names, &types);
  std::vector<Column> columns;
  for (qsizetype i = 0; i < names.size(); ++i) columns.push_back({names[i], types[i]});
  return columns;
}

void PrintTo(const Column& column, std::ostream* out) { *out << column.name.toStdString() << ':' << column.type; }

// Every row of the query, each value as the handler reads it ("" for NULL).
QList<QStringList> Rows(admin::CDatabseConnection& connection, const QString& sql) {
  admin::CDatabaseHandler handler;
  QList<QStringList> rows;
  if (handler.ExecuteQuery(connection, sql) != 1) return {{QStringLiteral("query failed")}};
  for (int32_t row = 0; row < handler.GetRowCount(); ++row) {
    if (!handler.MoveToRow(row)) break;
    QStringList values;
    for (int16_t column = 0; column < handler.GetColumnCount(); ++column) {
      values.append(handler.GetFieldValue(row, column));
    }
    rows.append(values);
  }
  handler.CloseStatement();
  return rows;
}

int Connect(admin::CDatabseConnection& connection, uint8_t kind, const QString& path, QString* error) {
  return connection.ConnectDataSource(kAdminName, kind, path, QString(), QString(), error, true);
}

void ExpectWritesRefused(admin::CDatabseConnection& connection, const QString& table) {
  EXPECT_EQ(connection.ExecuteStatement(QStringLiteral("DELETE FROM %1").arg(table)), SQL_ERROR);
  EXPECT_TRUE(connection.GetLastStatementDiagnostic().message.contains(u"readonly"))
      << qPrintable(connection.GetLastStatementDiagnostic().message);
}

// The folder a workbook export leaves: a Unicode tab-delimited export with the schema.ini the
// export writes (UTF-16LE without a byte-order mark), beside a CSV file of its own section.
QString WriteTextFolder() {
  const QString folder = RootPath(QStringLiteral("Temp Files"));
  WriteBytes(folder + QStringLiteral("/New_Orders.txt"),
             Utf16Le(QStringLiteral("OrderID\tCustomer\tAmount\tShipped\r\n"
                                    "1\t\"Gr\u00FCn, \"\"Ltd\"\"\"\t12.5\t01/31/2024\r\n"
                                    "2\t\u6771\u4EAC\t7\t\r\n"),
                     true));
  WriteBytes(folder + QStringLiteral("/prices.csv"),
             QByteArray("Item;Price;Note\n"
                        "\"A;1\";3;\"two\nlines\"\n"
                        "B;4\n"
                        "C;5;\x80 ok\n"));
  WriteBytes(
      folder + QStringLiteral("/schema.ini"),
      Utf16Le(QStringLiteral("[New_Orders.txt]\r\nColNameHeader=True\r\nFormat=TabDelimited\r\nMaxScanRows=0\r\n"
                             "CharacterSet=Unicode\r\n[prices.csv]\r\nColNameHeader=True\r\nFormat=Delimited(;)\r\n"
                             "CharacterSet=ANSI\r\n\n"),
              false));
  return folder;
}

TEST(StandIns, TextFolderWithSchemaIniReadsEveryFileAsATable) {
  const QString folder = WriteTextFolder();
  admin::CDatabseConnection connection;
  QString error;
  ASSERT_EQ(Connect(connection, sourcekind::kTxt, folder, &error), 1) << qPrintable(error);
  EXPECT_EQ(Tables(connection), QStringList({QStringLiteral("New_Orders.txt"), QStringLiteral("prices.csv")}));
  const std::vector<Column> orders{{QStringLiteral("OrderID"), SQL_INTEGER},
                                   {QStringLiteral("Customer"), SQL_LONGVARCHAR},
                                   {QStringLiteral("Amount"), SQL_DOUBLE},
                                   {QStringLiteral("Shipped"), SQL_LONGVARCHAR}};
  EXPECT_EQ(Columns(connection, QStringLiteral("New_Orders.txt")), orders);
  EXPECT_EQ(
      Rows(connection, QStringLiteral("SELECT * FROM \"New_Orders.txt\" ORDER BY OrderID")),
      QList<QStringList>({{QStringLiteral("1"), QStringLiteral("Gr\u00FCn, \"Ltd\""), QStringLiteral("12.5"),
                           QStringLiteral("01/31/2024")},
                          {QStringLiteral("2"), QStringLiteral("\u6771\u4EAC"), QStringLiteral("7.0"), QString()}}));
  EXPECT_EQ(Rows(connection, QStringLiteral("SELECT Item, Price, Note FROM [prices.csv]")),
            QList<QStringList>({{QStringLiteral("A;1"), QStringLiteral("3"), QStringLiteral("two\nlines")},
                                {QStringLiteral("B"), QStringLiteral("4"), QString()},
                                {QStringLiteral("C"), QStringLiteral("5"), QStringLiteral("\u20AC ok")}}));
  ExpectWritesRefused(connection, QStringLiteral("[prices.csv]"));
  connection.DisconnectDataSource();
  EXPECT_TRUE(StandInFiles().isEmpty());
  EXPECT_TRUE(platform::DataSourceValue(kAdminName, QStringLiteral("Driver")).isEmpty());
}

// A UTF-16LE file without a byte-order mark, declared Unicode, and a UTF-8 one, named by path.
TEST(StandIns, OneTextFileByPathInEachUnicodeForm) {
  const QString folder = RootPath(QStringLiteral("export"));
  WriteBytes(folder + QStringLiteral("/plain.txt"), Utf16Le(QStringLiteral("Name\tQty\n\u00C5sa\t3\n"), false));
  WriteBytes(folder + QStringLiteral("/utf8.csv"), QByteArray("\xEF\xBB\xBFName,Qty\n\xC3\x85sa,-4\n"));
  WriteBytes(folder + QStringLiteral("/schema.ini"),
             QByteArray("[plain.txt]\nFormat=TabDelimited\nCharacterSet=Unicode\n[utf8.csv]\nCharacterSet=65001\n"));
  for (const QString& file : {QStringLiteral("plain.txt"), QStringLiteral("utf8.csv")}) {
    admin::CDatabseConnection connection;
    QString error;
    ASSERT_EQ(Connect(connection, sourcekind::kCsv, folder + u'/' + file, &error), 1) << qPrintable(error);
    EXPECT_EQ(Tables(connection), QStringList{file});
    const QList<QStringList> rows = Rows(connection, QStringLiteral("SELECT Name, Qty FROM \"%1\"").arg(file));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0], QStringLiteral("\u00C5sa"));
  }
}

void WriteDbf(const QString& path) {
  QDir().mkpath(path.left(path.lastIndexOf(u'/')));
  const DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), "LDID/87");
  ASSERT_NE(dbf, nullptr);
  DBFAddField(dbf, "CUSTID", FTInteger, 6, 0);
  DBFAddField(dbf, "NAME", FTString, 20, 0);
  DBFAddField(dbf, "BALANCE", FTDouble, 10, 2);
  DBFAddNativeFieldType(dbf, "SINCE", 'D', 8, 0);
  const struct {
    int id;
    const char* name;
    double balance;
    const char* since;
  } records[] = {{7, "M\xFCller", 1250.5, "20240131"}, {8, "Gone", 0, "20200101"}, {9, "Smith & Co", -3.25, nullptr}};
  for (int i = 0; i < 3; ++i) {
    DBFWriteIntegerAttribute(dbf, i, 0, records[i].id);
    DBFWriteStringAttribute(dbf, i, 1, records[i].name);
    DBFWriteDoubleAttribute(dbf, i, 2, records[i].balance);
    if (records[i].since != nullptr) {
      // shapelib would write a date field's text as a number; the raw form goes in as it is.
      QByteArray since(records[i].since);
      DBFWriteAttributeDirectly(dbf, i, 3, since.data());
    } else {
      DBFWriteNULLAttribute(dbf, i, 3);
    }
  }
  DBFMarkRecordDeleted(dbf, 1, 1);
  DBFClose(dbf);
}

TEST(StandIns, DbaseFolderGivesOneTablePerFileInCapitals) {
  const QString folder = RootPath(QStringLiteral("dbase"));
  WriteDbf(folder + QStringLiteral("/customer.dbf"));
  admin::CDatabseConnection connection;
  QString error;
  ASSERT_EQ(Connect(connection, sourcekind::kDbf, folder, &error), 1) << qPrintable(error);
  EXPECT_EQ(Tables(connection), QStringList{QStringLiteral("CUSTOMER")});
  const std::vector<Column> columns{{QStringLiteral("CUSTID"), SQL_INTEGER},
                                    {QStringLiteral("NAME"), SQL_LONGVARCHAR},
                                    {QStringLiteral("BALANCE"), SQL_DOUBLE},
                                    {QStringLiteral("SINCE"), SQL_LONGVARCHAR}};
  EXPECT_EQ(Columns(connection, QStringLiteral("CUSTOMER")), columns);
  EXPECT_EQ(
      Rows(connection, QStringLiteral("SELECT * FROM CUSTOMER ORDER BY CUSTID")),
      QList<QStringList>(
          {{QStringLiteral("7"), QStringLiteral("M\u00FCller"), QStringLiteral("1250.5"), QStringLiteral("20240131")},
           {QStringLiteral("9"), QStringLiteral("Smith & Co"), QStringLiteral("-3.25"), QString()}}));
  ExpectWritesRefused(connection, QStringLiteral("CUSTOMER"));
}

// A sheet whose used cells start at B3 reads from there, as the Windows driver reads it.
void WriteXlsx(const QString& path) {
  testsupport::XlsxFixture book(path);
  lxw_worksheet* orders = book.AddSheet("Orders");
  worksheet_write_string(orders, 2, 1, "OrderID", nullptr);
  worksheet_write_string(orders, 2, 2, "Customer", nullptr);
  worksheet_write_string(orders, 2, 3, "Amount", nullptr);
  worksheet_write_string(orders, 2, 4, "Due", nullptr);
  worksheet_write_number(orders, 3, 1, 1, nullptr);
  worksheet_write_string(orders, 3, 2, "Gr\xC3\xBCn", nullptr);
  worksheet_write_number(orders, 3, 3, 12.5, book.NumberFormat("0.00"));
  worksheet_write_number(orders, 3, 4, 45322, book.NumberFormat("m/d/yyyy"));
  worksheet_write_number(orders, 4, 1, 2, nullptr);
  worksheet_write_number(orders, 4, 3, 3000, book.NumberFormat("#,##0"));
  book.AddSheet("Empty");
  ASSERT_TRUE(book.Close());
}

TEST(StandIns, WorkbookSheetsAreTablesOfDisplayedTexts) {
  const QString path = RootPath(QStringLiteral("book.xlsx"));
  WriteXlsx(path);
  admin::CDatabseConnection connection;
  QString error;
  ASSERT_EQ(Connect(connection, sourcekind::kXlsx, path, &error), 1) << qPrintable(error);
  EXPECT_EQ(Tables(connection), QStringList({QStringLiteral("Empty$"), QStringLiteral("Orders$")}));
  const std::vector<Column> columns{{QStringLiteral("OrderID"), SQL_INTEGER},
                                    {QStringLiteral("Customer"), SQL_LONGVARCHAR},
                                    {QStringLiteral("Amount"), SQL_LONGVARCHAR},
                                    {QStringLiteral("Due"), SQL_LONGVARCHAR}};
  EXPECT_EQ(Columns(connection, QStringLiteral("Orders$")), columns);
  EXPECT_EQ(Rows(connection, QStringLiteral("SELECT * FROM [Orders$]")),
            QList<QStringList>({{QStringLiteral("1"), QStringLiteral("Gr\u00FCn"), QStringLiteral("12.50"),
                                 QStringLiteral("1/31/2024")},
                                {QStringLiteral("2"), QString(), QStringLiteral("3,000"), QString()}}));
  EXPECT_EQ(Rows(connection, QStringLiteral("SELECT * FROM [Empty$]")), QList<QStringList>());
  ExpectWritesRefused(connection, QStringLiteral("[Orders$]"));
}

TEST(StandIns, XlsWorkbookReadsThroughTheModel) {
  const QString path = RootPath(QStringLiteral("old.xls"));
  ASSERT_TRUE(testsupport::WriteXlsFixture(
      path, QStringLiteral("[('Stock', [(0, 0, 'Item', None), (0, 1, 'Qty', None), (0, 2, 'Price', None),"
                           "  (1, 0, 'Bolt', None), (1, 1, 40, None), (1, 2, 0.25, None),"
                           "  (2, 0, 'Nut', None), (2, 1, 7, None), (2, 2, 1.5, None)])]")));
  admin::CDatabseConnection connection;
  QString error;
  ASSERT_EQ(Connect(connection, sourcekind::kXls, path, &error), 1) << qPrintable(error);
  EXPECT_EQ(Tables(connection), QStringList{QStringLiteral("Stock$")});
  const std::vector<Column> columns{{QStringLiteral("Item"), SQL_LONGVARCHAR},
                                    {QStringLiteral("Qty"), SQL_INTEGER},
                                    {QStringLiteral("Price"), SQL_DOUBLE}};
  EXPECT_EQ(Columns(connection, QStringLiteral("Stock$")), columns);
  EXPECT_EQ(Rows(connection, QStringLiteral("SELECT Item, Qty * 2, Price FROM [Stock$] ORDER BY Qty")),
            QList<QStringList>({{QStringLiteral("Nut"), QStringLiteral("14"), QStringLiteral("1.5")},
                                {QStringLiteral("Bolt"), QStringLiteral("80"), QStringLiteral("0.25")}}));
}

// A workbook exported as the profile pages export it: each sheet as Unicode text with the
// schema.ini the export writes, read back through the Text stand-in.
TEST(StandIns, WorkbookTextExportReadsBackAsTheSheetShowsIt) {
  const QString book = RootPath(QStringLiteral("book.xlsx"));
  {
    testsupport::XlsxFixture fixture(book);
    lxw_worksheet* sheet = fixture.AddSheet("Orders");
    worksheet_write_string(sheet, 0, 0, "Customer", nullptr);
    worksheet_write_string(sheet, 0, 1, "Amount", nullptr);
    worksheet_write_string(sheet, 1, 0, "Say \"hi\"\tthere", nullptr);
    worksheet_write_number(sheet, 1, 1, 12.5, fixture.NumberFormat("0.00"));
    worksheet_write_string(sheet, 2, 0, "\xE6\x9D\xB1\xE4\xBA\xAC", nullptr);
    ASSERT_TRUE(fixture.Close());
  }
  const QString folder = RootPath(QStringLiteral("Temp Files"));
  QDir().mkpath(folder);
  QString error;
  const std::unique_ptr<platform::Workbook> workbook = platform::Workbook::Open(book, true, &error);
  ASSERT_TRUE(workbook) << qPrintable(error);
  ASSERT_TRUE(workbook->FindWorksheet(QStringLiteral("Orders"))
                  ->SaveAsUnicodeText(folder + QStringLiteral("/New_Orders.txt"), &error))
      << qPrintable(error);
  ASSERT_TRUE(WriteSchemaIni(folder, folder + QStringLiteral("/schema.ini")));
  admin::CDatabseConnection connection;
  ASSERT_EQ(Connect(connection, sourcekind::kTxt, folder, &error), 1) << qPrintable(error);
  EXPECT_EQ(Tables(connection), QStringList{QStringLiteral("New_Orders.txt")});
  EXPECT_EQ(Rows(connection, QStringLiteral("SELECT Customer, Amount FROM [New_Orders.txt]")),
            QList<QStringList>({{QStringLiteral("Say \"hi\"\tthere"), QStringLiteral("12.5")},
                                {QStringLiteral("\u6771\u4EAC"), QString()}}));
}

// Bad files: a clear error from the connect; no name, no stand-in database, the files unchanged.
TEST(StandIns, BadFilesGiveAClearErrorAndLeaveEverythingAsItWas) {
  struct Case {
    const char* what;
    uint8_t kind;
    const char* file;
    QByteArray content;
    const char* schema;
    const char* expected;
  };
  const Case cases[] = {
      {"malformed schema.ini", sourcekind::kCsv, "a.csv", "x\n1\n", "[a.csv]\nColNameHeader\n", "line 2"},
      {"unknown format", sourcekind::kCsv, "a.csv", "x\n1\n", "[a.csv]\nFormat=FixedLength\n", "FixedLength"},
      {"invalid UTF-8", sourcekind::kCsv, "a.csv", "x\n\xC3\x28\n", "[a.csv]\nCharacterSet=65001\n", "UTF-8"},
      {"odd UTF-16", sourcekind::kTxt, "a.txt", QByteArray("x\0\n", 3), "[a.txt]\nCharacterSet=Unicode\n",
       "odd number"},
      {"ragged row", sourcekind::kCsv, "a.csv", "x,y\n1,2\n3,4,5\n", "", "line 3 holds 3 fields"},
      {"open quote", sourcekind::kCsv, "a.csv", "x\n\"1\n2\n", "", "line 2 is never closed"},
      {"missing folder", sourcekind::kDbf, nullptr, {}, nullptr, "does not exist"},
      {"damaged workbook", sourcekind::kXlsx, "b.xlsx", "PK\x03\x04 broken", nullptr, "b.xlsx"},
      {"binary workbook", sourcekind::kXlsm, "b.xlsb", "PK\x03\x04", nullptr, "b.xlsb"},
      {"truncated dBase", sourcekind::kDbf, "t.dbf",
       QByteArray("\x03\x7C\x01\x01\x10\x00\x00\x00\x61\x00\x0C\x00", 12) + QByteArray(20, '\0'), nullptr,
       "records of 12 bytes"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    const QString folder = RootPath(QString::fromLatin1(test.what));
    if (test.file != nullptr) WriteBytes(folder + u'/' + QString::fromLatin1(test.file), test.content);
    if (test.schema != nullptr) WriteBytes(folder + QStringLiteral("/schema.ini"), QByteArray(test.schema));
    const bool workbook = test.kind == sourcekind::kXlsx || test.kind == sourcekind::kXlsm;
    const QString path = workbook ? folder + u'/' + QString::fromLatin1(test.file) : folder;
    admin::CDatabseConnection connection;
    QString error;
    EXPECT_EQ(Connect(connection, test.kind, path, &error), 0);
    EXPECT_TRUE(error.startsWith(u"Failed to connect to database.")) << qPrintable(error);
    EXPECT_TRUE(error.contains(QString::fromLatin1(test.expected))) << qPrintable(error);
    EXPECT_FALSE(connection.IsConnected());
    EXPECT_TRUE(platform::DataSourceValue(kAdminName, QStringLiteral("Driver")).isEmpty());
    EXPECT_TRUE(StandInFiles().isEmpty()) << qPrintable(StandInFiles().join(u' '));
    if (test.file != nullptr) {
      QFile file(folder + u'/' + QString::fromLatin1(test.file));
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      EXPECT_EQ(file.readAll(), test.content);
    }
  }
}

// A load is reused only while its files are unchanged; a changed file is read again.
TEST(StandIns, AChangedFileIsReadAgainInOneProcess) {
  const QString file = RootPath(QStringLiteral("data/stock.csv"));
  WriteBytes(file, "Item,Qty\nA,1\n");
  admin::CDatabseConnection connection;
  QString error;
  ASSERT_EQ(Connect(connection, sourcekind::kCsv, file, &error), 1) << qPrintable(error);
  EXPECT_EQ(Rows(connection, QStringLiteral("SELECT Qty FROM [stock.csv]")),
            QList<QStringList>({{QStringLiteral("1")}}));
  WriteBytes(file, "Item,Qty\nA,2\n");
  ASSERT_EQ(Connect(connection, sourcekind::kCsv, file, &error), 1) << qPrintable(error);
  EXPECT_EQ(Rows(connection, QStringLiteral("SELECT Qty FROM [stock.csv]")),
            QList<QStringList>({{QStringLiteral("2")}}));
  EXPECT_EQ(StandInFiles().size(), 1);
  connection.DisconnectDataSource();
  EXPECT_TRUE(StandInFiles().isEmpty());
}

}  // namespace
