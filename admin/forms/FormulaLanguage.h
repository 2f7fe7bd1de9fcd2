#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <span>

// The functions a formula of a FormulaField may call, as the devices evaluate them.
struct FormulaFunction {
  QStringView name;
  int argumentCount;
  QStringView syntax;  // shown to the administrator when the function is chosen
  bool conversion;     // NUM, the one conversion; the others are Math
};

// Every function in the order the formula editor lists them: the Math ones, then NUM.
std::span<const FormulaFunction> FormulaFunctions();
// The function of that name (upper case), or null.
const FormulaFunction* FindFormulaFunction(QStringView name);

// The profile's columns a formula may name, with their SQL type names index for index.
struct FormulaColumns {
  QStringList names;
  QStringList types;
};

// The formula as it is validated: without its blanks, upper-cased. The stored formula keeps the
// text as typed.
QString PrepareFormulaText(const QString& formula);
