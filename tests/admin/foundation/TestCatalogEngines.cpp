#include "admin/foundation/AppLog.h"
#include "admin/foundation/DatabaseHandlerForProc.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/LogFile.h"
#include "admin/foundation/SqlTypes.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/LogReader.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <sqlext.h>

using odbctest::Engine;

namespace {

// The objects that the server scripts make in their test databases, made in a fresh SQLite file.
void MakeSqliteCatalog(admin::CDatabseConnection* connection) {
  const QStringList statements = {
      QStringLiteral("CREATE TABLE customers (customer_id INTEGER PRIMARY KEY, company_name VARCHAR(60) NOT NULL, "
                     "city VARCHAR(30))"),
      QStringLiteral("CREATE TABLE order_1 (order_id BIGINT PRIMARY KEY, customer_id INTEGER NOT NULL, "
                     "amount DECIMAL(10, 2))"),
      QStringLiteral("CREATE TABLE orderx1 (id INTEGER PRIMARY KEY, note BLOB)"),
      QStringLiteral("INSERT INTO customers VALUES (1, 'Alder Outfitters', 'Uppsala'), (2, 'Brookside Traders', "
                     "'Galway'), (3, 'Cedar Lane Books', 'Porto')"),
      QStringLiteral("INSERT INTO order_1 VALUES (5000000001, 1, 12.40), (5000000002, 2, 8.00), (5000000003, 1, 15.75)"),
      QStringLiteral("CREATE VIEW customer_orders AS SELECT o.order_id, c.company_name, o.amount FROM order_1 o "
                     "JOIN customers c USING (customer_id)"),
  };
  for (const QString& statement : statements) {
    ASSERT_TRUE(SQL_SUCCEEDED(connection->ExecuteStatement(statement)))
        << qPrintable(connection->GetLastStatementDiagnostic().message);
  }
}

class CatalogEngine : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    CONNECT_OR_SKIP(GetParam(), &connection_);
    if (GetParam() == Engine::Sqlite) MakeSqliteCatalog(&connection_);
  }

  admin::CDatabseConnection connection_;
};

TEST_P(CatalogEngine, TablesAndViews) {
  QStringList names, schemas, types;
  const int tables = connection_.GetTableList(&names, &schemas, &types, 1);
  EXPECT_EQ(tables, names.size()) << qPrintable(names.join(u','));
  EXPECT_TRUE(names.contains(u"customers") && names.contains(u"order_1") && names.contains(u"orderx1"));
  EXPECT_FALSE(names.contains(u"customer_orders"));
  for (const QString& type : types) EXPECT_EQ(type, QStringLiteral("TABLE"));
  names.clear(), schemas.clear(), types.clear();
  connection_.GetTableList(&names, &schemas, &types, 2);
  EXPECT_EQ(names, QStringList({QStringLiteral("customer_orders")}));
  names.clear(), schemas.clear(), types.clear();
  const int all = connection_.GetTableList(&names, &schemas, &types, 0);
  EXPECT_EQ(all, 4) << qPrintable(names.join(u',')) << qPrintable(schemas.join(u','));
  EXPECT_EQ(schemas.size(), 4);
  EXPECT_TRUE(types.contains(u"VIEW"));
}

// "order_1" as a search pattern would also match "orderx1".
TEST_P(CatalogEngine, ColumnsOfExactlyTheTableAsked) {
  QStringList names;
  QList<int16_t> types;
  EXPECT_EQ(connection_.GetColumnList(QStringLiteral("order_1"), &names, &types), 3);
  EXPECT_EQ(names, QStringList({QStringLiteral("order_id"), QStringLiteral("customer_id"), QStringLiteral("amount")}));
  ASSERT_EQ(types.size(), 3);
  EXPECT_EQ(types[0], 0);  // BIGINT is not sent to the devices
  EXPECT_EQ(types[1], SQL_INTEGER);
  EXPECT_TRUE(connection_.AreColumnTypesSupported(QStringLiteral("customers")));
  EXPECT_TRUE(connection_.AreColumnTypesSupported(QStringLiteral("\"customers\"")));
  EXPECT_FALSE(connection_.AreColumnTypesSupported(QStringLiteral("orderx1")));
}

