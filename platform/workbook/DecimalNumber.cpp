#include "platform/workbook/DecimalNumber.h"

#include <cmath>

namespace platform {
namespace {

constexpr int kSignificantDigits = 15;
constexpr int kGeneralWidth = 11;

// Drops trailing zeros of a fraction and then a lone decimal point.
QString StripFraction(const QString& integer, QString fraction) {
  while (fraction.endsWith(u'0')) fraction.chop(1);
  const QString whole = integer.isEmpty() ? QStringLiteral("0") : integer;
  return fraction.isEmpty() ? whole : whole + u'.' + fraction;
}

QString ScientificText(const DecimalNumber& number) {
  int exponent = number.Exponent();
  DecimalNumber::Parts mantissa = number.Scaled(-exponent).Rounded(5);
  if (mantissa.integer.size() > 1) {  // 9.999996 rounds to 10.00000
    ++exponent;
    mantissa = number.Scaled(-exponent).Rounded(5);
  }
  const QString sign = exponent < 0 ? QStringLiteral("-") : QStringLiteral("+");
  return StripFraction(mantissa.integer, mantissa.fraction) + u'E' + sign +
         QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QChar(u'0'));
}

QString FixedText(const DecimalNumber& number, int decimals) {
  const DecimalNumber::Parts parts = number.Rounded(decimals);
  return StripFraction(parts.integer, parts.fraction);
}

QString GeneralMagnitudeText(const DecimalNumber& number) {
  const int exponent = number.Exponent();
  if (exponent >= kGeneralWidth || exponent <= -10) return ScientificText(number);
  if (exponent <= -5) {
    const QString fixed = FixedText(number, 12);
    return fixed.size() <= kGeneralWidth ? fixed : ScientificText(number);
  }
  const int integerDigits = std::max(exponent + 1, 1);
  const QString fixed = FixedText(number, std::max(0, kGeneralWidth - 1 - integerDigits));
  return fixed.size() <= kGeneralWidth ? fixed : ScientificText(number);
}

}  // namespace

DecimalNumber::DecimalNumber(double magnitude) {
  if (!(magnitude > 0) || !std::isfinite(magnitude)) return;
  // "d.dddddddddddddde±x": the first digit, 14 more, the power of ten.
  const QString text = QString::number(magnitude, 'e', kSignificantDigits - 1);
  const qsizetype e = text.indexOf(u'e');
  digits_ = text.left(1) + text.mid(2, e - 2);
  pointPosition_ = text.mid(e + 1).toInt() + 1;
  while (digits_.endsWith(u'0')) digits_.chop(1);
}

DecimalNumber DecimalNumber::Scaled(int power) const {
  DecimalNumber scaled = *this;
  if (!IsZero()) scaled.pointPosition_ += power;
  return scaled;
}

DecimalNumber::Parts DecimalNumber::Rounded(int decimals) const {
  const int keep = pointPosition_ + decimals;
  if (IsZero() || keep < 0) return {QString(), QString(decimals, u'0')};
  QString kept = digits_.left(keep);
  int point = pointPosition_;
  if (keep < digits_.size() && digits_[keep] >= u'5') {
    qsizetype at = kept.size() - 1;
    for (; at >= 0 && kept[at] == u'9'; --at) kept[at] = u'0';
    if (at >= 0) {
      kept[at] = QChar(kept[at].unicode() + 1);
    } else {
      kept.prepend(u'1');
      ++point;
    }
  }
  // Put the kept digits on a grid from the first integer position to the last decimal.
  const int leadingZeros = std::max(0, -point);
  QString grid = QString(leadingZeros, u'0') + kept;
  const int integerLength = std::max(point, 0);
  grid = grid.leftJustified(integerLength + decimals, u'0');
  Parts parts{grid.left(integerLength), grid.mid(integerLength, decimals)};
  while (parts.integer.startsWith(u'0')) parts.integer.remove(0, 1);
  return parts;
}

QString GeneralNumberText(double value) {
  if (std::isnan(value) || std::isinf(value)) return QStringLiteral("#NUM!");
  const DecimalNumber number(std::fabs(value));
  if (number.IsZero()) return QStringLiteral("0");
  const QString magnitude = GeneralMagnitudeText(number);
  return value < 0 && magnitude != u"0" ? u'-' + magnitude : magnitude;
}

}  // namespace platform
