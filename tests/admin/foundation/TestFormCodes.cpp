#include "admin/foundation/FormCodes.h"
#include "admin/foundation/FormPropertyIds.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct TextCase {
  const char* table;
  std::function<int(const QString&)> code;
  std::function<QString(int)> text;  // empty for a table without the reverse
  std::vector<const char*> texts;    // in code order
  int first;
};

}  // namespace

// Each table both ways; an unknown text (case counts) gives the default code, an unknown code
// an empty text.
TEST(FormCodes, CodeTablesBothWays) {
  const TextCase cases[] = {
      {"source type", GetSourceTypeCode, GetSourceTypeText, {"Valued List", "Another Profile"}, 1},
      {"alignment", GetAlignCode, GetAlignmentText, {"Left", "Center", "Right"}, 0},
      {"font style", GetFontStyleCode, nullptr, {"Regular", "Italic", "Bold", "Bold Italic"}, 0},
      {"font face", GetFontFaceCode, GetFontNameText,
       {"Verdana", "Times New Roman", "Tahoma", "Arial", "Century", "Microsoft Sans Serif"}, 0},
      {"date format", GetDateFormatCode, GetDateFormatText, {"Date", "Time", "Date & Time"}, 1},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.table);
    for (size_t i = 0; i < c.texts.size(); ++i) {
      const int code = c.first + static_cast<int>(i);
      const QString text = QString::fromLatin1(c.texts[i]);
      EXPECT_EQ(c.code(text), code) << c.texts[i];
      if (c.text) {
        EXPECT_EQ(c.text(code), text) << code;
      }
    }
    EXPECT_EQ(c.code(QString::fromLatin1(c.texts[1]).toLower()), 0);
    EXPECT_EQ(c.code(QStringLiteral("Other")), 0);
    EXPECT_EQ(c.code(QString()), 0);
    if (!c.text) continue;
    EXPECT_EQ(c.text(c.first - 1), QString());
    EXPECT_EQ(c.text(c.first + static_cast<int>(c.texts.size())), QString());
  }
}

TEST(FormCodes, PropertyIdsAndLabels) {
  EXPECT_EQ(GetPropertyId(QStringLiteral("Caption")), kPropCaption);
  EXPECT_EQ(GetPropertyId(QStringLiteral("caption")), -1);
  EXPECT_EQ(GetPropertyId(QStringLiteral("Is Data Column")), kPropIsDataColumn);
  EXPECT_EQ(GetPropertyId(QStringLiteral("Font Name")), 31);
  EXPECT_EQ(GetPropertyId(QString()), -1);
  for (int id = 1; id <= 31; ++id) EXPECT_EQ(GetPropertyId(GetPropertyName(id)), id) << id;
  EXPECT_EQ(GetPropertyName(kPropFormSelection), QStringLiteral("Form Selection"));
  EXPECT_EQ(GetPropertyName(0), QStringLiteral("Other"));
  EXPECT_EQ(GetPropertyName(32), QStringLiteral("Other"));
}

TEST(FormCodes, CurrentDateTimeTextsOnATwelveHourClock) {
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
  for (const Case& c : cases) {
    SetDateTimeClock([&] { return QDateTime(date, c.time); });
    EXPECT_EQ(GetCurrentDateTimeText(c.format), QString::fromLatin1(c.text))
        << c.format << " " << c.time.toString().toStdString();
  }
  SetDateTimeClock(nullptr);
  EXPECT_EQ(GetCurrentDateTimeText(1).size(), 10) << "the system's clock again";
}

TEST(FormCodes, RgbText) {
  EXPECT_EQ(FormatRgbText(210, 0, 255), QStringLiteral("<R:210><G:0><B:255>"));
}
