// Back synchronisation into a workbook profile: the sheet's rows change, a workbook an office
// suite holds open waits for a later turn, and workbooks that cannot take a change say why.
#include "sync/data/ExcelConnection.h"
#include "sync/data/ExcelHandlerForUserDB.h"
#include "sync/engine/KeptDeviceMessages.h"
#include "sync/engine/SyncThreads.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/XlsxFixture.h"
#include "tests/sync/engine/BackSyncFixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace backsynctest;

namespace {

const QList<int16_t> kSheetKinds = {1, 1};

class WorkbookBackSync : public BackSyncFixture {
 protected:
  void SetUp() override {
    BackSyncFixture::SetUp();
    ASSERT_TRUE(QDir().mkpath(Folder()));
  }

  static QString Folder() { return testsupport::CurrentMachineRoot() + QStringLiteral("/books/"); }

  // A workbook profile over sheet "Items" of `book`: a header row, then a, b, c, in step with
  // the device.
  void AddWorkbookProfile(const QString& book, const QString& query = QStringLiteral("Select * From \"Items.txt\"")) {
    ProfileRecord profile;
    profile.ProfileID = kProfile;
    profile.DBType = QStringLiteral("7");
    profile.Path = Folder();
    profile.tempPath = testsupport::CurrentMachineRoot() + QStringLiteral("/Temp Files/");
    profile.DB_DSN = book;
    profile.Query = query;
    profile.UserList = QStringLiteral("user01,");
    StoreProfile(profile);
    syncservice::CExcelConnection connection;
    ASSERT_EQ(connection.OpenWorkbook(Folder() + book, nullptr, true), 1);
    CExcelHandlerForUserDB sheet;
    ASSERT_EQ(sheet.OpenWorksheet(connection.GetWorksheets(), QStringLiteral("Items")), 1);
    QList<QByteArray> records;
    QList<std::array<uint8_t, kRowDigestSize>> digests;
    for (int32_t row = 1; row < sheet.GetRowCount(); ++row) {
      QByteArray record;
      std::array<uint8_t, kRowDigestSize> digest{};
      ASSERT_GT(sheet.ReadRecord(row, &record, digest.data()), 0);
      records.append(record);
      digests.append(digest);
    }
    SeedInStep(kSheetKinds, records, digests);
  }

  static void WriteXlsx(const QString& book) {
    testsupport::XlsxFixture fixture(Folder() + book);
    lxw_worksheet* sheet = fixture.AddSheet("Items");
    const char* cells[][2] = {{"Name", "Qty"}, {"a", "1"}, {"b", "2"}, {"c", "3"}};
    for (lxw_row_t row = 0; row < 4; ++row) {
      for (lxw_col_t column = 0; column < 2; ++column) {
        worksheet_write_string(sheet, row, column, cells[row][column], nullptr);
      }
    }
    ASSERT_TRUE(fixture.Close());
  }

  // "value:value" of every sheet row below the header.
  static QStringList SheetRows(const QString& book) {
    syncservice::CExcelConnection connection;
    EXPECT_EQ(connection.OpenWorkbook(Folder() + book, nullptr, true), 1);
    CExcelHandlerForUserDB sheet;
    EXPECT_EQ(sheet.OpenWorksheet(connection.GetWorksheets(), QStringLiteral("Items")), 1);
    QStringList rows;
    for (int32_t row = 1; row < sheet.GetRowCount(); ++row) {
      rows << sheet.GetFieldValue(row, 0) + u':' + sheet.GetFieldValue(row, 1);
    }
    return rows;
  }

  static QJsonArray Values(const char* name, const char* qty) {
    return {QString::fromLatin1(name), QString::fromLatin1(qty)};
  }
};

TEST_F(WorkbookBackSync, DeviceEditsChangeTheSheetRows) {
  WriteXlsx(QStringLiteral("book.xlsx"));
  AddWorkbookProfile(QStringLiteral("book.xlsx"));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 2, Values("b-device", "20"));
  service_.QueueDeviceEdit(QStringLiteral("delete"), kProfile, 1, 1);
  service_.QueueDeviceEdit(QStringLiteral("add"), kProfile, 2, 4, Values("d", "4"));
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(SheetRows(QStringLiteral("book.xlsx")), Texts({"b-device:20", "c:3", "d:4"}));
  EXPECT_EQ(service_.Acks(), (QJsonArray{Ack(1, 2, 1, kSynced), Ack(1, 1, 1, kSynced), Ack(2, 4, 1, kSynced)}));
  EXPECT_EQ(DeviceRecords(), Texts({"1#2=b-device:20", "1#3=c:3", "2#4=d:4"}));
  const QList<CdbEntry> snapshot = Snapshot();
  EXPECT_EQ(snapshot.size(), 3);
  EXPECT_EQ(SnapshotEntry(snapshot, 1, 1), nullptr);
  // The snapshot holds the digests of the rows as the sheet now reads.
  syncservice::CExcelConnection connection;
  ASSERT_EQ(connection.OpenWorkbook(Folder() + QStringLiteral("book.xlsx"), nullptr, true), 1);
  CExcelHandlerForUserDB sheet;
  ASSERT_EQ(sheet.OpenWorksheet(connection.GetWorksheets(), QStringLiteral("Items")), 1);
  std::array<uint8_t, kRowDigestSize> digest{};
  sheet.GetRowDigest(1, digest.data());
  ASSERT_NE(SnapshotEntry(snapshot, 1, 2), nullptr);
  EXPECT_EQ(SnapshotEntry(snapshot, 1, 2)->digest, digest);
}

