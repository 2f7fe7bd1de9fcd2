// Profiles of text, CSV and dBase files (read through the ODBC stand-ins) and of a workbook read
// through its text export; every fixture is written here.
#include "admin/foundation/AppLog.h"
#include "admin/foundation/DBConnManager.h"
#include "admin/foundation/LogFile.h"
#include "admin/foundation/ProfileColumnTypes.h"
#include "admin/foundation/ProfileDataReader.h"
#include "shared/WorkbookFolder.h"
#include "shared/data/SourceKinds.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <shapefil.h>

#include <QDir>
#include <QFile>

namespace {

QString FolderOf(const char* name) {
  const QString folder = testsupport::CurrentMachineRoot() + u'/' + QString::fromLatin1(name) + u'/';
  EXPECT_TRUE(QDir().mkpath(folder));
  return folder;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

void WriteDbf(const QString& path) {
  const DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), "LDID/87");
  ASSERT_NE(dbf, nullptr);
  DBFAddField(dbf, "CUSTID", FTInteger, 6, 0);
  DBFAddField(dbf, "NAME", FTString, 20, 0);
  DBFWriteIntegerAttribute(dbf, 0, 0, 7);
  DBFWriteStringAttribute(dbf, 0, 1, "Alder Outfitters");
  DBFClose(dbf);
}

struct FileSourceCase {
  const char* what;
  uint8_t kind;
  const char* fileName;
  const char* query;
};

// A profile of one file in a folder that its driver reads whole.
ProfileRecord FileProfile(const FileSourceCase& source, const QString& folder) {
  ProfileRecord profile;
  profile.DBType = QString::number(source.kind);
  profile.Path = folder;
  profile.tempPath = folder;
  profile.DB_DSN = QString::fromLatin1(source.fileName);
  profile.Query = QString::fromLatin1(source.query);
  return profile;
}

}  // namespace

TEST(ProfileFileSources, ManagerAndReaderReadTextCsvAndDbaseFolders) {
  const FileSourceCase cases[] = {
      {"CSV", sourcekind::kCsv, "customers.csv", "SELECT CustID, Name FROM \"customers.csv\""},
      {"text", sourcekind::kTxt, "customers.txt", "SELECT CustID, Name FROM \"customers.txt\""},
      {"dBase", sourcekind::kDbf, "customer.dbf", "SELECT CUSTID, NAME FROM CUSTOMER"},
  };
  for (const FileSourceCase& source : cases) {
    SCOPED_TRACE(source.what);
    const QString folder = FolderOf(source.what);
    const QString file = folder + QString::fromLatin1(source.fileName);
    if (source.kind == sourcekind::kDbf) {
      WriteDbf(file);
    } else {
      WriteBytes(file, "CustID,Name\n7,Alder Outfitters\n");
    }

    CDBConnManager manager;
    QString error;
    ASSERT_EQ(manager.ConnectByType(folder, QString(), QString(), &error, source.kind), 1) << qPrintable(error);
    ASSERT_EQ(manager.FetchContents(&error, QString::fromLatin1(source.query)), 1) << qPrintable(error);
    ASSERT_TRUE(manager.GetActiveHandler()->MoveToRow(0));
    EXPECT_EQ(manager.GetActiveHandler()->GetFieldValue(0, 1), QStringLiteral("Alder Outfitters"));
    manager.CloseConnection(false);

    admin::ProfileDataReader reader;
    reader.Profile() = FileProfile(source, folder);
    ASSERT_EQ(reader.OpenProfileSource(), 1);
    ASSERT_EQ(reader.ExecuteProfileQuery(), 1);
    EXPECT_EQ(reader.GetRowCount(), 1);
    EXPECT_EQ(reader.GetProfileColumnName(1).toUpper(), QStringLiteral("NAME"));
    ASSERT_TRUE(reader.GetActiveHandler()->MoveToRow(0));
    EXPECT_EQ(reader.GetActiveHandler()->GetFieldValue(0, 0), QStringLiteral("7"));
    EXPECT_EQ(reader.Profile().Query, QString::fromLatin1(source.query));
  }
}