TEST_P(CatalogEngine, KeysAndSpecialColumns) {
  QStringList keys;
  EXPECT_EQ(connection_.GetPrimaryKeyList(QStringLiteral("order_1"), &keys), 1);
  EXPECT_EQ(keys, QStringList({QStringLiteral("order_id")}));
  // The PostgreSQL driver names no best row identifier; its keys come from GetPrimaryKeyList.
  if (GetParam() == Engine::PostgreSql) return;
  QStringList special;
  EXPECT_EQ(connection_.GetSpecialColumnList(QStringLiteral("customers"), &special), 1);
  // SQLite names the row id that its integer key stands for.
  EXPECT_EQ(special.first(), GetParam() == Engine::Sqlite ? QStringLiteral("_ROWID_") : QStringLiteral("customer_id"));
}

TEST_P(CatalogEngine, TypeCaseSensitivity) {
  int sensitive = -1;
  EXPECT_EQ(connection_.GetTypeCaseSensitivity(QString::number(SQL_INTEGER), &sensitive), 1);
  EXPECT_EQ(sensitive, SQL_FALSE);
  EXPECT_EQ(connection_.GetTypeCaseSensitivity(QStringLiteral("4242"), &sensitive), 0);
}

// The type code a sort column stores: the column's own type, as long as the type catalog lists it.
TEST_P(CatalogEngine, TypeInfoOfAColumn) {
  EXPECT_EQ(connection_.GetTypeInfoList(QStringLiteral("customers"), QStringLiteral("customer_id")), SQL_INTEGER);
  // The servers' Unicode drivers give their character columns the wide types.
  EXPECT_EQ(connection_.GetTypeInfoList(QStringLiteral("customers"), QStringLiteral("company_name")),
            GetParam() == Engine::Sqlite ? SQL_VARCHAR : SQL_WVARCHAR);
  EXPECT_EQ(connection_.GetTypeInfoList(QStringLiteral("customers"), QStringLiteral("no_such_column")), 0);
  EXPECT_EQ(connection_.GetTypeInfoList(QStringLiteral("no_such_table"), QStringLiteral("city")), 0);
}

TEST_P(CatalogEngine, StatementsThatMatchNoRowSucceed) {
  EXPECT_EQ(connection_.ExecuteStatement(QStringLiteral("UPDATE customers SET city = 'x' WHERE customer_id = -1")),
            SQL_SUCCESS);
  EXPECT_EQ(connection_.ExecuteStatement(QStringLiteral("DELETE FROM customers WHERE customer_id = -1")), SQL_SUCCESS);
  EXPECT_EQ(connection_.ExecuteStatement(QStringLiteral("UPDATE no_such_table SET a = 1")), SQL_ERROR);
  EXPECT_FALSE(connection_.GetLastStatementDiagnostic().sqlState.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, CatalogEngine, ::testing::ValuesIn(odbctest::AllEngines()),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });

// Stored procedures: the servers only.
class ProcedureEngine : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override { CONNECT_OR_SKIP(GetParam(), &connection_); }

  admin::CDatabseConnection connection_;
};

TEST_P(ProcedureEngine, ProcedureAndItsParameters) {
  QStringList procedures;
  EXPECT_GE(connection_.GetProcedureList(&procedures), 1);
  EXPECT_TRUE(procedures.contains(u"orders_of_customer"));
  QStringList names;
  QList<int16_t> kinds, types;
  const int columns = connection_.GetProcedureColumnList(QStringLiteral("orders_of_customer"), &names, &kinds, &types);
  EXPECT_EQ(columns, names.size()) << qPrintable(names.join(u','));
  const qsizetype customer = names.indexOf(u"p_customer");
  const qsizetype minimum = names.indexOf(u"p_minimum");
  ASSERT_GE(customer, 0) << qPrintable(names.join(u','));
  ASSERT_GE(minimum, 0);
  EXPECT_EQ(kinds[customer], SQL_PARAM_INPUT);
  EXPECT_EQ(types[customer], SQL_INTEGER);
  EXPECT_EQ(types[minimum], GetParam() == Engine::PostgreSql ? SQL_NUMERIC : SQL_DECIMAL);
}

