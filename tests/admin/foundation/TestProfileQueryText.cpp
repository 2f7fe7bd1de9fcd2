#include "admin/foundation/ProfileQueryText.h"

#include <gtest/gtest.h>

namespace {

struct CallCase {
  const char* driver;
  const char* callText;
  const char* name;
  const char* arguments;
};

struct ExportQueryCase {
  const char* query;
  const char* onExport;
};

}  // namespace

TEST(ProfileQueryText, ProcedureNameAndArgumentsOfACallText) {
  const CallCase cases[] = {
      // As the procedure page writes them: MySQL and MariaDB call, every other driver exec.
      {"MySQL ODBC 8.0 Unicode Driver", "call `orders_of_customer` (1, 'a')", "orders_of_customer", "1, 'a'"},
      {"MariaDB Unicode", "call `orders_of_customer` (1, 'a')", "orders_of_customer", "1, 'a'"},
      {"MariaDB Unicode", "call `no_arguments` ()", "no_arguments", ""},
      {"SQL Server", "exec \"OrdersOfCustomer\" 1, 'a'", "OrdersOfCustomer", "1, 'a'"},
      {"PostgreSQL Unicode", "exec \"orders\"", "orders", ""},
      // Keywords in any case; a ")" inside a text argument does not end the arguments.
      {"MariaDB Unicode", "CALL `p` ('x)', 2)", "p", "'x)', 2"},
      {"SQL Server", "EXEC \"Sales.Report\" 'a \"b\"'", "Sales.Report", "'a b'"},
      // PostgreSQL's escape, whatever the driver; a doubled quote inside a name is one quote.
      {"PostgreSQL Unicode", "{call \"orders_of\"('a''b', 5)}", "orders_of", "'a''b', 5"},
      {"PostgreSQL Unicode", "{call \"no args\"()}", "no args", ""},
      {"SQL Server", "{CALL \"x\"\"y\"(1)}", "x\"y", "1"},
      {"SQL Server", "exec \"say \"\"hi\"\"\" 1", "say \"hi\"", "1"},
      {"MariaDB Unicode", "call `a``b` (2)", "a`b", "2"},
      // Without the keyword there is nothing to read.
      {"MariaDB Unicode", "select 1", "", ""},
      {"SQL Server", "select 1", "", ""},
      {"SQL Server", "exec", "", ""},
  };
  for (const CallCase& c : cases) {
    const QString driver = QString::fromUtf8(c.driver);
    const QString callText = QString::fromUtf8(c.callText);
    EXPECT_EQ(GetProcedureNameFromCall(driver, callText), QString::fromUtf8(c.name)) << c.driver << ": " << c.callText;
    EXPECT_EQ(GetProcedureArgsFromCall(driver, callText), QString::fromUtf8(c.arguments))
        << c.driver << ": " << c.callText;
  }
}

namespace {

struct SplitCase {
  const char* query;
  const char* columns;
  const char* from;
  const char* where;
  const char* orderBy;
};

}  // namespace

TEST(ProfileQueryText, SplitSelectQueryAtItsKeywords) {
  const SplitCase cases[] = {
      {"Select  \"a\", \"b\" from \"s\".\"t\" Where \"a\" = 'from x' Order By \"b\" DESC", "\"a\", \"b\"",
       "\"s\".\"t\"", "\"a\" = 'from x'", "\"b\" DESC"},
      {"select `Order`, `Where` FROM `t` order\n by `Order` ASC", "`Order`, `Where`", "`t`", "", "`Order` ASC"},
      {"SELECT FromDate FROM Visits WHERE Whereabouts = 1", "FromDate", "Visits", "Whereabouts = 1", ""},
      {"Select \"x\" from \"Sheet1.txt\"", "\"x\"", "\"Sheet1.txt\"", "", ""},
      {"SELECT 1", "1", "", "", ""},
  };
  for (const SplitCase& c : cases) {
    const SelectQueryParts parts = SplitSelectQuery(QString::fromUtf8(c.query));
    EXPECT_EQ(parts.columns, QString::fromUtf8(c.columns)) << c.query;
    EXPECT_EQ(parts.from, QString::fromUtf8(c.from)) << c.query;
    EXPECT_EQ(parts.where, QString::fromUtf8(c.where)) << c.query;
    EXPECT_EQ(parts.orderBy, QString::fromUtf8(c.orderBy)) << c.query;
  }
}

TEST(ProfileQueryText, QueryOnAWorkbookExport) {
  const ExportQueryCase cases[] = {
      {"SELECT * FROM \"Orders.txt\"", "SELECT * FROM \"New_Orders.txt\""},
      {"select * from \"Orders.txt\"", "select * from \"New_Orders.txt\""},
      {"SELECT a FROM Orders.txt", "SELECT a FROM New_Orders.txt"},
      // Once only, however often the query is opened.
      {"SELECT * FROM \"New_Orders.txt\"", "SELECT * FROM \"New_Orders.txt\""},
      // Neither a column named From... nor a "from" inside a literal is the FROM.
      {"SELECT FromDate FROM \"Orders.txt\" WHERE Note = 'from \"x\"'",
       "SELECT FromDate FROM \"New_Orders.txt\" WHERE Note = 'from \"x\"'"},
      {"SELECT 'from \"x\"' AS a FROM \"Orders.txt\"", "SELECT 'from \"x\"' AS a FROM \"New_Orders.txt\""},
      {"SELECT 1", "SELECT 1"},
  };
  for (const ExportQueryCase& c : cases) {
    EXPECT_EQ(QueryOnWorkbookExport(QString::fromUtf8(c.query)), QString::fromUtf8(c.onExport)) << c.query;
  }
}
