#pragma once

#include <QString>

namespace platform {

// The text a cell shows under its number format code, in one convention whatever the locale:
// month/day/year, "." as decimal point, "," between thousands, English month and day names.
// Supported: General, digit placeholders (0 # ?), decimals, thousands and scaling commas, fractions,
// percent, scientific, literal and escaped text, sections with conditions, dates and times
// (with elapsed [h]:mm:ss and AM/PM), "@". Serial dates count from 1900, or 1904 when the
// workbook says so; a date before the first serial or after year 9999 shows as a number.
QString FormatCellNumber(double value, const QString& formatCode, bool date1904);
QString FormatCellText(const QString& text, const QString& formatCode);

// The code of a built-in number format id; General for ids that have none.
QString BuiltInNumberFormat(int id);

}  // namespace platform
