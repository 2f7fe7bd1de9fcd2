// The profile data-source facade on a source of every kind; every fixture is written here.
#include "shared/WorkbookFolder.h"
#include "shared/devicerecord/DeviceRecord.h"
#include "sync/data/ExcelConnection.h"
#include "sync/data/ProfileDataReader.h"
#include "sync/data/RowDigest.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/XlsxFixture.h"
#include "tests/sync/data/SyncTestEngines.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <array>

using odbctest::Engine;

namespace {

using Digest = std::array<uint8_t, kRowDigestSize>;

const QStringList kFirst = {QStringLiteral("7"), QStringLiteral("Alder Outfitters")};
const QStringList kSecond = {QStringLiteral("8"), QStringLiteral("O'Brien & Sons")};

QString RootFolder() { return testsupport::CurrentMachineRoot() + u'/'; }

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

// "shop.mdb" in the root with the table customers (CustID numbered by the database, Name).
void WriteSqliteShop() {
  WriteBytes(RootFolder() + QStringLiteral("shop.mdb"), QByteArray());
  syncservice::CDatabseConnection connection;
  QString error;
  ASSERT_EQ(connection.ConnectDataSource(QStringLiteral("ShopWriter"), 1, RootFolder() + QStringLiteral("shop.mdb"),
                                         QString(), QString(), &error, false),
            1)
      << qPrintable(error);
  for (const char* sql : {"CREATE TABLE customers (CustID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(50))",
                          "INSERT INTO customers VALUES (7, 'Alder Outfitters')",
                          "INSERT INTO customers VALUES (8, 'O''Brien & Sons')"}) {
    ASSERT_TRUE(SQL_SUCCEEDED(connection.ExecuteStatement(QString::fromLatin1(sql)))) << sql;
  }
}

// Sheet "Customers": a header, the two rows with two empty rows between them.
void WriteXlsxShop(const QString& path) {
  testsupport::XlsxFixture fixture(path);
  lxw_worksheet* sheet = fixture.AddSheet("Customers");
  worksheet_write_string(sheet, 0, 0, "CustID", nullptr);
  worksheet_write_string(sheet, 0, 1, "Name", nullptr);
  worksheet_write_string(sheet, 1, 0, "7", nullptr);
  worksheet_write_string(sheet, 1, 1, "Alder Outfitters", nullptr);
  worksheet_write_string(sheet, 4, 0, "8", nullptr);
  worksheet_write_string(sheet, 4, 1, "O'Brien & Sons", nullptr);
  ASSERT_TRUE(fixture.Close());
}

ProfileRecord Profile(uint8_t kind, const QString& path, const QString& file, const QString& query) {
  ProfileRecord profile;
  profile.DBType = QString::number(kind);
  profile.Path = path;
  profile.tempPath = path;
  profile.DB_DSN = file;
  profile.Query = query;
  return profile;
}

QString DigestOf(const QStringList& values) { return TextDigestHex(MakeRowText(values)); }

struct Read {
  QStringList columns;
  QStringList digests;
};

// Opens, executes and reads every row's digest.
Read ReadAll(syncservice::ProfileDataReader* reader) {
  Read read;
  QString error;
  EXPECT_EQ(reader->OpenProfileSource(&error), 1) << qPrintable(error);
  EXPECT_EQ(reader->ExecuteProfileQuery(&error), 1) << qPrintable(error);
  for (int16_t column = 0; column < reader->GetColumnCount(); ++column)
    read.columns.append(reader->GetProfileColumnName(column));
  reader->BindColumns();
  for (int32_t row = 0; row < reader->GetRecordCount(); ++row) {
    QByteArray record;
    Digest digest{};
    EXPECT_GT(reader->FetchRecord(row, &record, digest.data()), 0) << row;
    read.digests.append(DigestToHex(digest.data()));
  }
  reader->UnbindColumns();
  return read;
}

class ProfileDataReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { synctest::PrepareInstallation(); }
};

}  // namespace

