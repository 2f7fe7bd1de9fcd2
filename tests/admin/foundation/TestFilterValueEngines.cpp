// Quoted filter values as each engine takes them in a WHERE clause.
#include "admin/foundation/DatabaseHandler.h"
#include "admin/foundation/FilterValueQuoting.h"
#include "tests/admin/foundation/OdbcTestEngines.h"

#include <gtest/gtest.h>

using odbctest::Engine;

namespace {

class FilterValueEngine : public ::testing::TestWithParam<Engine> {};

}  // namespace

TEST_P(FilterValueEngine, QuotedValuesSelectTheirRows) {
  admin::CDatabseConnection connection;
  CONNECT_OR_SKIP(GetParam(), &connection);
  const QString create = GetParam() == Engine::Sqlite ? QStringLiteral("CREATE TABLE") : QStringLiteral("CREATE TEMPORARY TABLE");
  for (const QString& statement :
       {create + QStringLiteral(" filter_probe (name VARCHAR(40), born DATE)"),
        QStringLiteral("INSERT INTO filter_probe VALUES ('O''Brien', '2010-01-05'), ('''', '2011-02-03'), ('Smith', NULL)")}) {
    ASSERT_TRUE(SQL_SUCCEEDED(connection.ExecuteStatement(statement)))
        << qPrintable(connection.GetLastStatementDiagnostic().message);
  }
  const FilterValueTarget target{odbctest::EngineName(GetParam()), false};
  struct Case {
    QString condition;  // column and operator
    QString value;
    int sqlType;
  };
  for (const Case& c : {Case{QStringLiteral("name ="), QStringLiteral("O'Brien"), 12},
                        Case{QStringLiteral("name ="), QStringLiteral("'O''Brien'"), 12},
                        Case{QStringLiteral("name ="), QStringLiteral("'"), 12},
                        Case{QStringLiteral("name LIKE"), QStringLiteral("O'B%"), 12},
                        Case{QStringLiteral("born ="), QStringLiteral("2010-01-05"), 91},
                        Case{QStringLiteral("born ="), QStringLiteral("#2010-01-05#"), 91},
                        Case{QStringLiteral("born IS"), QStringLiteral("NULL"), 91}}) {
    const QString sql = QStringLiteral("SELECT name FROM filter_probe WHERE %1 %2")
                            .arg(c.condition, QuoteFilterValue(c.value, c.sqlType, target));
    SCOPED_TRACE(qPrintable(sql));
    admin::CDatabaseHandler handler;
    ASSERT_EQ(handler.ExecuteQuery(connection, sql), 1);
    EXPECT_EQ(handler.GetRowCount(), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, FilterValueEngine, ::testing::ValuesIn(odbctest::AllEngines()),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });
