#include "shared/crypto/Base64.h"

#include <gtest/gtest.h>

#include <random>

// RFC 4648, section 10.
TEST(Base64, MatchesTheRfcVectors) {
  const struct {
    QByteArray data;
    QByteArray text;
  } cases[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
               {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(Base64Encode(c.data), c.text);
    EXPECT_EQ(Base64EncodedLength(c.data.size()), c.text.size());
    EXPECT_EQ(Base64Decode(c.text), c.data);
    EXPECT_EQ(Base64DecodedLength(c.text), c.data.size());
  }
  const CBase64 coder;
  EXPECT_EQ(coder.Base64Encode("fooba"), "Zm9vYmE=");
  EXPECT_EQ(coder.Base64Decode("Zm9vYmE="), "fooba");
}

TEST(Base64, GroupsWriteOnlyWhatTheirCountAllows) {
  const uint8_t in[3] = {'f', 'o', 'o'};
  char out[5] = "....";
  Base64EncodeGroup(in, 0, out);
  Base64EncodeGroup(in, 4, out);
  EXPECT_STREQ(out, "....");
  Base64EncodeGroup(in, 1, out);
  EXPECT_STREQ(out, "Zg==");

  uint8_t bytes[4] = {0, 0, 0, 0xA5};
  EXPECT_EQ(Base64DecodeGroup("Zm9v", bytes), 3);
  EXPECT_EQ(Base64DecodeGroup("Zm8=", bytes), 2);
  EXPECT_EQ(Base64DecodeGroup("Zg==", bytes), 1);
  EXPECT_EQ(bytes[3], 0xA5);
}

TEST(Base64, IgnoresLineBreaksEvery76Characters) {
  std::mt19937 random(76);
  QByteArray data(1000, '\0');
  for (char& c : data) c = static_cast<char>(random());
  const QByteArray text = Base64Encode(data);
  QByteArray wrapped;
  for (qsizetype i = 0; i < text.size(); i += 76) wrapped += text.mid(i, 76) + "\r\n";

  EXPECT_EQ(Base64Decode(wrapped), data);
  EXPECT_GE(Base64DecodedLength(wrapped), data.size());
}

// Texts no peer of ours makes: the whole groups before the first bad one are decoded and nothing
// else; the output is never longer than its whole groups (the sanitizer build watches the reads).
TEST(Base64, MalformedTextDecodesItsWholeGroupsAndStops) {
  const struct {
    QByteArray text;
    QByteArray data;
  } cases[] = {
      {"Z", ""},                  // fewer than four characters
      {"Zm9", ""},
      {"Zm9vYmE", "foo"},         // a trailing part of a group
      {"Zm9vYg=", "foo"},
      {"=m9v", ""},               // "=" in the first two places
      {"Z=9v", ""},
      {"====", ""},
      {"Zm=v", ""},               // "=" before a character that is not one
      {"Zm9v=Zm9vYmFy", "foo"},   // a group broken up by a misplaced "="
      {"Zg==Zm8=", "ffo"},        // padded groups in sequence
      {QByteArray("Zm9v\0Ym Fy", 10), "foobar"},  // characters outside the alphabet are passed over
      {"\xff\x80{}", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toHex().toStdString());
    EXPECT_EQ(Base64Decode(c.text), c.data);
  }
}

TEST(Base64, DecodedLengthIsNeverNegative) {
  for (const char* text : {"", "=", "==", "A=", "==="}) {
    EXPECT_EQ(Base64DecodedLength(text), 0) << text;
  }
}
