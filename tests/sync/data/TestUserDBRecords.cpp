#include "shared/devicerecord/DeviceRecord.h"
#include "sync/data/DBHandlerForUserDB.h"
#include "sync/data/DBHandlerForUserDBForProc.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/RowDigest.h"
#include "tests/sync/data/SyncTestEngines.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include <QCoreApplication>

#include <array>

using odbctest::Engine;
using devicerecord::Value;

namespace {

using Digest = std::array<uint8_t, kRowDigestSize>;

const QString kNote = QStringLiteral("line one\r\nline two\tend #1 \\");
const QString kAmount = QStringLiteral("1234567890123456789");  // more digits than a double holds

// One table per test process, so that parallel tests on one server never meet.
QString TableName() { return QStringLiteral("sync_items_%1").arg(QCoreApplication::applicationPid()); }

QString CreateSql(Engine engine) {
  const QString columns = QStringLiteral(
      "name VARCHAR(50), note VARCHAR(200), qty INTEGER, amount DECIMAL(20,0), ratio %1)");
  switch (engine) {
    case Engine::Sqlite:
      return QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY AUTOINCREMENT, ").arg(TableName()) +
             columns.arg(QStringLiteral("REAL"));
    case Engine::PostgreSql:
      return QStringLiteral("CREATE TABLE %1 (id SERIAL PRIMARY KEY, ").arg(TableName()) +
             columns.arg(QStringLiteral("DOUBLE PRECISION"));
    case Engine::MariaDb:
      return QStringLiteral("CREATE TABLE %1 (id INTEGER AUTO_INCREMENT PRIMARY KEY, ").arg(TableName()) +
             columns.arg(QStringLiteral("DOUBLE"));
  }
  return {};
}

class UserDBRecords : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    SYNC_CONNECT_OR_SKIP(GetParam(), &connection_);
    connection_.ExecuteStatement(QStringLiteral("DROP TABLE %1").arg(TableName()));
    ASSERT_TRUE(SQL_SUCCEEDED(connection_.ExecuteStatement(CreateSql(GetParam())))) << qPrintable(connection_.GetLastError());
    created_ = true;
    for (const char* name : {"a", "b", "c"}) {
      Insert(QStringLiteral("'%1', ?note?, 5, %2, 0.1").arg(QLatin1String(name), kAmount));
    }
    CDBHandlerForUserDB handler;
    Open(&handler);
    for (int16_t i = 0; i < handler.GetColumnCount(); ++i) {
      if (handler.GetColumnType(i) != 0) kinds_.append(handler.GetColumnType(i));
    }
    ASSERT_EQ(handler.IsAutoNumberColumn(0), 1) << "the id column is numbered by the database";
  }
  void TearDown() override {
    if (created_) connection_.ExecuteStatement(QStringLiteral("DROP TABLE %1").arg(TableName()));
  }

  void Insert(QString values) {
    QString note = kNote;
    note.replace(u'\'', QStringLiteral("''"));
    // MariaDB reads a backslash in a literal as an escape.
    if (GetParam() == Engine::MariaDb) note.replace(u'\\', QStringLiteral("\\\\"));
    values.replace(QStringLiteral("?note?"), u'\'' + note + u'\'');
    ASSERT_TRUE(SQL_SUCCEEDED(connection_.ExecuteStatement(
        QStringLiteral("INSERT INTO %1 (name, note, qty, amount, ratio) VALUES (%2)").arg(TableName(), values))))
        << qPrintable(connection_.GetLastError());
  }

  QString Query() const {
    return QStringLiteral("SELECT id, name, note, qty, amount, ratio FROM %1 ORDER BY id").arg(TableName());
  }

  // A handler on the profile query with its buffers bound, as the data-source reader opens it.
  void Open(CDBHandlerForUserDB* handler) {
    QString error;
    ASSERT_EQ(handler->Initialize(connection_, Query(), &error), 1) << qPrintable(handler->GetOdbcErrorText());
    handler->BindColumns();
  }

  struct Row {
    QList<Value> values;
    Digest digest{};
  };
  // Every row of the table as records decode them.
  std::vector<Row> Rows() {
    CDBHandlerForUserDB handler;
    Open(&handler);
    std::vector<Row> rows;
    for (int32_t row = 0; row < handler.GetRowCount(); ++row) {
      QByteArray record;
      Row read;
      EXPECT_GT(handler.ReadRecord(row, &record, read.digest.data()), 0);
      QString error;
      read.values = devicerecord::Decode(record, Kinds(), &error).value_or(QList<Value>());
      rows.push_back(read);
    }
    return rows;
  }
  QList<int16_t> Kinds() const { return kinds_; }

  syncservice::CDatabseConnection connection_;
  bool created_ = false;
  QList<int16_t> kinds_;  // of the supported columns
};

