#pragma once

#include <QString>

#include <vector>

namespace platform {

// One piece of a number format section.
struct NumberFormatToken {
  enum class Kind {
    Literal,  // text shown as written
    Digit,    // 0, # or ? (letter)
    Point,    // the decimal point
    Comma,    // thousands separator or scaling
    Percent,
    Exponent,  // E+ or E- (letter: the sign)
    TextMark,  // @
    General,
    DatePart,  // y, m, d, h or s repeated `count` times (letter lower-case)
    Elapsed,   // [h], [mm], [ss]: letter and count
    AmPm,      // AM/PM or A/P as written
  };
  Kind kind;
  QString text;
  QChar letter;
  int count = 0;
};

// A format code's sections (split at ";" outside quotes, escapes and brackets), each with its
// condition when it has one ("[>=100]").
struct NumberFormatSection {
  std::vector<NumberFormatToken> tokens;
  bool hasCondition = false;
  QString conditionOperator;
  double conditionBound = 0;
  bool isDate = false;
  bool hasText = false;  // holds "@"

  bool ConditionHolds(double value) const;
};

std::vector<NumberFormatSection> ParseNumberFormat(const QString& formatCode);

}  // namespace platform