TEST_P(ProcedureEngine, RowsAreCachedAndBigIntsReadAsTheirValue) {
  admin::CDatabaseHandlerForProc procedure;
  ASSERT_EQ(procedure.ExecuteQuery(connection_, QStringLiteral("{call orders_of_customer(1, 0)}")), 1)
      << qPrintable(procedure.GetOdbcErrorText());
  EXPECT_EQ(procedure.GetRowCount(), 2);
  ASSERT_EQ(procedure.GetColumnCount(), 3);
  EXPECT_EQ(procedure.GetColumnType(0), ColumnKind::BigInt);
  EXPECT_EQ(procedure.GetFieldValue(0, 0), QStringLiteral("5000000001"));
  EXPECT_EQ(procedure.GetFieldValue(1, 0), QStringLiteral("5000000003"));
  EXPECT_EQ(procedure.GetFieldValue(1, 1), QStringLiteral("15.75"));
  EXPECT_EQ(procedure.GetFieldValue(1, 2), QStringLiteral("Alder Outfitters"));
  EXPECT_EQ(procedure.GetBoundBufferCount(), 0U);
  // A second execution with fewer rows leaves none of the first behind.
  ASSERT_EQ(procedure.ExecuteQuery(connection_, QStringLiteral("{call orders_of_customer(1, 13)}")), 1);
  EXPECT_EQ(procedure.GetRowCount(), 1);
  EXPECT_EQ(procedure.GetFieldValue(0, 0), QStringLiteral("5000000003"));
  EXPECT_EQ(procedure.GetFieldValue(1, 0), QString());
  EXPECT_EQ(procedure.ExecuteQuery(connection_, QStringLiteral("{call no_such_procedure(1)}")), 0);
  EXPECT_EQ(procedure.GetRowCount(), 0);
  EXPECT_FALSE(procedure.GetOdbcErrorText().contains(u"SQLSTATE: \n"));
}

INSTANTIATE_TEST_SUITE_P(Servers, ProcedureEngine, ::testing::Values(Engine::PostgreSql, Engine::MariaDb),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });

// Without a connection no catalog statement can be made: every lookup answers nothing, and those
// that report a failure give the connection's record in the connect-failure form, with a blank
// after each line break (the keys in a message box as well).
TEST(Catalog, LookupsWithoutAConnectionFindNothingAndSayWhy) {
  auto& recorder = testsupport::MessageBoxRecorder::Global();
  recorder.Clear();
  CLogFile log(testsupport::CurrentMachineRoot() + u'/', QStringLiteral("DesktopLog.log"));
  SetAppLog(&log);
  admin::CDatabseConnection connection;
  QStringList names, schemas, types;
  QList<int16_t> kinds, sqlTypes;
  int sensitive = -1;
  EXPECT_EQ(connection.GetTableList(&names, &schemas, &types, 0), 0);
  EXPECT_EQ(connection.GetProcedureList(&names), 0);
  EXPECT_EQ(connection.GetColumnList(QStringLiteral("t"), &names, &sqlTypes), 0);
  EXPECT_EQ(connection.GetProcedureColumnList(QStringLiteral("p"), &names, &kinds, &sqlTypes), 0);
  EXPECT_FALSE(connection.AreColumnTypesSupported(QStringLiteral("t")));
  EXPECT_EQ(connection.GetPrimaryKeyList(QStringLiteral("t"), &names), 0);
  EXPECT_EQ(connection.GetSpecialColumnList(QStringLiteral("t"), &names), 0);
  EXPECT_EQ(connection.GetTypeCaseSensitivity(QStringLiteral("4"), &sensitive), 0);
  EXPECT_EQ(connection.GetTypeInfoList(QStringLiteral("t"), QStringLiteral("c")), 0);
  SetAppLog(nullptr);
  EXPECT_TRUE(names.isEmpty() && schemas.isEmpty() && types.isEmpty() && kinds.isEmpty() && sqlTypes.isEmpty());
  EXPECT_EQ(sensitive, -1);
  EXPECT_EQ(connection.GetLastReturnCode(), SQL_ERROR);

  const QString report = QStringLiteral(
      "Failed to connect to database.\n\nODBC Reports : \n\n SQLSTATE:08003 \n Native Error Code:0 \n Driver "
      "Message:=' [unixODBC][Driver Manager]Connection not open '");
  ASSERT_EQ(recorder.shown().size(), 1);
  EXPECT_EQ(recorder.shown().first().text, report);
  const QList<testsupport::LogEntry> entries = testsupport::ReadLogEntries(log.FilePath());
  ASSERT_EQ(entries.size(), 3);
  const int codes[] = {-1, 91, -1};  // keys, special columns, type information
  for (qsizetype i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].code, codes[i]);
    EXPECT_EQ(entries[i].text, report);
  }
}

