#include "admin/foundation/FormCodes.h"

#include <gtest/gtest.h>

TEST(FormCodes, AlignmentAndFaceNames) {
  EXPECT_EQ(GetAlignText(0), QStringLiteral("Left"));
  EXPECT_EQ(GetAlignText(1), QStringLiteral("Center"));
  EXPECT_EQ(GetAlignText(2), QStringLiteral("Right"));
  EXPECT_EQ(GetAlignText(3), QString());
  EXPECT_EQ(GetAlignText(-1), QString());
  const char* faces[] = {"Verdana", "Times New Roman", "Tahoma", "Arial", "Century", "Microsoft Sans Serif"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(GetFontFaceName(i), QString::fromLatin1(faces[i]));
  EXPECT_EQ(GetFontFaceName(6), QString());
  EXPECT_EQ(GetFontFaceName(-1), QString());
}

TEST(FormCodes, DateTimeTextsOnATwelveHourClock) {
  struct Case {
    int format;
    QTime time;
    const char* text;
  };
  const QDate date(2026, 12, 9);
  const Case cases[] = {
      {1, QTime(0, 5, 0), "12/09/2026"},
      {2, QTime(0, 5, 7), "00:05:07 AM"},
      {2, QTime(11, 59, 59), "11:59:59 AM"},
      {2, QTime(12, 5, 0), "12:05:00 PM"},
      {2, QTime(13, 0, 1), "01:00:01 PM"},
      {2, QTime(23, 59, 0), "11:59:00 PM"},
      {3, QTime(13, 0, 1), "12/09/2026 01:00:01 PM"},
      {0, QTime(13, 0, 1), ""},
      {4, QTime(13, 0, 1), ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatDateTimeText(c.format, QDateTime(date, c.time)), QString::fromLatin1(c.text))
        << c.format << " " << c.time.toString().toStdString();
}

TEST(FormCodes, RgbText) {
  EXPECT_EQ(FormatRgbText(210, 0, 255), QStringLiteral("<R:210><G:0><B:255>"));
}
