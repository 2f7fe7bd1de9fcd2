#include "admin/foundation/DatabaseHandlerForProc.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/ProfileQueryText.h"
#include "admin/profiles/ProcedureCall.h"
#include "admin/profiles/TableKeyColumns.h"
#include "tests/admin/foundation/OdbcTestEngines.h"

#include <sqlext.h>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using odbctest::Engine;

namespace {

class ProcedureProfileEngine : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override { CONNECT_OR_SKIP(GetParam(), &connection_); }

  bool IsMariaDb() const { return GetParam() == Engine::MariaDb; }
  QString ProductName() const { return IsMariaDb() ? u"MariaDB"_s : u"PostgreSQL"_s; }

  admin::CDatabseConnection connection_;
};

}  // namespace

TEST_P(ProcedureProfileEngine, ParametersOfTheProcedure) {
  const QList<ProcedureParameter> parameters = GetProcedureParameters(
      connection_, odbctest::ServerDataSourceName(GetParam()), u"orders_of_customer"_s, IsMariaDb());
  const QList<ParameterRecord> asked = ParameterRecordsToAsk(parameters);
  ASSERT_EQ(asked.size(), 2);
  EXPECT_EQ(asked[0].name, u"p_customer"_s);
  EXPECT_EQ(asked[0].typeName, u"SQL_INTEGER"_s);
  EXPECT_EQ(asked[0].directionName, u"INPUT"_s);
  EXPECT_EQ(asked[1].name, u"p_minimum"_s);
  EXPECT_EQ(asked[1].typeName, u"SQL_NUMERIC"_s);
  // MariaDB's come from mysql.proc's param_list, whose DECIMAL(10, 2) gives SQL_NUMERIC (the
  // driver's catalogue says SQL_DECIMAL); PostgreSQL's catalogue adds the result columns.
  ASSERT_EQ(parameters.size(), IsMariaDb() ? 2 : 5);
  if (IsMariaDb()) {
    EXPECT_EQ(parameters[1].sqlType, SQL_NUMERIC);
  }
}

TEST_P(ProcedureProfileEngine, BuiltCallReturnsTheRowsAndReadsBack) {
  const CallSyntax syntax = CallSyntaxOf(IsMariaDb(), ProductName());
  const QString arguments = JoinParameterValues({{u"p_customer"_s, u"SQL_INTEGER"_s, u"INPUT"_s, u"1"_s},
                                                 {u"p_minimum"_s, u"SQL_NUMERIC"_s, u"INPUT"_s, u"13"_s}});
  const QString call = BuildCallText(syntax, u"orders_of_customer"_s, arguments);
  admin::CDatabaseHandlerForProc procedure;
  ASSERT_EQ(procedure.ExecuteQuery(connection_, call), 1) << qPrintable(call + u": "_s + procedure.GetOdbcErrorText());
  EXPECT_EQ(procedure.GetRowCount(), 1);
  EXPECT_EQ(procedure.GetFieldValue(0, 0), u"5000000003"_s);
  const QString driver = IsMariaDb() ? u"MariaDB Unicode"_s : u"PostgreSQL Unicode"_s;
  EXPECT_EQ(GetProcedureNameFromCall(driver, call), u"orders_of_customer"_s);
  EXPECT_EQ(GetProcedureArgsFromCall(driver, call), u"1, 13"_s);
}

TEST_P(ProcedureProfileEngine, NoEngineProceduresListed) {
  QStringList procedures;
  ASSERT_GE(connection_.GetProcedureList(&procedures), 1);
  EXPECT_TRUE(procedures.contains(u"orders_of_customer"_s));
  // PostgreSQL's own functions (pg_catalog) run into thousands.
  EXPECT_LT(procedures.size(), 20) << qPrintable(procedures.mid(0, 5).join(u','));
}

TEST_P(ProcedureProfileEngine, KeyColumnsOfTables) {
  const QStringList columns = {u"customer_id"_s, u"company_name"_s, u"city"_s};
  EXPECT_EQ(GetTableKeyColumns(connection_, ProductName(), u"customers"_s, columns), QStringList({u"customer_id"_s}));
  // The view has no key; a best-row identifier of a column not listed is none either.
  EXPECT_EQ(GetTableKeyColumns(connection_, ProductName(), u"customer_orders"_s,
                               {u"order_id"_s, u"company_name"_s, u"amount"_s}),
            QStringList());
}

INSTANTIATE_TEST_SUITE_P(Servers, ProcedureProfileEngine, ::testing::Values(Engine::PostgreSql, Engine::MariaDb),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });
