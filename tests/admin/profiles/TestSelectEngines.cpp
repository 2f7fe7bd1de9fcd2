#include "admin/foundation/DatabaseHandler.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/profiles/FilterSortText.h"
#include "admin/profiles/SelectQueryBuilder.h"
#include "admin/profiles/TableColumns.h"
#include "shared/data/SourceKinds.h"
#include "tests/admin/foundation/OdbcTestEngines.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

using namespace Qt::StringLiterals;
using odbctest::Engine;

namespace {

// A table whose name and column hold a blank and the engine's quote, where the source quotes.
class SelectEngine : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    CONNECT_OR_SKIP(GetParam(), &connection_);
    switch (GetParam()) {
      case Engine::PostgreSql:
        source_ = {u"PostgreSQL"_s, sourcekind::kNamedDataSource, false, false};
        schema_ = u"public"_s;
        table_ = u"Sel \"Q\" %1"_s.arg(QCoreApplication::applicationPid());
        break;
      case Engine::MariaDb:
        source_ = {u"MariaDB"_s, sourcekind::kNamedDataSource, true, false};
        table_ = u"Sel `Q` %1"_s.arg(QCoreApplication::applicationPid());
        break;
      case Engine::Sqlite:
        // An Access-kind file takes its table name bare.
        source_ = {u"SQLite"_s, sourcekind::kMdb, false, false};
        table_ = u"SelPlain"_s;
        break;
    }
    column_ = ListedColumnName(source_, source_.mySql ? u"na`me"_s : u"na\"me"_s);
    const QString tablePart = SelectTableName(source_, schema_, table_);
    Run(u"DROP TABLE IF EXISTS %1"_s.arg(tablePart));
    Run(u"CREATE TABLE %1 (id INTEGER, %2 VARCHAR(20))"_s.arg(tablePart, ColumnNameForSql(column_)));
    Run(u"INSERT INTO %1 VALUES (1, 'O''Brien')"_s.arg(tablePart));
  }

  void TearDown() override {
    if (connection_.IsConnected()) Run(u"DROP TABLE %1"_s.arg(SelectTableName(source_, schema_, table_)));
  }

  void Run(const QString& sql) {
    const SQLRETURN result = connection_.ExecuteStatement(sql);
    ASSERT_TRUE(SQL_SUCCEEDED(result)) << qPrintable(sql);
  }

  admin::CDatabseConnection connection_;
  SelectSource source_;
  QString schema_;
  QString table_;
  QString column_;
};

}  // namespace

TEST_P(SelectEngine, BuiltSelectRunsAndNamesItsTable) {
  const QString select = BuildSelectQuery(source_, {column_}, schema_, table_);
  admin::CDatabaseHandler handler;
  ASSERT_EQ(handler.ExecuteQuery(connection_, select), 1) << qPrintable(select);
  ASSERT_TRUE(handler.MoveToRow(0));
  EXPECT_EQ(handler.GetFieldValue(0, 0), u"O'Brien"_s);
  const QString table = GetTableNameFromQuery(select);
  EXPECT_EQ(table, table_);
  QStringList names;
  QList<int16_t> types;
  EXPECT_EQ(connection_.GetColumnList(table, &names, &types), 2) << qPrintable(select);
}

TEST_P(SelectEngine, ColumnsListedWithTypesAndKeys) {
  const QList<ListedColumn> columns = ListTableColumns(connection_, source_, table_);
  ASSERT_EQ(columns.size(), 2);
  EXPECT_EQ(columns[0].listedName, ListedColumnName(source_, u"id"_s));
  EXPECT_EQ(columns[1].listedName, column_);
  EXPECT_TRUE(columns[1].ticked);
}

INSTANTIATE_TEST_SUITE_P(Engines, SelectEngine, ::testing::ValuesIn(odbctest::AllEngines()),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });

namespace {

// The shipped test tables of the servers: order_1 has a BIGINT key the devices cannot take.
class TableColumnsEngine : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override { CONNECT_OR_SKIP(GetParam(), &connection_); }

  SelectSource Source() const {
    return GetParam() == Engine::MariaDb ? SelectSource{u"MariaDB"_s, 0, true, false}
                                         : SelectSource{u"PostgreSQL"_s, 0, false, false};
  }

  admin::CDatabseConnection connection_;
};

}  // namespace

TEST_P(TableColumnsEngine, AnUnsupportedKeyIsListedUnticked) {
  const QList<ListedColumn> columns = ListTableColumns(connection_, Source(), u"order_1"_s);
  ASSERT_EQ(columns.size(), 3);
  EXPECT_EQ(columns[0].listedName, ListedColumnName(Source(), u"order_id"_s));
  EXPECT_EQ(columns[0].typeName, u"SQL_UNKNOWN_TYPE"_s);
  EXPECT_TRUE(columns[0].primaryKey);
  EXPECT_FALSE(columns[0].ticked);
  EXPECT_FALSE(columns[1].primaryKey);
  EXPECT_TRUE(columns[1].ticked);
  const QList<ListedColumn> customers = ListTableColumns(connection_, Source(), u"customers"_s);
  ASSERT_EQ(customers.size(), 3);
  EXPECT_TRUE(customers[0].primaryKey);
  EXPECT_TRUE(customers[0].ticked);
}

INSTANTIATE_TEST_SUITE_P(Servers, TableColumnsEngine, ::testing::Values(Engine::PostgreSql, Engine::MariaDb),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });
