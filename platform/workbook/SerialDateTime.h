#pragma once

#include "platform/workbook/NumberFormatTokens.h"

#include <QDate>
#include <QString>

#include <vector>

namespace platform {

// A date-and-time section shows a serial number: days since 1900-01-00 (with the fictitious
// 1900-02-29, serial 60) or since 1904-01-01, the fraction as time of day. A serial outside
// 0 to 9999-12-31 shows as a General number.
QString FormatSerialDateTime(const std::vector<NumberFormatToken>& tokens, double serial, bool date1904);

// The 1900-system serial of a day (from 1900-03-01 on) plus seconds into it.
double SerialOfDateTime(const QDate& date, int secondsOfDay);

}  // namespace platform