TEST_P(UserDBRecords, ReadingRowsZeroOneOneTwoFetchesFirstNextAbsoluteNext) {
  CDBHandlerForUserDB handler;
  Open(&handler);
  ASSERT_EQ(handler.GetRowCount(), 3);
  QStringList names;
  for (const int32_t row : {0, 1, 1, 2}) {
    QByteArray record;
    Digest digest{};
    ASSERT_GT(handler.ReadRecord(row, &record, digest.data()), 0) << row;
    QString error;
    const auto values = devicerecord::Decode(record, Kinds(), &error);
    ASSERT_TRUE(values) << qPrintable(error);
    names.append(values->at(1).text);
  }
  EXPECT_EQ(names, (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("b"), QStringLiteral("c")}));
  QByteArray record;
  Digest digest{};
  EXPECT_EQ(handler.ReadRecord(3, &record, digest.data()), 0);
}

// A pass reads forward only, ahead of the rows asked for; what it reads must be what the
// scrollable cursor reads, also when the rows can only be counted by fetching them.
TEST_P(UserDBRecords, ReadingForwardOnlyGivesTheRecordsAndDigestsOfTheScrollableCursor) {
  const std::vector<Row> expected = Rows();
  for (const QString& query : {Query(), Query() + u';'}) {
    CDBHandlerForUserDB handler;
    handler.SetForwardOnly(true);
    QString error;
    ASSERT_EQ(handler.Initialize(connection_, query, &error), 1) << qPrintable(query);
    ASSERT_EQ(handler.GetRowCount(), 3) << qPrintable(query);
    for (int32_t row = 0; row < 3; ++row) {
      Digest digest{};
      ASSERT_EQ(handler.ReadDigest(row, digest.data()), 1) << qPrintable(query) << " row " << row;
      EXPECT_EQ(digest, expected[static_cast<size_t>(row)].digest) << qPrintable(query) << " row " << row;
      QByteArray record;
      ASSERT_GT(handler.EncodeReadRow(&record), 0);
      EXPECT_EQ(devicerecord::Decode(record, Kinds(), &error).value_or(QList<Value>()),
                expected[static_cast<size_t>(row)].values);
    }
  }
}

TEST_P(UserDBRecords, ADeviceEditOfOneFieldChangesOnlyThatField) {
  const std::vector<Row> before = Rows();
  ASSERT_EQ(before.size(), 3u);
  EXPECT_EQ(before[1].values.at(2).text, devicerecord::DeviceText(kNote)) << "the device holds the lossy form";
  QList<Value> edited = before[1].values;
  edited[3] = Value::OfInteger(4, 42);
  CDBHandlerForUserDB handler;
  Open(&handler);
  Digest written{};
  QString error;
  ASSERT_EQ(handler.UpdateRecord(*devicerecord::Encode(edited), 1, written.data(), &error, QStringLiteral("0"),
                                 before[1].digest.data()),
            1)
      << qPrintable(error);
  const std::vector<Row> after = Rows();
  EXPECT_EQ(after[1].values.at(3).integer, 42);
  EXPECT_EQ(after[1].digest, written) << "the digest is the stored row's";
  EXPECT_NE(after[1].digest, before[1].digest);
  EXPECT_EQ(after[0].digest, before[0].digest);
  EXPECT_EQ(after[2].digest, before[2].digest);
  // The other columns keep their desktop values, carriage returns, tabs and every digit included.
  syncservice::CDatabaseHandler reader;
  ASSERT_EQ(reader.ExecuteQuery(connection_, Query()), 1);
  ASSERT_EQ(reader.MoveToRow(1), 1);
  EXPECT_EQ(reader.GetFieldValue(1, 2), kNote);
  // Every digit of a decimal survives; SQLite's driver reports DECIMAL as text.
  EXPECT_EQ(reader.GetFieldValue(1, 4), reader.GetColumnType(4) == 2 ? kAmount + QStringLiteral(".0") : kAmount);
  EXPECT_EQ(reader.GetFieldValue(1, 1), QStringLiteral("b"));
}

