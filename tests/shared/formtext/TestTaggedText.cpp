#include "shared/formtext/TaggedText.h"

#include <gtest/gtest.h>

#include <climits>

TEST(TaggedText, FindTagNeverLooksPastItsLimit) {
  const QString text = QStringLiteral("<A>12</A>");
  EXPECT_EQ(taggedtext::FindTag(text, 0, 6, u"A").status, taggedtext::TagStatus::Unclosed);
  EXPECT_EQ(taggedtext::FindTag(text, 0, 2, u"A").status, taggedtext::TagStatus::Absent);
  EXPECT_EQ(taggedtext::FindTag(text, 4, text.size(), u"A").status, taggedtext::TagStatus::Absent);
  const taggedtext::TagMatch match = taggedtext::FindTag(text, 0, 100, u"A");
  EXPECT_EQ(match.status, taggedtext::TagStatus::Found);
  EXPECT_EQ(text.mid(match.valueStart, match.valueEnd - match.valueStart), QStringLiteral("12"));
}

TEST(TaggedText, NumbersFollowTheCLibraryRule) {
  struct Case {
    const char* text;
    int value;
  };
  const Case cases[] = {
      {"42", 42},           {"  -7", -7},        {"+3", 3},
      {"12abc", 12},        {"", 0},             {"abc", 0},
      {"\t\n 5", 5},        {"- 5", 0},          {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
  };
  for (const Case& c : cases)
    EXPECT_EQ(taggedtext::ToInt(QString::fromLatin1(c.text)), c.value) << c.text;
}
