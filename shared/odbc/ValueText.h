#pragma once

#include <sql.h>

#include <QString>

#include <cstdint>

// Display texts of fetched values, always in the "C" locale, as both programs show and digest them.

// The text of a value of column kind `code` that a fetch left in `buffer`: `length` is what the
// driver reported (SQL_NULL_DATA or below 1 give an empty text). A text longer than the buffer
// is taken up to what the buffer holds; a fixed-size value needs the whole of it in the buffer.
QString FormatFieldValue(const char* buffer, qsizetype capacity, SQLLEN length, int16_t code);

// "%d/%d/%d" (month, day, year) for midnight, else with a 12-hour time; a time alone for the
// date 1899-12-30 or an all-zero date; empty for 1899-12-30 00:00:00.
QString FormatTimestampText(int year, int month, int day, int hour, int minute, int second);

// A driver's decimal text with trailing fraction zeros dropped and ".0" kept for a whole value
// ("12.500" 12.5, "12" 12.0); a text that is not a plain decimal stays as it is.
QString NormaliseDecimalText(const QString& text);

// A REAL or FLOAT value: "%.1f" for a whole value, else "%f" without trailing zeros and never
// ending in "."; doubles from 100,000,000 up (and values that are no number) as "%e".
QString FormatFloatText(double value);
QString FormatDoubleText(double value);
