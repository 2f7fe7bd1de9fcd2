#pragma once

#include <QString>
#include <QStringView>

// Checks of the values an administrator types for parameters, default values and list items,
// against the SQL type name of their column ("SQL_INTEGER", "SQL_VARCHAR", ...).

// True when every character is a decimal digit, the first possibly "-"; the empty text passes.
bool IsIntegerText(QStringView text);
// True for an integer text with at most one "." in it. A text that is not empty must hold a
// digit: "-", "." and "-." are no numbers. The empty text passes where the caller allows it.
bool IsDecimalText(QStringView text);

// 0 for the numeric type names and "SQL_BIT" (any case), whose columns need a value; 1 for any
// other name.
int GetSqlTypeCategory(QStringView typeName);

// True when the text is a date and time "YYYY-MM-DD HH:MM:SS": a year of 4 digits, the other
// parts of 1 or 2 digits within their ranges (the day is not compared with the month's length).
// The type name is that of a date, time or timestamp column; all three take the same form.
bool IsDateTimeText(QStringView typeName, QStringView text);

// What ValidateDefaultValue answers.
enum DefaultValueCheck {
  kValueValid = 0,
  kValueNotNumeric = 1,
  kValueNotBit = 2,
  kValueNotDateTime = 3,
};

// The check of a typed value by its column's exact type name: numbers for numeric and bit
// columns, a date and time for date and time columns, anything for other columns.
int ValidateDefaultValue(QStringView typeName, QStringView text);

// The refusal of a default value of the column for a ValidateDefaultValue answer other than
// kValueValid.
QString DefaultValueMessage(int check, const QString& columnName);
