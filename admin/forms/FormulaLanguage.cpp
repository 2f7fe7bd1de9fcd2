#include "admin/forms/FormulaLanguage.h"

#include <array>

namespace {

constexpr std::array<FormulaFunction, 15> kFunctions = {{
    {u"ABS", 1, u"ABS(num)", false},
    {u"POWER", 2, u"POWER(num1, num2)", false},
    {u"SQRT", 1, u"SQRT(num)", false},
    {u"EXP", 1, u"EXP(num)", false},
    {u"LOG", 1, u"LOG(num)", false},
    {u"SIN", 1, u"SIN(angle)", false},
    {u"COS", 1, u"COS(angle)", false},
    {u"TAN", 1, u"TAN(angle)", false},
    {u"COT", 1, u"COT(angle)", false},
    {u"SEC", 1, u"SEC(angle)", false},
    {u"COSEC", 1, u"COSEC(angle)", false},
    {u"MIN", 2, u"MIN(num1, num2)", false},
    {u"MAX", 2, u"MAX(num1, num2)", false},
    {u"INT", 1, u"INT(num)", false},
    {u"NUM", 1, u"NUM(stringNum)", true},
}};

}  // namespace

std::span<const FormulaFunction> FormulaFunctions() { return kFunctions; }

const FormulaFunction* FindFormulaFunction(QStringView name) {
  for (const FormulaFunction& function : kFunctions) {
    if (function.name == name) return &function;
  }
  return nullptr;
}

QString PrepareFormulaText(const QString& formula) {
  QString text = formula;
  text.remove(u' ');
  return text.toUpper();
}
