#pragma once

#include <QString>

namespace platform {

// A non-negative number as the 15 significant decimal digits a spreadsheet keeps, rounded on
// those digits (half away from zero), so 2.675 shows as 2.68 and never as 2.67.
class DecimalNumber {
 public:
  explicit DecimalNumber(double magnitude);

  bool IsZero() const { return digits_.isEmpty(); }
  // The power of ten of the first significant digit (12.5: 1).
  int Exponent() const { return pointPosition_ - 1; }
  // The number times 10^power, exactly.
  DecimalNumber Scaled(int power) const;

  // Rounded to `decimals` places: the integer digits without leading zeros (empty for zero)
  // and exactly `decimals` fraction digits.
  struct Parts {
    QString integer;
    QString fraction;
  };
  Parts Rounded(int decimals) const;

 private:
  DecimalNumber() = default;

  QString digits_;         // significant digits, no leading or trailing zeros
  int pointPosition_ = 0;  // digits before the decimal point
};

// A number under the General format: at most 11 characters besides the sign, scientific with
// five decimals ("1.23457E+11") when it does not fit.
QString GeneralNumberText(double value);

}  // namespace platform
