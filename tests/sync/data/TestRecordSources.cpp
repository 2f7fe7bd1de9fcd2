#include "shared/devicerecord/DeviceRecord.h"
#include "sync/data/DBHandlerForUserDB.h"
#include "sync/data/DBHandlerForUserDBForProc.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/RowDigest.h"
#include "tests/support/SyncInstallation.h"
#include "tests/sync/data/SyncTestEngines.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include <array>

using devicerecord::Value;

namespace {

using Digest = std::array<uint8_t, kRowDigestSize>;

QString HexOf(const Digest& digest) { return DigestToHex(digest.data()); }

class SqliteRecordSource : public ::testing::Test {
 protected:
  void SetUp() override { SYNC_CONNECT_OR_SKIP(odbctest::Engine::Sqlite, &connection_); }

  void Run(const QString& sql) {
    ASSERT_TRUE(SQL_SUCCEEDED(connection_.ExecuteStatement(sql))) << qPrintable(connection_.GetLastError());
  }
  void CreateProbe();

  syncservice::CDatabseConnection connection_;
};

const QString kProbeQuery = QStringLiteral(
    "SELECT t_text, t_blob, t_date, t_time, t_ts, t_bit, t_tiny, t_int, t_small, t_double, t_big FROM probe");

}  // namespace

void SqliteRecordSource::CreateProbe() {
  Run(QStringLiteral("CREATE TABLE probe (t_text VARCHAR(20), t_blob BLOB, t_date DATE, t_time TIME, "
                           "t_ts TIMESTAMP, t_bit BIT, t_tiny TINYINT, t_int INTEGER, t_small SMALLINT, "
                           "t_double DOUBLE, t_big BIGINT)"));
  Run(QStringLiteral("INSERT INTO probe VALUES ('a#b\\c', x'414243', '2009-03-05', '14:07:09', "
                           "'2009-03-05 00:00:00', 1, 200, -7, 12, 123456789.123, 5000000000)"));
}

TEST_F(SqliteRecordSource, TheRowTextJoinsTheDigestTextsOfTheSupportedColumns) {
  CreateProbe();
  CDBHandlerForUserDB handler;
  QString error;
  ASSERT_EQ(handler.Initialize(connection_, kProbeQuery, &error), 1);
  EXPECT_EQ(handler.GetColumnType(1), 0) << "binary";
  EXPECT_EQ(handler.GetColumnType(10), 0) << "a table's BIGINT is not sent";
  EXPECT_EQ(handler.GetSupportedColumnCount(), 9);
  ASSERT_EQ(handler.MoveToRow(0), 1);
  // Display texts as the devices show them; a double from 1e8 up in "%e".
  EXPECT_EQ(handler.GetFieldValue(0, 9), QStringLiteral("1.234568e+08"));
  EXPECT_EQ(handler.GetFieldValue(0, 3), QStringLiteral("2:7:9 PM"));
  handler.BindColumns();
  QByteArray record;
  Digest digest{};
  ASSERT_GT(handler.ReadRecord(0, &record, digest.data()), 0);
  // The digest sees every digit of the double, and binary columns add nothing.
  EXPECT_EQ(HexOf(digest), TextDigestHex(QStringLiteral(
                               "a\\#b\\\\c#3/5/2009#2:7:9 PM#3/5/2009#True#200#-7#12#123456789.123")));
}

TEST_F(SqliteRecordSource, AProcedureSourceCachesItsRecordsAndHandsOutCopies) {
  CreateProbe();
  CDBHandlerForUserDBForProc handler;
  QString error;
  ASSERT_EQ(handler.Initialize(connection_, kProbeQuery, &error), 1);
  EXPECT_EQ(handler.GetColumnType(10), 2) << "a procedure's BIGINT goes whole, as decimal text";
  EXPECT_EQ(handler.GetFieldValue(0, 0), QStringLiteral("a#b\\c"));
  QByteArray first;
  QByteArray second;
  Digest firstDigest{};
  Digest secondDigest{};
  ASSERT_GT(handler.FetchRecord(0, &first, firstDigest.data()), 0);
  first[0] = 'x';
  ASSERT_GT(handler.FetchRecord(0, &second, secondDigest.data()), 0);
  EXPECT_NE(second.at(0), 'x') << "the caller's copy is its own";
  EXPECT_EQ(firstDigest, secondDigest);
  EXPECT_EQ(handler.FetchRecord(1, &second, secondDigest.data()), 0);
}

