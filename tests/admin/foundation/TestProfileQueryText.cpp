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
