// Finding desktop rows by the digests of a profile's snapshot, whether a form's profile is in
// step, and the workbook clean-up of the sync program.
#include "shared/WorkbookFolder.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/ExcelConnection.h"
#include "sync/data/ExcelHandler.h"
#include "sync/data/ExcelSheetCleanup.h"
#include "sync/data/ProfileDataReader.h"
#include "sync/data/RowDigest.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/RecordDigestLookup.h"
#include "sync/engine/RecordLookup.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include <QDir>
#include <QFile>

namespace {

constexpr int32_t kProfileId = 31;

QString RootFolder() { return testsupport::CurrentMachineRoot() + u'/'; }

CdbEntry Entry(int32_t source, int32_t index, const QStringList& values) {
  CdbEntry entry;
  entry.recordSource = source;
  entry.recordIndex = index;
  ComputeTextDigest(MakeRowText(values), entry.digest.data());
  return entry;
}

CdbEntry Identity(int32_t source, int32_t index) {
  CdbEntry entry;
  entry.recordSource = source;
  entry.recordIndex = index;
  return entry;
}

QStringList Row(const char* a, const char* b) { return {QString::fromLatin1(a), QString::fromLatin1(b)}; }

// Sheet "Items": a header, then rows of two columns.
void WriteItems(const QString& path, const QList<QStringList>& rows) {
  testsupport::XlsxFixture fixture(path);
  lxw_worksheet* sheet = fixture.AddSheet("Items");
  for (int row = 0; row < rows.size(); ++row)
    for (int column = 0; column < rows[row].size(); ++column)
      if (!rows[row][column].isEmpty())
        worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                               rows[row][column].toUtf8().constData(), nullptr);
  ASSERT_TRUE(fixture.Close());
}

class RecordLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    installation_ = synctest::PrepareInstallation();
    ASSERT_TRUE(QDir().mkpath(installation_ + QStringLiteral("Desktop Files/DB/CDB Files")));
  }
  void WriteSnapshot(const QList<CdbEntry>& entries) {
    CCdbFile file;
    file.SetCdbFileName(kProfileId);
    ASSERT_TRUE(file.WriteCdbRecords(entries));
  }
  QString installation_;
};

}  // namespace

TEST_F(RecordLookupTest, FindRecordByDigestFindsTheRowTheSnapshotNamesAndNothingElse) {
  {
    QFile(RootFolder() + QStringLiteral("shop.mdb")).open(QIODevice::WriteOnly);
    syncservice::CDatabseConnection writer;
    QString error;
    ASSERT_EQ(writer.ConnectDataSource(QStringLiteral("ShopWriter"), 1, RootFolder() + QStringLiteral("shop.mdb"),
                                       QString(), QString(), &error, false),
              1)
        << qPrintable(error);
    for (const char* sql : {"CREATE TABLE items (code VARCHAR(10), name VARCHAR(20))",
                            "INSERT INTO items VALUES ('a1', 'Bolt')", "INSERT INTO items VALUES ('a2', 'Nut')",
                            "INSERT INTO items VALUES ('a3', 'Washer')"}) {
      ASSERT_TRUE(SQL_SUCCEEDED(writer.ExecuteStatement(QString::fromLatin1(sql)))) << sql;
    }
  }
  WriteSnapshot({Entry(0, 1, Row("a1", "Bolt")), Entry(0, 2, Row("a3", "Washer")), Entry(0, 3, Row("a9", "Gone")),
                 Entry(0, 2, Row("a2", "Nut"))});
  syncservice::ProfileDataReader reader;
  reader.Profile().DBType = QStringLiteral("1");
  reader.Profile().Path = RootFolder();
  reader.Profile().DB_DSN = QStringLiteral("shop.mdb");
  reader.Profile().Query = QStringLiteral("Select code, name From items");
  QString error;
  ASSERT_EQ(reader.OpenProfileSource(&error), 1) << qPrintable(error);
  ASSERT_EQ(reader.ExecuteProfileQuery(&error), 1) << qPrintable(error);

  int32_t row = 7;
  CdbEntry entry = Identity(0, 2);
  ASSERT_TRUE(FindRecordByDigest(reader, kProfileId, &row, &entry));
  EXPECT_EQ(row, 2) << "the first snapshot entry of the record counts";
  EXPECT_EQ(entry, Entry(0, 2, Row("a3", "Washer")));

  entry = Identity(0, 3);
  EXPECT_FALSE(FindRecordByDigest(reader, kProfileId, &row, &entry)) << "no row has the digest";
  EXPECT_EQ(row, -1);
  EXPECT_EQ(entry, Identity(0, 3));
  entry = Identity(5, 1);
  EXPECT_FALSE(FindRecordByDigest(reader, kProfileId, &row, &entry)) << "the snapshot has no such entry";
  EXPECT_EQ(row, -1);

  // A batch: one read of the rows answers every lookup, and again after the rows were read.
  const RecordDigestLookup lookup(reader, kProfileId);
  for (const auto& [index, expected] : {std::pair{1, 0}, std::pair{2, 2}, std::pair{1, 0}}) {
    entry = Identity(0, index);
    EXPECT_TRUE(lookup.Find(&row, &entry)) << index;
    EXPECT_EQ(row, expected) << index;
  }
}

