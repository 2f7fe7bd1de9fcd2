#include "admin/forms/FormulaValidator.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

FormulaColumns Columns() {
  return {{QStringLiteral("Price"), QStringLiteral("Qty"), QStringLiteral("Name"), QStringLiteral("Unit Cost")},
          {QStringLiteral("SQL_INTEGER"), QStringLiteral("SQL_DOUBLE"), QStringLiteral("SQL_VARCHAR"),
           QStringLiteral("SQL_NUMERIC")}};
}

struct FormulaCase {
  const char16_t* formula;  // as typed
  int valid;
  bool textColumn;
  const char16_t* error;
};

// The formulas are prepared as the editor prepares them: blanks out, upper case.
TEST(FormulaValidator, TheLanguageAndItsMessages) {
  const FormulaCase cases[] = {
      {u"$Price * 2", 1, false, u""},
      {u"$Price * 2.5", 0, false, u"Missing operator after constants in expression : $PRICE*2.5"},
      {u"-$Price", 1, false, u""},
      {u"$Price * -$Qty", 1, false, u""},
      {u"$Price--2", 1, false, u""},
      {u"*$Price", 0, false, u" * operator is binary operator, Missing operands in expression : *$PRICE"},
      {u"$Price+*2", 0, false, u" * operator is binary operator, Missing operands in expression : $PRICE+*2"},
      {u"$Price +", 0, false, u"Additional operator in expression : $PRICE+"},
      {u"-", 0, false, u"Additional operator in expression : -"},
      {u"MIN($Price)", 0, false,
       u"Please check syntax of function and specify proper parameters, missing parameters in expression : "
       u"MIN($PRICE)"},
      {u"MIN(1, 2, 3)", 0, false,
       u"Please check function syntax, additional parameters for function in expression : MIN(1,2,3)"},
      {u"MAX()", 0, false,
       u"Please check syntax and enter parameters in Function, Missing parameters in expression : MAX()"},
      {u"MAX(1, (2 + $Qty) * 3) / POWER(2, 3)", 1, false, u""},
      {u"FOO(1)", 0, false, u"Invalid Function name in expression : FOO(1)"},
      {u"NUM($Name)", 1, false, u""},
      {u"NUM($Name) + 1", 1, false, u""},
      {u"$Name", 1, true, u""},
      {u"($Name)", 1, true, u""},
      {u"$Name + 1", 0, true, u""},
      {u"ABS($Name)", 0, false, u"$NAME is a Text Type Column in expression ABS($NAME), Use NUM() to convert it in number."},
      {u"($Price + 1", 0, false, u"Missing closing parenthesis is expression : ($PRICE+1"},
      {u"ABS($Price", 0, false, u"Missing closing parenthesis of function is expression : ABS($PRICE"},
      {u"$Price + 1)", 0, false, u"Too many closing parenthesis in expression : $PRICE+1)"},
      {u"(1)2", 0, false, u"Missing operator after parenthesis expression or function in expression : (1)2"},
      {u"$Unit Cost * 2", 1, false, u""},
      {u"$unitcost * 2", 1, false, u""},
      {u"$UNIT COST", 1, false, u""},
      {u"$Cost", 0, false, u"Invalid Column Name : COST"},
      {u"", 0, false, u""},
      {u"1,2", 0, false, u"Missing operator after constants in expression : 1,2"},
      {u"2 + #", 0, false, u""},
      {u"MIN(1,)", 0, false, u""},
  };
  for (const FormulaCase& c : cases) {
    const QString formula = PrepareFormulaText(QString::fromUtf16(c.formula));
    bool textColumn = false;
    QString error;
    EXPECT_EQ(ValidateFormulaExpression(Columns(), formula, &textColumn, &error), c.valid) << formula.toStdString();
    EXPECT_EQ(textColumn, c.textColumn) << formula.toStdString();
    EXPECT_EQ(error, QString::fromUtf16(c.error)) << formula.toStdString();
  }
}

// Each level of parentheses is one level of the validator's recursion: deep or long texts are
// refused before they can exhaust the stack.
TEST(FormulaValidator, DeepOrLongFormulasAreRefusedWithoutACrash) {
  const auto nested = [](int depth) { return QString(depth, u'(') + u'1' + QString(depth, u')'); };
  const auto validate = [](const QString& formula, QString* error) {
    bool textColumn = false;
    return ValidateFormulaExpression(Columns(), formula, &textColumn, error);
  };
  QString error;
  EXPECT_EQ(validate(nested(kMaxFormulaNesting), &error), 1) << error.toStdString();
  EXPECT_EQ(validate(nested(kMaxFormulaNesting + 1), &error), 0);
  EXPECT_EQ(error, QStringLiteral("Invalid Formula !!"));
  error.clear();
  EXPECT_EQ(validate(QString(100000, u'('), &error), 0);
  EXPECT_EQ(error, QStringLiteral("Invalid Formula !!"));
  error.clear();
  QString deepCalls = QStringLiteral("1");
  for (int level = 0; level < 200; ++level) deepCalls = QStringLiteral("ABS(") + deepCalls + u')';
  EXPECT_EQ(validate(deepCalls, &error), 0);
  EXPECT_EQ(error, QStringLiteral("Invalid Formula !!"));
}

TEST(FormulaValidator, ColumnsByNameWithTheirTextFlag) {
  bool textColumn = false;
  QString error;
  EXPECT_EQ(ValidateFormulaColumns(QStringLiteral("UNITCOST"), Columns(), &textColumn, &error), 1);
  EXPECT_FALSE(textColumn);
  EXPECT_EQ(ValidateFormulaColumns(QStringLiteral("name"), Columns(), &textColumn, &error), 1);
  EXPECT_TRUE(textColumn);
  EXPECT_EQ(ValidateFormulaFunctions(Columns(), QStringLiteral("NUM($NAME)"), &error), 1);
  EXPECT_TRUE(error.isEmpty());
}

}  // namespace