TEST_F(ProfileDataReaderTest, EveryFileKindHandsOutItsRowsWithTheirDigests) {
  WriteSqliteShop();
  const QString csvFolder = RootFolder() + QStringLiteral("csv/");
  ASSERT_TRUE(QDir().mkpath(csvFolder));
  WriteBytes(csvFolder + QStringLiteral("customers.csv"), "CustID,Name\n7,Alder Outfitters\n8,O'Brien & Sons\n");
  ASSERT_TRUE(testsupport::WriteXlsFixture(
      RootFolder() + QStringLiteral("shop.xls"),
      QStringLiteral("[('Customers', [(0, 0, 'CustID', None), (0, 1, 'Name', None), (1, 0, '7', None), "
                     "(1, 1, 'Alder Outfitters', None), (2, 0, '8', None), (2, 1, \"O'Brien & Sons\", None)])]")));
  // A workbook read as text: its sheets exported to the workbook folder, which the profile's
  // tempPath names while Path still names the workbook's own folder.
  WriteXlsxShop(RootFolder() + QStringLiteral("export.xlsx"));
  {
    syncservice::CExcelConnection connection;
    QString error;
    ASSERT_EQ(connection.OpenWorkbook(RootFolder() + QStringLiteral("export.xlsx"), &error, true), 1);
    ASSERT_EQ(connection.ExportSheetsToText(), 1);
  }
  const QStringList named = {QStringLiteral("CustID"), QStringLiteral("Name")};
  struct Case {
    const char* what;
    ProfileRecord profile;
    QStringList columns;
  };
  const Case cases[] = {
      {"SQLite file", Profile(1, RootFolder(), QStringLiteral("shop.mdb"), QStringLiteral("Select CustID, Name From customers")), named},
      {"CSV folder", Profile(5, csvFolder, QStringLiteral("customers.csv"),
                             QStringLiteral("Select CustID, Name From \"customers.csv\"")), named},
      {"xls through the Excel driver", Profile(2, RootFolder(), QStringLiteral("shop.xls"),
                                               QStringLiteral("Select CustID, Name From [Customers$] Where Name <> ''")), named},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    syncservice::ProfileDataReader reader;
    reader.Profile() = c.profile;
    const Read read = ReadAll(&reader);
    EXPECT_EQ(read.columns, c.columns);
    EXPECT_EQ(read.digests, (QStringList{DigestOf(kFirst), DigestOf(kSecond)}));
    EXPECT_FALSE(reader.IsWorkbookProfile());
    EXPECT_EQ(reader.HoldsExcelLock(), c.profile.DBType == u"2") << "only the ODBC Excel driver takes the lock";
  }

  syncservice::ProfileDataReader text;
  text.Profile() = Profile(4, RootFolder(), QStringLiteral("export.xlsx"), QStringLiteral("Select CustID, Name From \"Customers.txt\""));
  text.Profile().tempPath = WorkbookTempFolder() + u'/';
  const Read exported = ReadAll(&text);
  EXPECT_EQ(exported.columns, named);
  ASSERT_EQ(exported.digests.size(), 4) << "the export keeps the empty rows";
  EXPECT_EQ(exported.digests.first(), DigestOf(kFirst));
  EXPECT_EQ(exported.digests.last(), DigestOf(kSecond));
}