// Names longer than 31 characters are looked up whole.
TEST(Catalog, PrimaryKeysOfALongTableName) {
  admin::CDatabseConnection connection;
  CONNECT_OR_SKIP(Engine::Sqlite, &connection);
  const QString table = QStringLiteral("customer_addresses_of_the_northern_region");
  ASSERT_TRUE(SQL_SUCCEEDED(connection.ExecuteStatement(
      QStringLiteral("CREATE TABLE %1 (address_id INTEGER PRIMARY KEY, street VARCHAR(60))").arg(table))));
  ASSERT_TRUE(SQL_SUCCEEDED(
      connection.ExecuteStatement(QStringLiteral("CREATE TABLE %1 (other_id INTEGER PRIMARY KEY)").arg(table.left(31)))));
  QStringList keys;
  EXPECT_EQ(connection.GetPrimaryKeyList(table, &keys), 1);
  EXPECT_EQ(keys, QStringList({QStringLiteral("address_id")}));
}

// Long texts, a result whose middle column has no supported kind (the others are cached, every
// buffer goes) and a statement without result columns.
TEST(ProcedureHandler, LongTextsUnsupportedColumnsAndResultsWithoutColumns) {
  admin::CDatabseConnection connection;
  CONNECT_OR_SKIP(Engine::Sqlite, &connection);
  MakeSqliteCatalog(&connection);
  ASSERT_TRUE(SQL_SUCCEEDED(connection.ExecuteStatement(QStringLiteral("INSERT INTO orderx1 VALUES (7, x'00ff')"))));
  admin::CDatabaseHandlerForProc procedure;
  ASSERT_TRUE(SQL_SUCCEEDED(connection.ExecuteStatement(QStringLiteral("CREATE TABLE long_texts (t TEXT)"))));
  ASSERT_TRUE(SQL_SUCCEEDED(connection.ExecuteStatement(
      QStringLiteral("INSERT INTO long_texts VALUES ('%1')").arg(QString(20000, u'z')))));
  // A text longer than its bound buffer is taken as far as the buffer holds it.
  ASSERT_EQ(procedure.ExecuteQuery(connection, QStringLiteral("SELECT t FROM long_texts")), 1);
  EXPECT_EQ(procedure.GetFieldValue(0, 0), QString(16381, u'z'));
  ASSERT_EQ(procedure.ExecuteQuery(connection, QStringLiteral("SELECT id, note, 'end' AS tail FROM orderx1")), 1);
  EXPECT_EQ(procedure.GetRowCount(), 1);
  EXPECT_EQ(procedure.GetColumnType(1), 0);
  EXPECT_EQ(procedure.GetFieldValue(0, 0), QStringLiteral("7"));
  EXPECT_EQ(procedure.GetFieldValue(0, 1), QString());
  EXPECT_EQ(procedure.GetFieldValue(0, 2), QStringLiteral("end"));
  EXPECT_EQ(procedure.GetBoundBufferCount(), 0U);
  EXPECT_TRUE(procedure.MoveToRow(5));
  ASSERT_EQ(procedure.ExecuteQuery(connection, QStringLiteral("UPDATE orderx1 SET id = 8")), 1);
  EXPECT_EQ(procedure.GetColumnCount(), 0);
  EXPECT_EQ(procedure.GetRowCount(), 0);
  EXPECT_EQ(procedure.GetFieldValue(0, 0), QString());
}

}  // namespace

