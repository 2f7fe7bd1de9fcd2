#include "shared/LogLine.h"

#include <gtest/gtest.h>

#include <QDate>

namespace {

// ASCII text as UTF-16LE bytes.
QByteArray Utf16(const char* text) {
  QByteArray bytes;
  for (const char* p = text; *p != '\0'; ++p) bytes.append(*p).append('\0');
  return bytes;
}

}  // namespace

TEST(LogLine, TheLineHasTwoDigitTimeAndAnUnpaddedCode) {
  EXPECT_EQ(logline::Format(7, 5, 9, -1, QStringLiteral("Start")), Utf16("<07:05:09> <-1> Start\r\n"));
  EXPECT_EQ(logline::Format(23, 59, 0, 1234, QStringLiteral("x")), Utf16("<23:59:00> <1234> x\r\n"));
  EXPECT_EQ(logline::Format(-1, -1, -1, 3, QString()), Utf16("<-01:-01:-01> <3> \r\n"));
  EXPECT_EQ(logline::Format(0, 0, 0, 0, QStringLiteral("\u20ac")), Utf16("<00:00:00> <0> ").append("\xAC\x20\r\0\n\0", 6));
}

TEST(LogLine, DayFolderHasNoLeadingZeros) {
  EXPECT_EQ(logline::DayFolderName(QDate(2026, 12, 9)), QStringLiteral("9-12-2026"));
  EXPECT_EQ(logline::DayFolderName(QDate(2027, 1, 31)), QStringLiteral("31-1-2027"));
}
