#include "platform/workbook/CellReference.h"
#include "platform/workbook/NumberFormat.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace platform;

namespace {

struct FormatCase {
  double value;
  const char* format;
  const char* shown;
};

TEST(NumberFormat, ShowsNumbersAsTheSpreadsheetDoes) {
  const FormatCase cases[] = {
      {0, "General", "0"},
      {1.0 / 3, "General", "0.333333333"},
      {-2.0 / 3, "General", "-0.666666667"},
      {0.1 + 0.2, "General", "0.3"},
      {12345678901, "General", "12345678901"},
      {123456789012, "General", "1.23457E+11"},
      {0.00001234, "General", "0.00001234"},
      {1.0 / 300000, "General", "3.33333E-06"},
      {1e-10, "General", "1E-10"},
      {2.675, "0.00", "2.68"},
      {-1234.5, "0.00", "-1234.50"},
      {0.5, "#.##", ".5"},
      {1234567.891, "#,##0.00", "1,234,567.89"},
      {0, "#,##0", "0"},
      {999.5, "#,##0", "1,000"},
      {5, "0,000", "0,005"},
      {1234567, "#,##0,", "1,235"},
      {0.256, "0%", "26%"},
      {0.12345, "0.00%", "12.35%"},
      {12345.678, "0.00E+00", "1.23E+04"},
      {0.000123, "0.00E+00", "1.23E-04"},
      {9.999, "0.00E+00", "1.00E+01"},
      {12345, "##0.0E+0", "12.3E+3"},
      {42, "00000", "00042"},
      {5551234567, "(000) 000-0000", "(555) 123-4567"},
      {-5, "0;(0)", "(5)"},
      {0, "0;(0);\"zero\"", "zero"},
      {1234.5, "\"$\"#,##0.00", "$1,234.50"},
      {1234.5, "[$€-407]#,##0.00", "€1,234.50"},
      {-3, "[Red]0.0;[Blue]-0.0", "-3.0"},
      {150, "[>100]\"big\";[<=100]\"small\"", "big"},
      {7, "0_);(0)", "7 "},
      {7.5, "@", "7.5"},
      {45, "0.0 \"kg\"", "45.0 kg"},
      {1.5, "# ?/?", "1 1/2"},
      {0.75, "# ?/?", " 3/4"},
      {3, "# ?/?", "3    "},
      {0.333, "# ?\?/?\?", "  1/3 "},
      {2.3125, "# ?/16", "2 5/16"},
  };
  for (const FormatCase& c : cases)
    EXPECT_EQ(FormatCellNumber(c.value, QString::fromUtf8(c.format), false), QString::fromUtf8(c.shown))
        << c.value << " in " << c.format;
}

TEST(NumberFormat, ShowsDatesAndTimesInBothDateSystems) {
  struct DateCase {
    double serial;
    const char* format;
    bool date1904;
    const char* shown;
  };
  const DateCase cases[] = {
      {45306, "m/d/yyyy", false, "1/15/2024"},
      {43830, "m/d/yyyy", true, "1/1/2024"},
      {60, "m/d/yyyy", false, "2/29/1900"},
      {61, "mm/dd/yy", false, "03/01/00"},
      {1, "m/d/yyyy", false, "1/1/1900"},
      {0, "m/d/yyyy", true, "1/1/1904"},
      {45306, "d-mmm-yy", false, "15-Jan-24"},
      {45306, "dddd, mmmm d, yyyy", false, "Monday, January 15, 2024"},
      {45306.75, "m/d/yyyy h:mm", false, "1/15/2024 18:00"},
      {0.75, "h:mm AM/PM", false, "6:00 PM"},
      {0.0, "h:mm:ss AM/PM", false, "12:00:00 AM"},
      {0.5 + 1.0 / 86400 * 0.4, "hh:mm:ss", false, "12:00:00"},
      {0.5 + 1.0 / 86400 * 0.6, "hh:mm:ss", false, "12:00:01"},
      {1.5, "[h]:mm:ss", false, "36:00:00"},
      {0.000011574, "mm:ss.0", false, "00:01.0"},
      {45306.5, "yyyy-mm-dd hh:mm:ss", false, "2024-01-15 12:00:00"},
      {-1, "m/d/yyyy", false, "-1"},
  };
  for (const DateCase& c : cases)
    EXPECT_EQ(FormatCellNumber(c.serial, QString::fromUtf8(c.format), c.date1904), QString::fromUtf8(c.shown))
        << c.serial << " in " << c.format;
}

TEST(NumberFormat, TextKeepsItsValueOrTakesTheTextSection) {
  EXPECT_EQ(FormatCellText(QStringLiteral("abc"), QStringLiteral("0.00")), QStringLiteral("abc"));
  EXPECT_EQ(FormatCellText(QStringLiteral("abc"), QStringLiteral("@")), QStringLiteral("abc"));
  EXPECT_EQ(FormatCellText(QStringLiteral("abc"), QStringLiteral("0;0;0;\"<\"@\">\"")),
            QStringLiteral("<abc>"));
}

TEST(NumberFormat, IgnoresTheProcessLocale) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(FormatCellNumber(1234.5, QStringLiteral("#,##0.00"), false), QStringLiteral("1,234.50"));
  EXPECT_EQ(FormatCellNumber(0.25, QStringLiteral("General"), false), QStringLiteral("0.25"));
  QLocale::setDefault(before);
}

TEST(CellReference, NamesEveryColumnOfASheet) {
  const std::pair<int32_t, const char*> columns[] = {{0, "A"},    {25, "Z"},    {26, "AA"},
                                                     {701, "ZZ"}, {702, "AAA"}, {16383, "XFD"}};
  for (const auto& [column, letters] : columns) {
    EXPECT_EQ(ColumnLetters(column), QString::fromLatin1(letters));
    int32_t row = -1;
    int32_t parsed = -1;
    ASSERT_TRUE(ParseCellReference(ColumnLetters(column) + QStringLiteral("7"), &row, &parsed));
    EXPECT_EQ(parsed, column);
    EXPECT_EQ(row, 6);
  }
}

TEST(CellReference, RefusesReferencesBeyondTheSheet) {
  int32_t row = 0;
  int32_t column = 0;
  EXPECT_TRUE(ParseCellReference(u"$XFD$1048576", &row, &column));
  for (const char16_t* bad :
       {u"XFE1", u"A1048577", u"A0", u"1A", u"A", u"", u"A1B", u"AAAAAAAAAAAAAAAAAAAAAA1"})
    EXPECT_FALSE(ParseCellReference(bad, &row, &column)) << QString::fromUtf16(bad).toStdString();
}

}  // namespace