TEST_F(WorkbookBackSync, AWorkbookOpenInAnOfficeSuiteKeepsTheMessageForALaterTurn) {
  WriteXlsx(QStringLiteral("book.xlsx"));
  AddWorkbookProfile(QStringLiteral("book.xlsx"));
  const QString lock = Folder() + QStringLiteral(".~lock.book.xlsx#");
  QFile lockFile(lock);
  ASSERT_TRUE(lockFile.open(QIODevice::WriteOnly));
  lockFile.close();
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 2, Values("b-device", "20"));
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_TRUE(service_.Acks().isEmpty());
  EXPECT_EQ(SheetRows(QStringLiteral("book.xlsx")), Texts({"a:1", "b:2", "c:3"}));
  EXPECT_EQ(LogLines(QStringLiteral("Problem in connecting Excel profile, Excel Sheet already open.")), 1);
  EXPECT_TRUE(QFile::exists(KeptDeviceMessages().Path()));

  ASSERT_TRUE(RunBackSyncTurn());  // still open: still kept
  EXPECT_TRUE(service_.Acks().isEmpty());

  ASSERT_TRUE(QFile::remove(lock));
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(SheetRows(QStringLiteral("book.xlsx")), Texts({"a:1", "b-device:20", "c:3"}));
  EXPECT_EQ(service_.Acks(), QJsonArray{Ack(1, 2, 1, kSynced)});
  EXPECT_FALSE(QFile::exists(KeptDeviceMessages().Path()));
}

TEST_F(WorkbookBackSync, WorkbooksThatCannotTakeTheChangeAnswerWhy) {
  struct Case {
    const char* what;
    QString book;
    QString query;
    QString reason;
  };
  const QString xlsCells = QStringLiteral("[('Items', [(0, 0, 'Name', None), (0, 1, 'Qty', None), (1, 0, 'a', None), "
                                          "(1, 1, '1', None), (2, 0, 'b', None), (2, 1, '2', None)])]");
  ASSERT_TRUE(testsupport::WriteXlsFixture(Folder() + QStringLiteral("old.xls"), xlsCells));
  WriteXlsx(QStringLiteral("book.xlsx"));
  const Case cases[] = {
      {"an .xls workbook", QStringLiteral("old.xls"), QStringLiteral("Select * From \"Items.txt\""),
       QStringLiteral("The workbook old.xls is an .xls file, which can only be read.")},
      {"a query naming no sheet", QStringLiteral("book.xlsx"), QStringLiteral("Select * From Items"),
       QStringLiteral("The profile query names no worksheet of workbook book.xlsx.")},
      {"a sheet the workbook lacks", QStringLiteral("book.xlsx"), QStringLiteral("Select * From \"Gone.txt\""),
       QStringLiteral("The workbook book.xlsx has no worksheet \"Gone\".")},
  };
  for (const Case& c : cases) {
    settings_.ExecuteStatement(QStringLiteral("Delete From ProfileInfo"));  // no row to delete at first
    service_.Command({{QStringLiteral("cmd"), QStringLiteral("reset")}});
    AddWorkbookProfile(c.book, c.query);
    service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 1, Values("x", "9"));
    ASSERT_TRUE(RunBackSyncTurn()) << c.what;
    EXPECT_EQ(service_.Acks(), QJsonArray{Ack(1, 1, 0, c.reason)}) << c.what;
    EXPECT_FALSE(QFile::exists(KeptDeviceMessages().Path())) << c.what;
  }
  EXPECT_EQ(SheetRows(QStringLiteral("book.xlsx")), Texts({"a:1", "b:2", "c:3"}));
}

}  // namespace