TEST_F(ProfileDataReaderTest, AnXlsxProfileReadsACleanedCopyThroughTheWorkbookModel) {
  WriteXlsxShop(RootFolder() + QStringLiteral("shop.xlsx"));
  const QByteArray original = [] {
    QFile file(RootFolder() + QStringLiteral("shop.xlsx"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  syncservice::ProfileDataReader reader;
  reader.Profile() = Profile(7, RootFolder(), QStringLiteral("shop.xlsx"), QStringLiteral("Customers"));
  const Read read = ReadAll(&reader);
  EXPECT_TRUE(reader.IsWorkbookProfile());
  EXPECT_FALSE(reader.HoldsExcelLock());
  EXPECT_EQ(read.columns, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
  EXPECT_EQ(read.digests, (QStringList{DigestOf({QStringLiteral("CustID"), QStringLiteral("Name")}), DigestOf(kFirst),
                                       DigestOf(kSecond)}))
      << "the empty rows were deleted from the copy";
  EXPECT_TRUE(QFile::exists(WorkbookTempFolder() + QStringLiteral("/shop.xlsx")));
  QFile file(RootFolder() + QStringLiteral("shop.xlsx"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), original) << "the user's workbook is never written";
  QList<int16_t> columns;
  EXPECT_EQ(reader.GetAutoNumberColumns(&columns), 0);
  EXPECT_EQ(reader.GetPrimaryKeyColumns(&columns), 0);
  EXPECT_TRUE(columns.isEmpty());
}

TEST_F(ProfileDataReaderTest, AQueryNotBeginningWithSelectExactlyMakesAProcedureProfile) {
  WriteSqliteShop();
  struct Case {
    const char* query;
    bool procedure;
  };
  for (const Case c : {Case{"select CustID, Name From customers", true}, Case{"Select CustID, Name From customers", false}}) {
    SCOPED_TRACE(c.query);
    syncservice::ProfileDataReader reader;
    reader.Profile() = Profile(1, RootFolder(), QStringLiteral("shop.mdb"), QString::fromLatin1(c.query));
    const Read read = ReadAll(&reader);
    EXPECT_EQ(reader.IsProcedureProfile(), c.procedure);
    EXPECT_EQ(read.digests, (QStringList{DigestOf(kFirst), DigestOf(kSecond)}));
    QList<int16_t> columns;
    EXPECT_EQ(reader.GetAutoNumberColumns(&columns), c.procedure ? 0 : 1);
    EXPECT_EQ(columns, c.procedure ? QList<int16_t>{} : QList<int16_t>{0});
  }
}

TEST_F(ProfileDataReaderTest, ASourceThatDoesNotOpenAnswersNothingAndSaysWhy) {
  syncservice::ProfileDataReader reader;
  reader.Profile() = Profile(1, RootFolder(), QStringLiteral("missing.mdb"), QStringLiteral("Select * From t"));
  QString error;
  EXPECT_EQ(reader.OpenProfileSource(&error), 0);
  EXPECT_TRUE(error.startsWith(u"Failed to Connect User's Profile Database.Failed to connect to database."))
      << qPrintable(error);
  EXPECT_EQ(reader.ExecuteProfileQuery(&error), 0);
  EXPECT_EQ(reader.GetRecordCount(), 0);
  EXPECT_EQ(reader.GetColumnCount(), 0);
  EXPECT_EQ(reader.GetProfileColumnName(0), QString());
  QByteArray record;
  Digest digest{};
  EXPECT_EQ(reader.FetchRecord(0, &record, digest.data()), 0);

  WriteXlsxShop(RootFolder() + QStringLiteral("shop.xlsx"));
  syncservice::ProfileDataReader sheet;
  sheet.Profile() = Profile(7, RootFolder(), QStringLiteral("shop.xlsx"), QStringLiteral("NoSuchSheet"));
  ASSERT_EQ(sheet.OpenProfileSource(&error), 1) << qPrintable(error);
  EXPECT_EQ(sheet.ExecuteProfileQuery(&error), 0);
  EXPECT_EQ(error, QStringLiteral("Unable to Fetch Contents of User's Profile."));
  EXPECT_EQ(sheet.GetRecordCount(), 0);

  syncservice::ProfileDataReader missingWorkbook;
  missingWorkbook.Profile() = Profile(7, RootFolder(), QStringLiteral("gone.xlsx"), QStringLiteral("Customers"));
  EXPECT_EQ(missingWorkbook.OpenProfileSource(&error), 0);
  EXPECT_TRUE(error.startsWith(u"Failed to Connect User's Excel Profile Database.")) << qPrintable(error);
}

namespace {

QString ServerTable() { return QStringLiteral("facade_items_%1").arg(QCoreApplication::applicationPid()); }

class ServerProfile : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    synctest::PrepareInstallation();
    QString unavailable;
    if (!odbctest::RegisterServerDataSource(GetParam(), &login_, &unavailable)) {
      if (unavailable.startsWith(u"skip:")) GTEST_SKIP() << qPrintable(unavailable);
      FAIL() << qPrintable(unavailable);
    }
    SYNC_CONNECT_OR_SKIP(GetParam(), &writer_);
    writer_.ExecuteStatement(QStringLiteral("DROP TABLE %1").arg(ServerTable()));
    const QString id = GetParam() == Engine::MariaDb ? QStringLiteral("INTEGER AUTO_INCREMENT PRIMARY KEY")
                                                     : QStringLiteral("SERIAL PRIMARY KEY");
    Run(QStringLiteral("CREATE TABLE %1 (id %2, name VARCHAR(50))").arg(ServerTable(), id));
    created_ = true;
    Run(QStringLiteral("INSERT INTO %1 (name) VALUES ('Alder Outfitters')").arg(ServerTable()));
    Run(QStringLiteral("INSERT INTO %1 (name) VALUES ('Birch Goods')").arg(ServerTable()));
  }
  void TearDown() override {
    if (created_) writer_.ExecuteStatement(QStringLiteral("DROP TABLE %1").arg(ServerTable()));
  }
  void Run(const QString& sql) {
    ASSERT_TRUE(SQL_SUCCEEDED(writer_.ExecuteStatement(sql))) << qPrintable(writer_.GetLastError());
  }
  // MariaDB's profile names its table in back-quotes, as MySQL users write it.
  ProfileRecord Profile(const QString& dbType) const {
    const QString table = GetParam() == Engine::MariaDb ? u'`' + ServerTable() + u'`' : ServerTable();
    ProfileRecord profile;
    profile.DBType = dbType;
    profile.DB_DSN = login_.dataSourceName;
    profile.UserName = login_.user;
    profile.Password = login_.password;
    profile.Query = QStringLiteral("Select name, id From %1 Order By id").arg(table);
    return profile;
  }

  odbctest::ServerLogin login_;
  syncservice::CDatabseConnection writer_;
  bool created_ = false;
};

}  // namespace

TEST_P(ServerProfile, ANamedSourceHandsOutRowsAutoNumberAndKeyColumnsAndTakesChanges) {
  for (const QString& dbType : {QStringLiteral("0"), QStringLiteral("9")}) {
    SCOPED_TRACE(qPrintable(dbType));
    syncservice::ProfileDataReader reader;
    reader.Profile() = Profile(dbType);
    const Read read = ReadAll(&reader);
    EXPECT_EQ(reader.GetSourceKind(), 0);
    EXPECT_EQ(read.columns, (QStringList{QStringLiteral("name"), QStringLiteral("id")}));
    EXPECT_EQ(read.digests, (QStringList{DigestOf({QStringLiteral("Alder Outfitters"), QStringLiteral("1")}),
                                         DigestOf({QStringLiteral("Birch Goods"), QStringLiteral("2")})}));
    QList<int16_t> autoNumber;
    EXPECT_EQ(reader.GetAutoNumberColumns(&autoNumber), 1);
    EXPECT_EQ(autoNumber, QList<int16_t>{1});
    QList<int16_t> keys;
    EXPECT_EQ(reader.GetPrimaryKeyColumns(&keys), 1);
    EXPECT_EQ(keys, QList<int16_t>{1});
  }

  syncservice::ProfileDataReader reader;
  reader.Profile() = Profile(QStringLiteral("0"));
  reader.SetBackSync(true);
  QString error;
  ASSERT_EQ(reader.OpenProfileSource(&error), 1) << qPrintable(error);
  ASSERT_EQ(reader.ExecuteProfileQuery(&error), 1) << qPrintable(error);
  reader.BindColumns();
  QByteArray record;
  Digest before{};
  // Rows are read in ascending order.
  for (const int32_t row : {0, 1}) ASSERT_GT(reader.FetchRecord(row, &record, before.data()), 0);
  const QList<int16_t> kinds = {1, 4};
  QList<devicerecord::Value> values = devicerecord::Decode(record, kinds, &error).value();
  values[0] = devicerecord::Value::OfText(values[0].kind, QStringLiteral("Cedar Supply"));
  Digest written{};
  ASSERT_EQ(reader.UpdateRecord(*devicerecord::Encode(values), 1, &error, written.data(), before.data()), 1)
      << qPrintable(error);
  EXPECT_EQ(DigestToHex(written.data()), DigestOf({QStringLiteral("Cedar Supply"), QStringLiteral("2")}));
  reader.CloseProfileSource(false);
  EXPECT_EQ(ReadAll(&reader).digests.last(), DigestToHex(written.data()));
}

INSTANTIATE_TEST_SUITE_P(Servers, ServerProfile, ::testing::Values(Engine::PostgreSql, Engine::MariaDb),
                         [](const ::testing::TestParamInfo<Engine>& engine) {
                           return odbctest::EngineName(engine.param).toStdString();
                         });
