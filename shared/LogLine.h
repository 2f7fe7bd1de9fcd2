#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

// The line format and day folders shared by the programs' logs: UTF-16LE text files that begin
// with a byte-order mark, one line per event, "<hh:mm:ss> <code> text\r\n".
namespace logline {

// FF FE: U+FEFF as one little-endian unit.
QByteArray ByteOrderMark();

// One line as UTF-16LE bytes. A clock part that could not be read is -1 and prints as "-01".
QByteArray Format(int hour, int minute, int second, int code, const QString& text);

// The line stamped with the current local time.
QByteArray FormatNow(int code, const QString& text);

// "%d-%d-%d": day, month and four-digit year without leading zeros (9-12-2026).
QString DayFolderName(const QDate& date);

}  // namespace logline
