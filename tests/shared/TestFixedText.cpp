#include "shared/FixedText.h"

#include <gtest/gtest.h>

#include <array>

TEST(FixedText, ShortTextIsZeroFilledToTheFieldEnd) {
  std::array<char, 8> field;
  field.fill('x');
  fixedtext::Write(field.data(), 8, "abc");
  EXPECT_EQ(QByteArray(field.data(), 8), QByteArray("abc\0\0\0\0\0", 8));
  EXPECT_EQ(fixedtext::Read(field.data(), 8), "abc");
}

TEST(FixedText, LongTextIsCutAtACharacterBoundaryAndKeepsItsZero) {
  struct Case {
    QByteArray text;
    int width;
    QByteArray kept;
  };
  const Case cases[] = {
      {"abcdefgh", 8, "abcdefg"},
      {"abcdef\xC3\xA9", 8, "abcdef"},          // é would need bytes 6 and 7, leaving no zero
      {"abcde\xE2\x82\xAC" "z", 8, "abcde"},    // € cut in its middle
      {"ab\xF0\x9F\x98\x80", 6, "ab"},          // four-byte character
      {"ab\xC3\xA9", 5, "ab\xC3\xA9"},          // fits exactly with its zero
  };
  for (const Case& c : cases) {
    std::array<char, 16> field;
    field.fill('x');
    fixedtext::Write(field.data(), c.width, c.text);
    EXPECT_EQ(fixedtext::Read(field.data(), c.width), c.kept) << c.text.toStdString();
    EXPECT_EQ(field[static_cast<size_t>(c.width - 1)], '\0');
    EXPECT_EQ(field[static_cast<size_t>(c.width)], 'x') << "wrote past the field";
  }
}

TEST(FixedText, ReadStopsAtTheFieldWidthWithoutAZero) {
  const char field[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(fixedtext::Read(field, 4), "abcd");
}
