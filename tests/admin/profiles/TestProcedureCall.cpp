#include "admin/profiles/ProcedureCall.h"

#include "admin/foundation/ProfileQueryText.h"

#include <sqlext.h>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct ParamListCase {
  const char* label;
  QString paramList;
  QList<ProcedureParameter> parameters;
};

}  // namespace

void PrintTo(const ProcedureParameter& p, std::ostream* out) {
  *out << p.name.toStdString() << '/' << p.kind << '/' << p.sqlType;
}

TEST(ProcedureCall, ParamListOfMySql) {
  const ParamListCase cases[] = {
      {"IN", u"IN p_customer INTEGER"_s, {{u"p_customer"_s, SQL_PARAM_INPUT, SQL_INTEGER}}},
      {"OUT, INOUT, RETURNS in any case",
       u"out a VARCHAR(20), InOut b int, RETURNS c date"_s,
       {{u"a"_s, SQL_PARAM_OUTPUT, SQL_VARCHAR}, {u"b"_s, SQL_PARAM_INPUT_OUTPUT, SQL_INTEGER},
        {u"c"_s, SQL_RETURN_VALUE, SQL_DATE}}},
      {"no direction word", u"x char(3)"_s, {{u"x"_s, SQL_PARAM_INPUT, SQL_CHAR}}},
      {"none", u""_s, {}},
      {"DECIMAL(10,2) keeps what follows",
       u"IN p_minimum DECIMAL(10, 2), IN p_note TEXT"_s,
       {{u"p_minimum"_s, SQL_PARAM_INPUT, SQL_NUMERIC}, {u"p_note"_s, SQL_PARAM_INPUT, SQL_LONGVARCHAR}}},
      {"line breaks and tabs", u"\n\tIN\ta\tINT,\r\n  IN\nb\n  varchar(9)\n"_s,
       {{u"a"_s, SQL_PARAM_INPUT, SQL_INTEGER}, {u"b"_s, SQL_PARAM_INPUT, SQL_VARCHAR}}},
      {"back-quoted name", u"IN `p` INT"_s, {{u"p"_s, SQL_PARAM_INPUT, SQL_INTEGER}}},
      {"too few words end it", u"IN a INT, IN b, IN c INT"_s, {{u"a"_s, SQL_PARAM_INPUT, SQL_INTEGER}}},
  };
  for (const ParamListCase& c : cases) EXPECT_EQ(ParseMySqlParamList(c.paramList), c.parameters) << c.label;
}

TEST(ProcedureCall, ParameterValues) {
  struct Case {
    const char* type;
    const char* value;
    const char* formatted;
    bool accepted;
  } cases[] = {
      {"SQL_VARCHAR", "O'Brien", "'O''Brien'", true},
      {"sql_wvarchar", "x", "'x'", true},
      {"SQL_TIMESTAMP", "2024-01-02 03:04:05", "'2024-01-02 03:04:05'", true},
      {"SQL_INTEGER", "42", "42", true},
      {"SQL_NUMERIC", "-1.5", "-1.5", true},
      {"SQL_INTEGER", "null", "null", true},
      {"SQL_INTEGER", "NULL", "NULL", true},
      {"SQL_INTEGER", "1; drop table x", "1; drop table x", false},
      {"SQL_INTEGER", "-", "-", false},
      {"SQL_DECIMAL", "1e5", "1e5", false},
      {"SQL_INTEGER", "", "", false},
  };
  for (const Case& c : cases) {
    const QString type = QString::fromUtf8(c.type);
    const QString value = QString::fromUtf8(c.value);
    EXPECT_EQ(FormatParameterValue(type, value), QString::fromUtf8(c.formatted)) << c.type << ' ' << c.value;
    EXPECT_EQ(IsAcceptedParameterValue(type, value), c.accepted) << c.type << ' ' << c.value;
  }
  EXPECT_EQ(JoinParameterValues({{u"a"_s, u"SQL_VARCHAR"_s, u"INPUT"_s, u"it's"_s},
                                 {u"b"_s, u"SQL_INTEGER"_s, u"INPUT"_s, u"5"_s}}),
            u"'it''s', 5"_s);
}

TEST(ProcedureCall, CallTextsReadBackByTheParser) {
  struct Case {
    const char* label;
    CallSyntax syntax;
    QString driver;
    QString procedure;
    QString arguments;
    QString call;
  } cases[] = {
      {"exec without arguments", CallSyntax::kExec, u"SQLite3"_s, u"p"_s, {}, u"exec \"p\" "_s},
      {"exec with arguments", CallSyntax::kExec, u"SQL Server"_s, u"p"_s, u"'a''b', 2"_s,
       u"exec \"p\" 'a''b', 2"_s},
      {"exec doubles a quote", CallSyntax::kExec, u"SQL Server"_s, u"say \"hi\""_s, u"1"_s,
       u"exec \"say \"\"hi\"\"\" 1"_s},
      {"MySQL without arguments", CallSyntax::kMySql, u"MariaDB Unicode"_s, u"p"_s, {}, u"call `p` ()"_s},
      {"MySQL doubles a back-quote", CallSyntax::kMySql, u"MariaDB Unicode"_s, u"a`b"_s, u"1, 'x'"_s,
       u"call `a``b` (1, 'x')"_s},
      {"PostgreSQL", CallSyntax::kEscape, u"PostgreSQL Unicode"_s, u"orders_of"_s, u"'O''Brien', 5"_s,
       u"{call \"orders_of\"('O''Brien', 5)}"_s},
      {"PostgreSQL without arguments", CallSyntax::kEscape, u"PostgreSQL Unicode"_s, u"x\"y"_s, {},
       u"{call \"x\"\"y\"()}"_s},
  };
  for (const Case& c : cases) {
    const QString call = BuildCallText(c.syntax, c.procedure, c.arguments);
    EXPECT_EQ(call, c.call) << c.label;
    EXPECT_EQ(GetProcedureNameFromCall(c.driver, call), c.procedure) << c.label;
    EXPECT_EQ(GetProcedureArgsFromCall(c.driver, call), c.arguments) << c.label;
  }
  EXPECT_EQ(CallSyntaxOf(true, u"MariaDB"_s), CallSyntax::kMySql);
  EXPECT_EQ(CallSyntaxOf(false, u"PostgreSQL"_s), CallSyntax::kEscape);
  EXPECT_EQ(CallSyntaxOf(false, u"Microsoft SQL Server"_s), CallSyntax::kExec);
  EXPECT_EQ(BuildCallStart(CallSyntax::kExec, u"p"_s), u"exec \"p\""_s);
}
