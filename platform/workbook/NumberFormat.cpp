#include "platform/workbook/NumberFormat.h"

#include "platform/workbook/DecimalNumber.h"
#include "platform/workbook/NumberFormatTokens.h"
#include "platform/workbook/SerialDateTime.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace platform {
namespace {

using Token = NumberFormatToken;
using Kind = NumberFormatToken::Kind;
using Tokens = std::vector<NumberFormatToken>;

bool IsDigit(const Token& token) { return token.kind == Kind::Digit; }

// Where the integer, fraction and exponent placeholders of a number section lie.
struct NumberLayout {
  qsizetype pointAt = -1;
  qsizetype exponentAt = -1;
  qsizetype integerEnd = 0;   // tokens before: the integer part
  qsizetype fractionEnd = 0;  // tokens from integerEnd + 1 up to here: the fraction
  int fractionDigits = 0;
  int percents = 0;
  int scalingCommas = 0;
  bool grouping = false;
};

NumberLayout LayOut(const Tokens& tokens) {
  NumberLayout layout;
  const auto size = static_cast<qsizetype>(tokens.size());
  for (qsizetype i = 0; i < size; ++i) {
    if (tokens[i].kind == Kind::Point && layout.pointAt < 0 && layout.exponentAt < 0) layout.pointAt = i;
    if (tokens[i].kind == Kind::Exponent && layout.exponentAt < 0) layout.exponentAt = i;
    if (tokens[i].kind == Kind::Percent) ++layout.percents;
  }
  layout.integerEnd =
      layout.pointAt >= 0 ? layout.pointAt : (layout.exponentAt >= 0 ? layout.exponentAt : size);
  layout.fractionEnd = layout.exponentAt >= 0 ? layout.exponentAt : size;
  if (layout.pointAt >= 0)
    layout.fractionDigits = static_cast<int>(
        std::count_if(tokens.begin() + layout.pointAt + 1, tokens.begin() + layout.fractionEnd, IsDigit));
  qsizetype lastDigit = -1;
  for (qsizetype i = 0; i < layout.integerEnd; ++i)
    if (IsDigit(tokens[i])) lastDigit = i;
  for (qsizetype i = 0; i < layout.integerEnd; ++i) {
    if (tokens[i].kind != Kind::Comma) continue;
    if (i > lastDigit && lastDigit >= 0)
      ++layout.scalingCommas;
    else if (lastDigit >= 0)
      layout.grouping = true;
  }
  return layout;
}

// Integer digits into the placeholders right to left; the leftmost placeholder takes every
// digit left over. Literals stay where they are written.
class IntegerFill {
 public:
  IntegerFill(QString digits, bool grouping) : digits_(std::move(digits)), grouping_(grouping) {}

  QString Run(const Tokens& tokens, qsizetype begin, qsizetype end) {
    qsizetype leftmost = -1;
    for (qsizetype i = begin; i < end; ++i)
      if (IsDigit(tokens[i]) && leftmost < 0) leftmost = i;
    for (qsizetype i = end - 1; i >= begin; --i) {
      const Token& token = tokens[i];
      if (IsDigit(token))
        Placeholder(token.letter, i == leftmost);
      else if (token.kind == Kind::Literal)
        Prepend(token.text);
      else if (token.kind == Kind::Percent)
        Prepend(QStringLiteral("%"));
    }
    return out_;
  }

 private:
  void Prepend(const QString& text) { out_.prepend(text); }

  void Digit(QChar digit) {
    if (grouping_ && emitted_ > 0 && emitted_ % 3 == 0) out_.prepend(u',');
    out_.prepend(digit);
    ++emitted_;
  }

  void Placeholder(QChar letter, bool leftmost) {
    const bool hadDigits = !digits_.isEmpty();
    do {
      if (!digits_.isEmpty()) {
        Digit(digits_.back());
        digits_.chop(1);
      }
    } while (leftmost && !digits_.isEmpty());
    if (hadDigits) return;
    if (letter == u'0') Digit(u'0');
    if (letter == u'?') out_.prepend(u' ');
  }

