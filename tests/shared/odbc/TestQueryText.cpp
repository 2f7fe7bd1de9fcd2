#include "shared/odbc/QueryText.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct TableNameCase {
  const char* query;
  const char* table;
};

}  // namespace

TEST(QueryText, TableNameFromQuery) {
  const TableNameCase cases[] = {
      {"SELECT * FROM \"dbo\".\"Orders\" Where Amount > 5 Order By Amount", "Orders"},
      {"Select * from \"dbo\".\"Orders\" Where Amount > 5", "Orders"},
      {"SELECT * FROM CUSTOMERS ORDER BY NAME", "CUSTOMERS"},
      {"select a from  Items  ", "Items"},
      {"SELECT * FROM \"Sales Data\"", "Sales Data"},
      {"SELECT * FROM 'Quoted'", "Quoted"},
      // Keywords only as whole words, in any case, and across line breaks.
      {"SELECT FromDate, Whereabouts FROM Visits where FromDate > 1", "Visits"},
      {"SELECT * FROM Orders order\n  by Amount", "Orders"},
      {"SELECT *\nFROM\nOrders\nWHERE x = 1", "Orders"},
      {"SELECT * FROM Orders Where Note = 'ordered by phone'", "Orders"},
      // Nothing inside quotes counts.
      {"SELECT 'from here' AS Origin, \"where\" FROM Trips", "Trips"},
      {"SELECT [From] FROM [Sheet1$]", "[Sheet1$]"},
      // An owner only when the name's own first "." follows a double quote.
      {"SELECT * FROM dbo.Orders Where \"x\".y = 1", "dbo.Orders"},
      {"SELECT * FROM Orders Where \"x\".y = 1", "Orders"},
      {"SELECT * FROM \"New_Orders.txt\"", "New_Orders.txt"},
      // Quoted names as the table page writes them: inner quotes doubled, a schema before.
      {"Select \"a\" from \"public\".\"Sales \"\"Q1\"\"\" Where \"a\" = 1", "Sales \"Q1\""},
      {"Select `a` from `my``table` Order By `a` ASC", "my`table"},
      {"Select \"a\" from \"dbo\".Orders", "Orders"},
      // No FROM at all.
      {"SELECT 1", ""},
      {"SELECT FromDate FROMX", ""},
      {"", ""},
      {"SELECT 'unterminated FROM x", ""},
      // Each sharp s upper-cases to "SS": the name must not move by the letters this adds.
      {"SELECT Ma\xC3\x9F, Gr\xC3\xB6\xC3\x9F" "e FROM Tabelle", "Tabelle"},
  };
  for (const TableNameCase& c : cases) {
    EXPECT_EQ(GetTableNameFromQuery(QString::fromUtf8(c.query)), QString::fromUtf8(c.table)) << c.query;
  }
}

TEST(QueryText, SqlListsAndNames) {
  EXPECT_EQ(SplitSqlList(u"\"a,b\", `c`, d(1, 2) , 'x,y'"),
            QStringList({u"\"a,b\""_s, u"`c`"_s, u"d(1, 2)"_s, u"'x,y'"_s}));
  EXPECT_EQ(SplitSqlList(u"  "), QStringList());
  EXPECT_EQ(UnquoteSqlName(u" \"a \"\"b\"\"\" "), QStringLiteral("a \"b\""));
  EXPECT_EQ(UnquoteSqlName(u"`x``y`"), QStringLiteral("x`y"));
  EXPECT_EQ(UnquoteSqlName(u"plain"), QStringLiteral("plain"));
  const QualifiedTableName qualified = ReadQualifiedTableName(u"\"my schema\".\"t.1\"");
  EXPECT_EQ(qualified.schema, QStringLiteral("my schema"));
  EXPECT_EQ(qualified.table, QStringLiteral("t.1"));
  EXPECT_EQ(ReadQualifiedTableName(u"Orders").table, QStringLiteral("Orders"));
}

TEST(QueryText, KeywordPositions) {
  EXPECT_EQ(FindSqlKeyword(u"SELECT * FROM t", u"FROM"), 9);
  EXPECT_EQ(FindSqlKeyword(u"\"from\" 'from' [from] `from` fromage", u"FROM"), -1);
  EXPECT_EQ(FindSqlKeyword(u"a\"from\"from", u"FROM"), 7);
  EXPECT_EQ(FindSqlKeyword(u"x ORDER\t\tBY y", u"ORDER BY"), 2);
  EXPECT_EQ(FindSqlKeyword(u"x ORDERBY y", u"ORDER BY"), -1);
  EXPECT_EQ(FindSqlKeyword(u"from", u"FROM"), 0);
  EXPECT_EQ(FindSqlKeyword(u"fro", u"FROM"), -1);
}