TEST_P(UserDBRecords, ADecimalWrittenFromADeviceKeepsEveryDigit) {
  const std::vector<Row> before = Rows();
  ASSERT_EQ(before.size(), 3u);
  const QString amount = QStringLiteral("8765432109876543210");
  QList<Value> edited = before[0].values;
  edited[4] = Value::OfText(edited[4].kind, amount);
  CDBHandlerForUserDB handler;
  Open(&handler);
  Digest written{};
  QString error;
  ASSERT_EQ(handler.UpdateRecord(*devicerecord::Encode(edited), 0, written.data(), &error, QStringLiteral("0")), 1)
      << qPrintable(error);
  syncservice::CDatabaseHandler reader;
  ASSERT_EQ(reader.ExecuteQuery(connection_, Query()), 1);
  ASSERT_EQ(reader.MoveToRow(0), 1);
  EXPECT_EQ(reader.GetFieldValue(0, 4), reader.GetColumnType(4) == 2 ? amount + QStringLiteral(".0") : amount);
  EXPECT_EQ(Rows()[0].digest, written);
}

TEST_P(UserDBRecords, AnUpdateOrDeleteOfARowThatChangedAtTheDesktopIsRefused) {
  const std::vector<Row> before = Rows();
  ASSERT_EQ(before.size(), 3u);
  CDBHandlerForUserDB handler;
  Open(&handler);
  QString error;
  Digest written{};
  EXPECT_EQ(handler.UpdateRecord(*devicerecord::Encode(before[1].values), 1, written.data(), &error,
                                 QStringLiteral("0"), before[0].digest.data()),
            0);
  EXPECT_EQ(error, QStringLiteral("Record with key  to be updated was changed at the desktop."));
  EXPECT_EQ(handler.DeleteRecord(1, &error, before[0].digest.data()), 0);
  EXPECT_EQ(error, QStringLiteral("Record with key  to be deleted was changed at the desktop."));
  EXPECT_EQ(handler.DeleteRecord(3, &error), 0);
  EXPECT_EQ(error, QStringLiteral("Record with key  to be deleted is not exists in database."));
  EXPECT_EQ(Rows().size(), 3u);
  EXPECT_EQ(handler.DeleteRecord(1, &error, before[1].digest.data()), 1) << qPrintable(error);
  const std::vector<Row> after = Rows();
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(after[0].digest, before[0].digest);
  EXPECT_EQ(after[1].digest, before[2].digest);
}

TEST_P(UserDBRecords, TwoDeviceAddsWithoutAnAutoNumberMakeTwoRows) {
  QList<Value> added = Rows()[0].values;
  added[0] = Value::OfInteger(4, 0);
  added[1] = Value::OfText(1, QStringLiteral("new"));
  CDBHandlerForUserDB handler;
  Open(&handler);
  std::array<Digest, 2> written{};
  for (Digest& digest : written) {
    QString error;
    ASSERT_EQ(handler.AddRecord(*devicerecord::Encode(added), digest.data(), &error), 1) << qPrintable(error);
  }
  const std::vector<Row> after = Rows();
  ASSERT_EQ(after.size(), 5u);
  EXPECT_NE(after[3].values.at(0).integer, after[4].values.at(0).integer);
  EXPECT_EQ(after[3].values.at(1).text, QStringLiteral("new"));
  EXPECT_EQ(after[3].digest, written[0]);
  EXPECT_EQ(after[4].digest, written[1]);
}

INSTANTIATE_TEST_SUITE_P(Engines, UserDBRecords, ::testing::ValuesIn(odbctest::AllEngines()),
                         [](const ::testing::TestParamInfo<Engine>& engine) {
                           return odbctest::EngineName(engine.param).toStdString();
                         });

}  // namespace
