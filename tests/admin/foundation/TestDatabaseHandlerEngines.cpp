#include "admin/foundation/AppLog.h"
#include "admin/foundation/DBHandlerForUserProfileDB.h"
#include "admin/foundation/DatabaseHandler.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/LogFile.h"
#include "admin/foundation/SqlTypes.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include <QFile>

using odbctest::Engine;

namespace {

const QString kLongText = QString(300, u'x');
const QString kVeryLongText = QString(10000, u'y') + QStringLiteral("end");

struct ColumnExpectation {
  const char* name;
  int16_t sqliteKind;
  int16_t postgresKind;
  int16_t mariaKind;
  QString value;  // of the first row, read without the whole-text flag
};

// Each engine's own spelling of the same table; the kinds are what its driver reports.
QString ProbeTableSql(Engine engine) {
  switch (engine) {
    case Engine::Sqlite:
      return QStringLiteral(
          "CREATE TABLE type_probe (t_text VARCHAR(300), t_dec DECIMAL(10,3), t_date DATE, t_time TIME, "
          "t_ts TIMESTAMP, t_bit BIT, t_tiny TINYINT, t_int INTEGER, t_small SMALLINT, t_real REAL, "
          "t_double DOUBLE, t_big BIGINT, t_blob BLOB, t_long TEXT)");
    case Engine::PostgreSql:
      return QStringLiteral(
          "CREATE TEMPORARY TABLE type_probe (t_text VARCHAR(300), t_dec NUMERIC(10,3), t_date DATE, t_time TIME, "
          "t_ts TIMESTAMP, t_bit BOOLEAN, t_tiny SMALLINT, t_int INTEGER, t_small SMALLINT, t_real REAL, "
          "t_double DOUBLE PRECISION, t_big BIGINT, t_blob BYTEA, t_long TEXT)");
    case Engine::MariaDb:
      return QStringLiteral(
          "CREATE TEMPORARY TABLE type_probe (t_text VARCHAR(300), t_dec DECIMAL(10,3), t_date DATE, t_time TIME, "
          "t_ts DATETIME, t_bit BIT(1), t_tiny TINYINT UNSIGNED, t_int INTEGER, t_small SMALLINT, t_real FLOAT, "
          "t_double DOUBLE, t_big BIGINT, t_blob BLOB, t_long LONGTEXT)");
  }
  return {};
}

QString BlobLiteral(Engine engine) {
  return engine == Engine::PostgreSql ? QStringLiteral("'\\x414243'::bytea") : QStringLiteral("x'414243'");
}

const std::vector<ColumnExpectation>& Expectations() {
  static const std::vector<ColumnExpectation> columns = {
      {"t_text", 1, 1, 1, QString(129, u'x')},
      {"t_dec", 1, 2, 2, QStringLiteral("12.5")},
      {"t_date", 9, 9, 9, QStringLiteral("3/5/2009")},
      {"t_time", 10, 10, 10, QStringLiteral("2:7:9 PM")},
      {"t_ts", 93, 93, 93, QStringLiteral("3/5/2009 2:7:9 PM")},
      {"t_bit", -7, -7, -7, QStringLiteral("True")},
      {"t_tiny", -6, 5, -6, QStringLiteral("200")},
      {"t_int", 4, 4, 4, QStringLiteral("-7")},
      {"t_small", 5, 5, 5, QStringLiteral("12")},
      {"t_real", 8, 7, 7, QStringLiteral("12.5")},
      {"t_double", 8, 8, 8, QStringLiteral("1.234568e+08")},
      {"t_big", ColumnKind::BigInt, ColumnKind::BigInt, ColumnKind::BigInt, QStringLiteral("5000000000")},
      {"t_blob", 0, 0, 0, QString()},
      {"t_long", 1, 1, 1, QString(129, u'y')},
  };
  return columns;
}

int16_t ExpectedKind(const ColumnExpectation& column, Engine engine) {
  switch (engine) {
    case Engine::Sqlite: return column.sqliteKind;
    case Engine::PostgreSql: return column.postgresKind;
    case Engine::MariaDb: return column.mariaKind;
  }
  return 0;
}

class DatabaseHandlerEngine : public ::testing::TestWithParam<Engine> {
 protected:
  void FillProbeTable() {
    ASSERT_TRUE(SQL_SUCCEEDED(connection_.ExecuteStatement(ProbeTableSql(GetParam()))))
        << qPrintable(connection_.GetLastStatementDiagnostic().message);
    const QString bit = GetParam() == Engine::PostgreSql ? QStringLiteral("true") : QStringLiteral("1");
    const QString insert = QStringLiteral(
                               "INSERT INTO type_probe VALUES ('%1', 12.500, '2009-03-05', '14:07:09', "
                               "'2009-03-05 14:07:09', %2, 200, -7, 12, 12.5, 123456789.0, 5000000000, %3, '%4')")
                               .arg(kLongText, bit, BlobLiteral(GetParam()), kVeryLongText);
    ASSERT_TRUE(SQL_SUCCEEDED(connection_.ExecuteStatement(insert)))
        << qPrintable(connection_.GetLastStatementDiagnostic().message);
    ASSERT_TRUE(SQL_SUCCEEDED(connection_.ExecuteStatement(QStringLiteral("INSERT INTO type_probe (t_text) VALUES ('')"))));
  }

