#include "admin/foundation/FilterValueQuoting.h"

#include <gtest/gtest.h>

namespace {

constexpr int kVarChar = 12;
constexpr int kWVarChar = -9;
constexpr int kDate = 91;
constexpr int kTimestamp = 93;
constexpr int kTime = 92;
constexpr int kInteger = 4;
constexpr int kBit = -7;

const FilterValueTarget kSqlite{QStringLiteral("SQLite"), false};
const FilterValueTarget kPostgres{QStringLiteral("PostgreSQL"), false};
const FilterValueTarget kMariaDb{QStringLiteral("MariaDB"), false};
const FilterValueTarget kAccess{QStringLiteral("ACCESS"), true};
const FilterValueTarget kSqlServer{QStringLiteral("Microsoft SQL Server"), false};

struct Case {
  QString value;
  int type;
  FilterValueTarget target;
  QString quoted;
};

}  // namespace

TEST(QuoteFilterValue, WritesOneWellFormedLiteralAndLeavesItAsItIsWhenQuotedAgain) {
  const QString lone = QStringLiteral("'");
  for (const Case& c : {
           Case{QStringLiteral("'abc'"), kVarChar, kSqlite, QStringLiteral("'abc'")},
           Case{QStringLiteral("abc"), kWVarChar, kSqlite, QStringLiteral("'abc'")},
           Case{QStringLiteral("O'Brien"), kVarChar, kPostgres, QStringLiteral("'O''Brien'")},
           Case{QStringLiteral("'O''Brien'"), kVarChar, kPostgres, QStringLiteral("'O''Brien'")},
           // Quoted at both ends but not one literal inside: taken as text.
           Case{QStringLiteral("'O'Brien'"), kVarChar, kMariaDb, QStringLiteral("'''O''Brien'''")},
           Case{lone, kVarChar, kSqlite, QStringLiteral("''''")},
           Case{QString(), kVarChar, kSqlite, QStringLiteral("''")},
           Case{QStringLiteral("null"), kVarChar, kSqlite, QStringLiteral("null")},
           Case{QStringLiteral("NULL"), kDate, kAccess, QStringLiteral("NULL")},
           Case{QStringLiteral("2010-01-05"), kDate, kSqlite, QStringLiteral("'2010-01-05'")},
           Case{QStringLiteral("2010-01-05"), kDate, kPostgres, QStringLiteral("'2010-01-05'")},
           Case{QStringLiteral("2010-01-05"), kTimestamp, kMariaDb, QStringLiteral("'2010-01-05'")},
           Case{QStringLiteral("2010-01-05"), kDate, kAccess, QStringLiteral("#2010-01-05#")},
           Case{QStringLiteral("#2010-01-05#"), kDate, kSqlite, QStringLiteral("'2010-01-05'")},
           Case{QStringLiteral("#2010-01-05#"), kDate, kPostgres, QStringLiteral("'2010-01-05'")},
           Case{QStringLiteral("#2010-01-05#"), kDate, kMariaDb, QStringLiteral("'2010-01-05'")},
           Case{QStringLiteral("#2010-01-05#"), kDate, kAccess, QStringLiteral("#2010-01-05#")},
           Case{QStringLiteral("'2010-01-05'"), kDate, kAccess, QStringLiteral("'2010-01-05'")},
           Case{QStringLiteral("10:30:00"), kTime, kSqlite, QStringLiteral("10:30:00")},
           Case{QStringLiteral("42"), kInteger, kSqlite, QStringLiteral("42")},
           Case{QStringLiteral("'42'"), kInteger, kSqlite, QStringLiteral("'42'")},
           Case{QStringLiteral("true"), kBit, kSqlServer, QStringLiteral("1")},
           Case{QStringLiteral("False"), kBit, kSqlServer, QStringLiteral("0")},
           Case{QStringLiteral("1"), kBit, kSqlServer, QStringLiteral("1")},
           Case{QStringLiteral("True"), kBit, kPostgres, QStringLiteral("True")},
       }) {
    SCOPED_TRACE(qPrintable(c.value + QStringLiteral(" type ") + QString::number(c.type) + u' ' + c.target.databaseKind));
    const QString quoted = QuoteFilterValue(c.value, c.type, c.target);
    EXPECT_EQ(quoted, c.quoted);
    EXPECT_EQ(QuoteFilterValue(quoted, c.type, c.target), quoted) << "quoting twice changes nothing";
  }
}
