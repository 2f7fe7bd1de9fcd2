#pragma once

#include "admin/forms/FormulaLanguage.h"

#include <QString>

// The validator of FormulaField formulas. Each check answers 1 when valid and 0 when not; a
// refusal with a text of its own leaves it in `error`, others leave `error` as it was. The
// texts are prepared (PrepareFormulaText) first.

// Deeper nesting of parentheses and function calls, or a longer text, is refused with
// kInvalidFormulaMessage: the checks recurse once per level.
inline constexpr int kMaxFormulaNesting = 64;
inline constexpr int kMaxFormulaLength = 4096;
inline constexpr char16_t kInvalidFormulaMessage[] = u"Invalid Formula !!";

// An expression of operands and operators. `textColumn` is set when a text column stands as an
// operand of this expression or of a group in parentheses within it.
int ValidateFormulaExpression(const FormulaColumns& columns, const QString& expression, bool* textColumn,
                              QString* error);
// One function call: a name, "(", the arguments, ")".
int ValidateFormulaFunctions(const FormulaColumns& columns, const QString& call, QString* error);
// A column named after "$": 1 when the profile has it (blanks removed, any case), setting
// `textColumn` for a text column.
int ValidateFormulaColumns(const QString& name, const FormulaColumns& columns, bool* textColumn, QString* error);