TEST_F(RecordLookupTest, FindRecordBySourceIndexSkipsTheHeaderOnlyWhenAsked) {
  // The header row has the same values as the record, so only the skip flag keeps it out.
  WriteItems(RootFolder() + QStringLiteral("items.xlsx"),
             {Row("code", "name"), Row("a1", "Bolt"), Row("code", "name")});
  WriteSnapshot({Entry(0, 1, Row("code", "name")), Entry(0, 2, Row("a1", "Bolt"))});
  syncservice::CExcelConnection connection;
  QString error;
  ASSERT_EQ(connection.OpenWorkbook(RootFolder() + QStringLiteral("items.xlsx"), &error, true), 1);
  syncservice::CExcelHandler handler;
  ASSERT_EQ(handler.OpenWorksheet(connection.GetWorksheets(), QStringLiteral("Items")), 1);
  int32_t row = -5;
  CdbEntry entry = Identity(0, 1);
  ASSERT_TRUE(FindRecordBySourceIndex(handler, kProfileId, &row, &entry, 1));
  EXPECT_EQ(row, 2);
  entry = Identity(0, 1);
  ASSERT_TRUE(FindRecordBySourceIndex(handler, kProfileId, &row, &entry, 0));
  EXPECT_EQ(row, 0);
  entry = Identity(0, 2);
  ASSERT_TRUE(FindRecordBySourceIndex(handler, kProfileId, &row, &entry, 1));
  EXPECT_EQ(row, 1);
  entry = Identity(0, 9);
  EXPECT_FALSE(FindRecordBySourceIndex(handler, kProfileId, &row, &entry, 1));
  EXPECT_EQ(row, -1);
}

TEST_F(RecordLookupTest, AFormsProfileIsInStepOnlyWithAnEmptyFlagStatusRow) {
  const QString file = testsupport::InstallSettingsDatabase(installation_);
  syncservice::CDatabseConnection writer;
  QString error;
  ASSERT_EQ(writer.ConnectDataSource(QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"), 1, file, QString(),
                                     QStringLiteral("pondGarue58"), &error, false),
            1)
      << qPrintable(error);
  for (const char* sql : {"Insert Into FormInfo Values (1, 7, 'Visit', 'layout')",
                          "Insert Into FormInfo Values (2, 8, 'Order', 'layout')",
                          "Insert Into UserProfileStatus Values ('u1', 7, '')",
                          "Insert Into UserProfileStatus Values ('u1', 8, 'AD')"}) {
    ASSERT_TRUE(SQL_SUCCEEDED(writer.ExecuteStatement(QString::fromLatin1(sql)))) << sql;
  }
  EXPECT_TRUE(IsFormProfileProcessed(1));
  EXPECT_FALSE(IsFormProfileProcessed(2));
  EXPECT_FALSE(IsFormProfileProcessed(3));
  const QString log = synctest::ReadLog(QStringLiteral("SyncServiceLog.log"));
  EXPECT_TRUE(log.contains(QStringLiteral("<-1> <IsFormProfileProcessed> ProfileID 8 does not have any Synced Status.")))
      << qPrintable(log);
  EXPECT_TRUE(log.contains(QStringLiteral("<-1> <IsFormProfileProcessed> Form Information for FormID 3 not found.")));
}