TEST_F(SqliteRecordSource, MalformedRecordsAreRefusedAndNothingIsWritten) {
  Run(QStringLiteral("CREATE TABLE items (id INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(10), qty INTEGER)"));
  Run(QStringLiteral("INSERT INTO items (name, qty) VALUES ('kept', 1)"));
  // id, qty, name: the text last, so that one longer than its column still has offsets.
  const QByteArray valid = *devicerecord::Encode(
      {Value::OfInteger(4, 0), Value::OfInteger(4, 5), Value::OfText(1, QStringLiteral("ab"))});
  QByteArray pastEnd = valid;
  pastEnd[4] = '\x7f';
  QByteArray beforeTable = valid;
  beforeTable[3] = '\x02';
  const QByteArray unterminated = valid.chopped(2);
  const QByteArray tooFew = *devicerecord::Encode({Value::OfInteger(4, 0), Value::OfInteger(4, 5)});
  // A device may send a text longer than the desktop ever does.
  QByteArray tooLong = valid.left(valid.size() - 6);
  for (int i = 0; i < 32768; ++i) tooLong.append("x\0", 2);
  tooLong.append("\0\0", 2);
  struct Case {
    const char* what;
    QByteArray record;
  };
  const Case cases[] = {
      {"empty", QByteArray()},
      {"shorter than its offsets", valid.left(3)},
      {"offset past the end", pastEnd},
      {"offset inside the offset table", beforeTable},
      {"text without its terminator", unterminated},
      {"fewer offsets than columns", tooFew},
      {"a text longer than its column takes", tooLong},
  };
  CDBHandlerForUserDB handler;
  QString error;
  ASSERT_EQ(handler.Initialize(connection_, QStringLiteral("SELECT id, qty, name FROM items"), &error), 1);
  handler.BindColumns();
  for (const Case& c : cases) {
    Digest digest{};
    error.clear();
    EXPECT_EQ(handler.AddRecord(c.record, digest.data(), &error), 0) << c.what;
    EXPECT_TRUE(error.startsWith(u"Failed to add Record with Key .")) << c.what << ": " << qPrintable(error.left(200));
    EXPECT_GT(error.size(), 32) << c.what << ": the reason follows";
    error.clear();
    EXPECT_EQ(handler.UpdateRecord(c.record, 0, digest.data(), &error, QStringLiteral("0")), 0) << c.what;
    EXPECT_TRUE(error.startsWith(u"Failed to update Record with key .")) << c.what << ": " << qPrintable(error.left(200));
  }
  CDBHandlerForUserDB reader;
  ASSERT_EQ(reader.Initialize(connection_, QStringLiteral("SELECT id, name, qty FROM items"), &error), 1);
  EXPECT_EQ(reader.GetRowCount(), 1);
  ASSERT_EQ(reader.MoveToRow(0), 1);
  EXPECT_TRUE(reader.GetFieldValue(0, 1) == QStringLiteral("kept")) << "the row is as it was";
  EXPECT_EQ(reader.GetFieldValue(0, 2), QStringLiteral("1"));
}

TEST_F(SqliteRecordSource, AutoNumberColumnsAreLoggedWhereTheLogTargetPoints) {
  synctest::PrepareInstallation();
  Run(QStringLiteral("CREATE TABLE items (id INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(10))"));
  const QString zeroBased = QStringLiteral("<-1> Column Name \"id\" (Column No 1) is AutoNumber.");
  for (const int target : {0, 1}) {
    CDBHandlerForUserDB handler;
    handler.SetLogTarget(target);
    QString error;
    ASSERT_EQ(handler.Initialize(connection_, QStringLiteral("SELECT name, id FROM items"), &error), 1);
    EXPECT_EQ(handler.IsAutoNumberColumn(1), 1);
    EXPECT_EQ(handler.IsAutoNumberColumn(0), 0);
  }
  // The scan numbers columns from 1 in the order of the query.
  const QString expected = QStringLiteral("<-1> Column Name \"id\" (Column No 2) is AutoNumber.");
  EXPECT_EQ(synctest::ReadLog(QStringLiteral("SyncServiceLog.log")).count(expected), 1);
  EXPECT_EQ(synctest::ReadLog(QStringLiteral("SyncServiceBackSyncLog.log")).count(expected), 1);
  EXPECT_EQ(synctest::ReadLog(QStringLiteral("SyncServiceLog.log")).count(zeroBased), 0);
}