  QString digits_;
  bool grouping_;
  QString out_;
  int emitted_ = 0;
};

QString FillFraction(const Tokens& tokens, qsizetype begin, qsizetype end, const QString& digits) {
  QString out;
  int next = 0;
  for (qsizetype i = begin; i < end; ++i) {
    const Token& token = tokens[i];
    if (token.kind == Kind::Literal) out += token.text;
    if (token.kind == Kind::Percent) out += u'%';
    if (!IsDigit(token)) continue;
    const bool restIsZero = digits.mid(next).count(u'0') == digits.size() - next;
    const QChar digit = digits[next++];
    if (token.letter == u'0' || !restIsZero)
      out += digit;
    else if (token.letter == u'?')
      out += u' ';
  }
  return out;
}

// The exponent that leaves as many integer digits as the format has placeholders; with more
// than one and a "#", the exponent is a multiple of their number (engineering notation).
int ChooseExponent(const DecimalNumber& number, const Tokens& tokens, const NumberLayout& layout) {
  if (number.IsZero()) return 0;
  int placeholders = 0;
  bool optional = false;
  for (qsizetype i = 0; i < layout.integerEnd; ++i) {
    if (!IsDigit(tokens[i])) continue;
    ++placeholders;
    optional = optional || tokens[i].letter != u'0';
  }
  const int exponent = number.Exponent();
  if (placeholders > 1 && optional)
    return static_cast<int>(std::floor(static_cast<double>(exponent) / placeholders)) * placeholders;
  return exponent - std::max(placeholders, 1) + 1;
}

QString FormatExponent(const Tokens& tokens, qsizetype at, int exponent) {
  const QString sign =
      exponent < 0 ? QStringLiteral("-") : (tokens[at].letter == u'+' ? QStringLiteral("+") : QString());
  return u'E' + sign +
         IntegerFill(QString::number(std::abs(exponent)), false)
             .Run(tokens, at + 1, static_cast<qsizetype>(tokens.size()));
}

// The mantissa and exponent of a scientific section. A mantissa that rounds up into one more
// digit (9.996 as 10.00) is taken again from the rounded value.
DecimalNumber::Parts ScientificParts(const DecimalNumber& number, const Tokens& tokens,
                                     const NumberLayout& layout, int* exponent) {
  *exponent = ChooseExponent(number, tokens, layout);
  const DecimalNumber mantissa = number.Scaled(-*exponent);
  const DecimalNumber::Parts parts = mantissa.Rounded(layout.fractionDigits);
  if (mantissa.IsZero() || parts.integer.size() <= mantissa.Exponent() + 1) return parts;
  const DecimalNumber rounded = DecimalNumber(1).Scaled(mantissa.Exponent() + 1 + *exponent);
  *exponent = ChooseExponent(rounded, tokens, layout);
  return rounded.Scaled(-*exponent).Rounded(layout.fractionDigits);
}

QString FormatNumberSection(const Tokens& tokens, double magnitude) {
  const NumberLayout layout = LayOut(tokens);
  const DecimalNumber number =
      DecimalNumber(magnitude).Scaled(2 * layout.percents - 3 * layout.scalingCommas);
  int exponent = 0;
  const DecimalNumber::Parts parts = layout.exponentAt >= 0
                                         ? ScientificParts(number, tokens, layout, &exponent)
                                         : number.Rounded(layout.fractionDigits);
  QString text = IntegerFill(parts.integer, layout.grouping).Run(tokens, 0, layout.integerEnd);
  if (layout.pointAt >= 0)
    text += u'.' + FillFraction(tokens, layout.pointAt + 1, layout.fractionEnd, parts.fraction);
  if (layout.exponentAt >= 0) text += FormatExponent(tokens, layout.exponentAt, exponent);
  return text;
}

bool IsDigitLiteral(const Token& token) {
  return token.kind == Kind::Literal && token.text.size() == 1 && token.text[0].isDigit();
}

// Where the placeholders of a fraction section ("# ?/?", "?/16") lie.
struct FractionLayout {
  qsizetype numeratorAt = 0;
  qsizetype slashAt = 0;
  qsizetype denominatorEnd = 0;
  int denominatorPlaces = 0;  // ? or 0 placeholders of the denominator
  int fixedDenominator = 0;   // written digits instead ("/16")
  bool hasInteger = false;
};

bool FindFraction(const Tokens& tokens, FractionLayout* layout) {
  const auto size = static_cast<qsizetype>(tokens.size());
  for (qsizetype slash = 1; slash + 1 < size; ++slash) {
    if (tokens[slash].kind != Kind::Literal || tokens[slash].text != u"/" || !IsDigit(tokens[slash - 1]))
      continue;
    qsizetype end = slash + 1;
    QString fixed;
    for (; end < size && (IsDigit(tokens[end]) || IsDigitLiteral(tokens[end])); ++end) {
      if (IsDigit(tokens[end]))
        ++layout->denominatorPlaces;
      else
        fixed += tokens[end].text;
    }
    if (end == slash + 1) continue;
    layout->fixedDenominator = layout->denominatorPlaces == 0 ? fixed.left(4).toInt() : 0;
    layout->numeratorAt = slash;
    while (layout->numeratorAt > 0 && IsDigit(tokens[layout->numeratorAt - 1])) --layout->numeratorAt;
    layout->slashAt = slash;
    layout->denominatorEnd = end;
    layout->hasInteger = std::any_of(tokens.begin(), tokens.begin() + layout->numeratorAt, IsDigit);
    return layout->fixedDenominator > 0 || layout->denominatorPlaces > 0;
  }
  return false;
}

// The closest fraction with a denominator of at most `largest` (the smallest such
// denominator on a tie).
std::pair<int, int> NearestFraction(double fraction, int largest) {
  std::pair<int, int> best{0, 1};
  double bestError = fraction;
  for (int denominator = 1; denominator <= largest; ++denominator) {
    const auto numerator = static_cast<int>(std::llround(fraction * denominator));
    const double error = std::fabs(fraction - static_cast<double>(numerator) / denominator);
    if (error < bestError) {
      best = {numerator, denominator};
      bestError = error;
    }
  }
  return best;
}

QString FormatFractionSection(const Tokens& tokens, const FractionLayout& layout, double magnitude) {
  double whole = layout.hasInteger ? std::floor(magnitude) : 0;
  const int largest = layout.fixedDenominator > 0
                          ? layout.fixedDenominator
                          : static_cast<int>(std::pow(10, std::min(layout.denominatorPlaces, 3))) - 1;
  auto [numerator, denominator] =
      layout.fixedDenominator > 0
          ? std::pair<int, int>{static_cast<int>(std::llround((magnitude - whole) * layout.fixedDenominator)),
                                layout.fixedDenominator}
          : NearestFraction(magnitude - whole, largest);
  if (layout.hasInteger && numerator == denominator) {
    whole += 1;
    numerator = 0;
  }
  const DecimalNumber::Parts wholeDigits = DecimalNumber(whole).Rounded(0);
  QString text = IntegerFill(wholeDigits.integer, false).Run(tokens, 0, layout.numeratorAt);
  if (layout.hasInteger && numerator == 0 && whole > 0) {
    const qsizetype width = layout.denominatorEnd - layout.numeratorAt;
    return text + QString(width, u' ');
  }
  text += IntegerFill(QString::number(numerator), false).Run(tokens, layout.numeratorAt, layout.slashAt);
  text += u'/' + QString::number(denominator);
  const qsizetype places = layout.denominatorPlaces;
  if (layout.fixedDenominator == 0 && QString::number(denominator).size() < places)
    text += QString(places - QString::number(denominator).size(), u' ');
  for (qsizetype i = layout.denominatorEnd; i < static_cast<qsizetype>(tokens.size()); ++i)
    if (tokens[i].kind == Kind::Literal) text += tokens[i].text;
  return text;
}

// A section naming General shows the General text where the word stands.
QString FormatGeneralSection(const Tokens& tokens, double magnitude) {
  QString text;
  for (const Token& token : tokens) {
    if (token.kind == Kind::General) text += GeneralNumberText(magnitude);
    if (token.kind == Kind::Literal) text += token.text;
  }
  return text;
}

bool HasKind(const Tokens& tokens, Kind kind) {
  return std::any_of(tokens.begin(), tokens.end(), [kind](const Token& t) { return t.kind == kind; });
}

bool HasNumberPart(const Tokens& tokens) {
  return HasKind(tokens, Kind::Digit) || HasKind(tokens, Kind::Point);
}

// Which section shows the value and whether a minus sign goes in front of it.
const NumberFormatSection* ChooseSection(const std::vector<NumberFormatSection>& sections, double value,
                                         bool* minus) {
  *minus = false;
  const auto count = sections.size();
  if (sections[0].hasCondition || (count > 1 && sections[1].hasCondition)) {
    if (sections[0].ConditionHolds(value)) return &sections[0];
    if (count > 1 && (!sections[1].hasCondition || sections[1].ConditionHolds(value))) return &sections[1];
    *minus = value < 0;
    return count > 2 ? &sections[2] : nullptr;
  }
  if (value < 0 && count > 1) return &sections[1];
  if (value == 0 && count > 2) return &sections[2];
  *minus = value < 0;
  return &sections[0];
}

QString FormatSection(const NumberFormatSection& section, double value, bool date1904) {
  const Tokens& tokens = section.tokens;
  if (tokens.empty()) return {};
  if (section.isDate) return FormatSerialDateTime(tokens, value, date1904);
  if (HasKind(tokens, Kind::General)) return FormatGeneralSection(tokens, std::fabs(value));
  if (!HasNumberPart(tokens)) {
    QString text;
    for (const Token& token : tokens)
      if (token.kind == Kind::Literal) text += token.text;
    return section.hasText ? GeneralNumberText(value) : text;
  }
  FractionLayout fraction;
  if (FindFraction(tokens, &fraction)) return FormatFractionSection(tokens, fraction, std::fabs(value));
  return FormatNumberSection(tokens, std::fabs(value));
}

bool IsGeneral(const QString& formatCode) {
  return formatCode.isEmpty() || formatCode.compare(u"General", Qt::CaseInsensitive) == 0;
}

const std::map<int, QString>& BuiltInFormats() {
  static const std::map<int, QString> formats = {
      {0, QStringLiteral("General")},
      {1, QStringLiteral("0")},
      {2, QStringLiteral("0.00")},
      {3, QStringLiteral("#,##0")},
      {4, QStringLiteral("#,##0.00")},
      {5, QStringLiteral("\"$\"#,##0_);(\"$\"#,##0)")},
      {6, QStringLiteral("\"$\"#,##0_);[Red](\"$\"#,##0)")},
      {7, QStringLiteral("\"$\"#,##0.00_);(\"$\"#,##0.00)")},
      {8, QStringLiteral("\"$\"#,##0.00_);[Red](\"$\"#,##0.00)")},
      {9, QStringLiteral("0%")},
      {10, QStringLiteral("0.00%")},
      {11, QStringLiteral("0.00E+00")},
      {12, QStringLiteral("# ?/?")},
      {13, QStringLiteral("# ?\?/?\?")},
      {14, QStringLiteral("m/d/yyyy")},
      {15, QStringLiteral("d-mmm-yy")},
      {16, QStringLiteral("d-mmm")},
      {17, QStringLiteral("mmm-yy")},
      {18, QStringLiteral("h:mm AM/PM")},
      {19, QStringLiteral("h:mm:ss AM/PM")},
      {20, QStringLiteral("h:mm")},
      {21, QStringLiteral("h:mm:ss")},
      {22, QStringLiteral("m/d/yyyy h:mm")},
      {37, QStringLiteral("#,##0 ;(#,##0)")},
      {38, QStringLiteral("#,##0 ;[Red](#,##0)")},
      {39, QStringLiteral("#,##0.00;(#,##0.00)")},
      {40, QStringLiteral("#,##0.00;[Red](#,##0.00)")},
      {45, QStringLiteral("mm:ss")},
      {46, QStringLiteral("[h]:mm:ss")},
      {47, QStringLiteral("mm:ss.0")},
      {48, QStringLiteral("##0.0E+0")},
      {49, QStringLiteral("@")},
  };
  return formats;
}

}  // namespace