TEST_F(RecordLookupTest, WithoutTheSettingsDatabaseNoFormIsInStep) {
  EXPECT_FALSE(IsFormProfileProcessed(1));
  const QString log = synctest::ReadLog(QStringLiteral("SyncServiceLog.log"));
  EXPECT_TRUE(log.contains(QStringLiteral("<-1> <IsFormProfileProcessed> Failed to get Form Information for FormID 1 .")))
      << qPrintable(log);
  EXPECT_TRUE(log.contains(QStringLiteral("Failed to Connect User Profile Database in FormInfo.")));
}

TEST_F(RecordLookupTest, TheWorkbookCleanUpDeletesAdjacentEmptyRowsInACopyAndLogsEachStep) {
  const QString original = RootFolder() + QStringLiteral("items.xlsx");
  WriteItems(original, {Row("code", "name"), Row("", ""), Row("", ""), Row("a1", "Bolt"), Row("", ""), Row("a2", "")});
  QString path = original;
  ASSERT_TRUE(syncservice::DeleteEmptyRowsInExcelSheets(&path, QStringLiteral("items.xlsx")));
  EXPECT_EQ(path, WorkbookTempFolder() + QStringLiteral("/items.xlsx"));
  syncservice::CExcelConnection connection;
  QString error;
  ASSERT_EQ(connection.OpenWorkbook(path, &error, true), 1);
  syncservice::CExcelHandler handler;
  ASSERT_EQ(handler.OpenWorksheet(connection.GetWorksheets(), QStringLiteral("Items")), 1);
  ASSERT_EQ(handler.GetRowCount(), 3);
  EXPECT_EQ(handler.GetFieldValue(1, 0), QStringLiteral("a1"));
  EXPECT_EQ(handler.GetFieldValue(2, 0), QStringLiteral("a2"));

  QStringList lines = synctest::ReadLog(QStringLiteral("SyncServiceLog.log")).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  for (QString& line : lines) line = line.mid(11);  // after the time
  EXPECT_EQ(lines, (QStringList{
                       QStringLiteral("<-1> <DeleteEmptyRowsInExcelSheets> <1> Start"),
                       QStringLiteral("<-1> <DeleteEmptyRowsInExcelSheets> <2> Temp File Created."),
                       QStringLiteral("<-1> <DeleteEmptyRowsInExcelSheets> <3> Deleting Empty Rows..."),
                       QStringLiteral("<-1> <DeleteEmptyRowsInExcelSheets> <4> Empty Rows in \"Items\" sheet : 3"),
                       QStringLiteral("<-1> <DeleteEmptyRowsInExcelSheets> <5> End"),
                   }));
}

TEST_F(RecordLookupTest, AFailedWorkbookCopyStopsAndLeavesNoStaleCopy) {
  ASSERT_TRUE(QDir().mkpath(WorkbookTempFolder()));
  const QString stale = WorkbookTempFolder() + QStringLiteral("/items.xlsx");
  WriteItems(stale, {Row("old", "copy")});
  QString path = RootFolder() + QStringLiteral("missing/items.xlsx");
  EXPECT_FALSE(syncservice::DeleteEmptyRowsInExcelSheets(&path, QStringLiteral("items.xlsx")));
  EXPECT_EQ(path, stale);
  EXPECT_FALSE(QFile::exists(stale));
  const QString log = synctest::ReadLog(QStringLiteral("SyncServiceLog.log"));
  EXPECT_TRUE(log.contains(QStringLiteral("<-1> CopyFile ErrorCode : 2"))) << qPrintable(log);
  EXPECT_FALSE(log.contains(QStringLiteral("Temp File Created")));
}