// An .xls profile (kind 2) goes through the ODBC Excel driver's name, as the Windows driver
// would serve it.
TEST(ProfileFileSources, ManagerAndReaderReadAnXlsWorkbookThroughItsDriverName) {
  const QString folder = FolderOf("xls");
  ASSERT_TRUE(testsupport::WriteXlsFixture(
      folder + QStringLiteral("stock.xls"),
      QStringLiteral("[('Stock', [(0, 0, 'Item', None), (0, 1, 'Qty', None), (1, 0, 'Bolt', None), (1, 1, 40, None)])]")));
  const FileSourceCase source{"xls", sourcekind::kXls, "stock.xls", "SELECT Item, Qty FROM [Stock$]"};

  CDBConnManager manager;
  QString error;
  ASSERT_EQ(manager.ConnectByType(folder + QString::fromLatin1(source.fileName), QString(), QString(), &error, source.kind), 1)
      << qPrintable(error);
  ASSERT_EQ(manager.FetchContents(&error, QString::fromLatin1(source.query)), 1) << qPrintable(error);
  ASSERT_TRUE(manager.GetActiveHandler()->MoveToRow(0));
  EXPECT_EQ(manager.GetActiveHandler()->GetFieldValue(0, 0), QStringLiteral("Bolt"));
  manager.CloseConnection(false);

  admin::ProfileDataReader reader;
  reader.Profile() = FileProfile(source, folder);
  ASSERT_EQ(reader.OpenProfileSource(), 1);
  ASSERT_EQ(reader.ExecuteProfileQuery(), 1);
  EXPECT_EQ(reader.GetRowCount(), 1);
  ASSERT_TRUE(reader.GetActiveHandler()->MoveToRow(0));
  EXPECT_EQ(reader.GetActiveHandler()->GetFieldValue(0, 1), QStringLiteral("40"));
}

// A workbook read as text: its Path is the workbook's folder, its tempPath the export folder,
// and its query names the sheet's text file without the export's "New_".
TEST(ProfileFileSources, WorkbookReadAsTextIsExportedAndReadThroughItsCopy) {
  const QString installation = testsupport::InstallAdmin();
  CLogFile log(installation, QStringLiteral("DesktopLog.log"));
  SetAppLog(&log);
  const QString books = FolderOf("books");
  const auto writeBook = [&books](const char* customer) {
    testsupport::XlsxFixture fixture(books + QStringLiteral("book.xlsx"));
    lxw_worksheet* orders = fixture.AddSheet("Orders");
    worksheet_write_string(orders, 0, 0, "Customer", nullptr);
    worksheet_write_string(orders, 0, 1, "Amount", nullptr);
    worksheet_write_string(orders, 2, 0, customer, nullptr);
    worksheet_write_number(orders, 2, 1, 12.5, nullptr);
    EXPECT_TRUE(fixture.Close());
  };
  writeBook("Alder Outfitters");
  ProfileRecord profile;
  profile.DBType = QStringLiteral("4");
  profile.Path = books;
  profile.tempPath = WorkbookTempFolder() + u'/';
  profile.DB_DSN = QStringLiteral("book.xlsx");
  profile.Query = QStringLiteral("SELECT Customer, Amount FROM \"Orders.txt\" WHERE Customer <> 'from \"x\"'");

  QStringList names;
  QStringList types;
  ASSERT_EQ(GetProfileColumnTypes(&names, &types, profile), 1);
  EXPECT_EQ(names, (QStringList{QStringLiteral("Customer"), QStringLiteral("Amount")}));
  EXPECT_EQ(types.size(), 2);
  EXPECT_EQ(types.value(1), QStringLiteral("SQL_DOUBLE"));

  // The reader reads the cleaned copy (the empty row is gone), whatever it held before.
  writeBook("Brookside Traders");
  names.clear();
  types.clear();
  ASSERT_EQ(GetProfileColumnTypes(&names, &types, profile), 1);
  admin::ProfileDataReader reader;
  reader.Profile() = profile;
  ASSERT_EQ(reader.OpenProfileSource(), 1);
  ASSERT_EQ(reader.ExecuteProfileQuery(), 1);
  EXPECT_EQ(reader.Profile().Query,
            QStringLiteral("SELECT Customer, Amount FROM \"New_Orders.txt\" WHERE Customer <> 'from \"x\"'"));
  EXPECT_EQ(reader.GetRowCount(), 1);
  ASSERT_TRUE(reader.GetActiveHandler()->MoveToRow(0));
  EXPECT_EQ(reader.GetActiveHandler()->GetFieldValue(0, 0), QStringLiteral("Brookside Traders"));

  // A workbook that is gone leaves no earlier export to be read in its place.
  QFile::remove(books + QStringLiteral("book.xlsx"));
  EXPECT_EQ(GetProfileColumnTypes(&names, &types, profile), 0);
  SetAppLog(nullptr);
}