  admin::CDatabseConnection connection_;
  admin::CDatabaseHandler handler_;
};

TEST_P(DatabaseHandlerEngine, KindsSizesAndValuesOfEveryColumnType) {
  CONNECT_OR_SKIP(GetParam(), &connection_);
  FillProbeTable();
  ASSERT_EQ(handler_.ExecuteQuery(connection_, QStringLiteral("SELECT * FROM type_probe")), 1);
  const auto& columns = Expectations();
  ASSERT_EQ(handler_.GetColumnCount(), static_cast<int16_t>(columns.size()));
  EXPECT_EQ(handler_.GetRowCount(), 2);
  ASSERT_TRUE(handler_.MoveToRow(0));
  for (int16_t i = 0; i < handler_.GetColumnCount(); ++i) {
    const ColumnExpectation& column = columns[static_cast<size_t>(i)];
    SCOPED_TRACE(column.name);
    EXPECT_EQ(handler_.GetColumnName(i), QString::fromLatin1(column.name));
    EXPECT_EQ(handler_.GetColumnType(i), ExpectedKind(column, GetParam()));
    EXPECT_EQ(handler_.GetFieldValue(0, i), column.value);
  }
  EXPECT_EQ(handler_.GetColumnSize(0), 300);
  // A binary column reads as 8-bit text decoded as hexadecimal pairs; only some drivers give
  // binary as hexadecimal text.
  if (GetParam() == Engine::PostgreSql) {
    EXPECT_EQ(handler_.GetFormattedFieldValue(12), QStringLiteral("ABC"));
  }
  // The second row: NULL everywhere but an empty text.
  ASSERT_TRUE(handler_.MoveToRow(1));
  for (int16_t i = 0; i < handler_.GetColumnCount(); ++i) {
    EXPECT_EQ(handler_.GetFieldValue(1, i), QString()) << columns[static_cast<size_t>(i)].name;
  }
}

TEST_P(DatabaseHandlerEngine, WholeTextsArriveWhole) {
  CONNECT_OR_SKIP(GetParam(), &connection_);
  FillProbeTable();
  handler_.SetWholeTextFlag(true);
  ASSERT_EQ(handler_.ExecuteQuery(connection_, QStringLiteral("SELECT t_text, t_long FROM type_probe")), 1);
  ASSERT_TRUE(handler_.FetchNext(0));
  EXPECT_EQ(handler_.GetFieldValue(0, 0), kLongText);
  EXPECT_EQ(handler_.GetFieldValue(0, 1), kVeryLongText);
  ASSERT_TRUE(handler_.MoveToRow(0));
  EXPECT_EQ(handler_.GetFormattedFieldValue(0), QString(129, u'x'));  // never whole
  ASSERT_TRUE(handler_.FetchNext(1));
  EXPECT_EQ(handler_.GetFieldValue(1, 0), QString());
  EXPECT_EQ(handler_.GetFieldValue(1, 1), QString());
}

TEST_P(DatabaseHandlerEngine, RowCountWithoutTheCountWrapperWalksTheRows) {
  CONNECT_OR_SKIP(GetParam(), &connection_);
  FillProbeTable();
  // The wrapper cannot take a trailing semicolon; the query itself runs.
  ASSERT_EQ(handler_.ExecuteQuery(connection_, QStringLiteral("SELECT t_int FROM type_probe;")), 1);
  EXPECT_EQ(handler_.GetRowCount(), 2);
  ASSERT_TRUE(handler_.MoveToRow(0));
  EXPECT_EQ(handler_.GetFieldValue(0, 0), QStringLiteral("-7"));
}

TEST_P(DatabaseHandlerEngine, PositioningAndClosedHandlers) {
  CONNECT_OR_SKIP(GetParam(), &connection_);
  FillProbeTable();
  EXPECT_FALSE(handler_.MoveToRow(0));
  EXPECT_EQ(handler_.GetFieldValue(0, 0), QString());
  EXPECT_EQ(handler_.GetColumnName(0), QString());
  ASSERT_EQ(handler_.ExecuteQuery(connection_, QStringLiteral("SELECT t_int, t_small FROM type_probe WHERE t_int = -7")), 1);
  EXPECT_FALSE(handler_.FetchNext(-1));
  ASSERT_TRUE(handler_.FetchNext(0));
  EXPECT_EQ(handler_.GetFieldValue(0, 0), QStringLiteral("-7"));
  EXPECT_EQ(handler_.GetColumnType(2), 0);
  EXPECT_EQ(handler_.GetColumnType(-1), 0);
  EXPECT_EQ(handler_.GetFieldValue(0, 2), QString());
  EXPECT_EQ(handler_.GetColumnName(5), QString());
  EXPECT_FALSE(handler_.MoveToRow(1));
  handler_.CloseStatement();
  EXPECT_EQ(handler_.GetColumnCount(), 0);
  EXPECT_EQ(handler_.GetRowCount(), 0);
  EXPECT_EQ(handler_.GetColumnType(0), 0);
  EXPECT_FALSE(handler_.FetchNext(0));
  EXPECT_EQ(handler_.GetFieldValue(0, 0), QString());
}

TEST_P(DatabaseHandlerEngine, AFailedQueryIsShownLoggedAndLeavesTheHandlerUsable) {
  CONNECT_OR_SKIP(GetParam(), &connection_);
  FillProbeTable();
  testsupport::MessageBoxRecorder::Global().Clear();
  const QString folder = testsupport::CurrentMachineRoot() + u'/';
  CLogFile log(folder, QStringLiteral("DesktopLog.log"));
  SetAppLog(&log);
  EXPECT_EQ(handler_.ExecuteQuery(connection_, QStringLiteral("SELECT no_such_column FROM no_such_table")), 0);
  SetAppLog(nullptr);
  EXPECT_FALSE(handler_.IsOpen());
  EXPECT_EQ(handler_.GetColumnCount(), 0);
  EXPECT_TRUE(handler_.GetOdbcErrorText().startsWith(u"ODBC Reports : \n\nSQLSTATE:"));
  EXPECT_FALSE(handler_.GetOdbcErrorText().contains(u"SQLSTATE: \n"));
  const auto& shown = testsupport::MessageBoxRecorder::Global().shown();
  // Drivers that check a statement only when it runs fail at execution, which is not shown.
  if (!shown.isEmpty()) {
    EXPECT_EQ(shown.first().caption, QStringLiteral("Tarnwick Plus Lite"));
    EXPECT_TRUE(shown.first().text.startsWith(u"ODBC Reports : "));
    QFile file(folder + QStringLiteral("DesktopLog.log"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
    EXPECT_TRUE(text.contains(QStringLiteral("> <88> ") + shown.first().text)) << qPrintable(text);
  }
  EXPECT_FALSE(handler_.MoveToRow(0));
  ASSERT_EQ(handler_.ExecuteQuery(connection_, QStringLiteral("SELECT t_int FROM type_probe")), 1);
  EXPECT_EQ(handler_.GetRowCount(), 2);
}

TEST_P(DatabaseHandlerEngine, BoundColumnHandlerBindsEverySupportedColumn) {
  CONNECT_OR_SKIP(GetParam(), &connection_);
  FillProbeTable();
  CDBHandlerForUserProfileDB profile;
  ASSERT_EQ(profile.ExecuteQuery(connection_, QStringLiteral("SELECT t_text, t_blob, t_int, t_big FROM type_probe")), 1);
  EXPECT_EQ(profile.GetBoundColumnCount(), 4);
  EXPECT_EQ(profile.GetSupportedColumnCount(), 3);
  profile.BindColumns();
  EXPECT_EQ(profile.GetBoundBufferCount(), 3U);
  profile.UnbindColumns();
  EXPECT_EQ(profile.GetBoundBufferCount(), 0U);
  ASSERT_TRUE(profile.MoveToRow(0));
  EXPECT_EQ(profile.GetFieldValue(0, 3), QStringLiteral("5000000000"));
  testsupport::MessageBoxRecorder::Global().Clear();
  EXPECT_EQ(profile.ExecuteQuery(connection_, QStringLiteral("SELECT nothing FROM nowhere")), 0);
  EXPECT_EQ(profile.GetBoundColumnCount(), 0);
  EXPECT_EQ(profile.GetSupportedColumnCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, DatabaseHandlerEngine, ::testing::ValuesIn(odbctest::AllEngines()),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });

}  // namespace