QString FormatCellNumber(double value, const QString& formatCode, bool date1904) {
  if (IsGeneral(formatCode) || !std::isfinite(value)) return GeneralNumberText(value);
  const std::vector<NumberFormatSection> sections = ParseNumberFormat(formatCode);
  bool minus = false;
  const NumberFormatSection* section = ChooseSection(sections, value, &minus);
  if (section == nullptr) return GeneralNumberText(value);
  const QString text = FormatSection(*section, value, date1904);
  return minus && !section->isDate ? u'-' + text : text;
}

QString FormatCellText(const QString& text, const QString& formatCode) {
  if (IsGeneral(formatCode)) return text;
  const std::vector<NumberFormatSection> sections = ParseNumberFormat(formatCode);
  const NumberFormatSection* section = sections.size() >= 4 ? &sections[3] : nullptr;
  if (section == nullptr && sections.size() == 1 && sections[0].hasText) section = &sections[0];
  if (section == nullptr) return text;
  QString shown;
  for (const Token& token : section->tokens) {
    if (token.kind == Kind::TextMark) shown += text;
    if (token.kind == Kind::Literal) shown += token.text;
  }
  return shown;
}

QString BuiltInNumberFormat(int id) {
  const auto found = BuiltInFormats().find(id);
  return found == BuiltInFormats().end() ? QStringLiteral("General") : found->second;
}

}  // namespace platform
