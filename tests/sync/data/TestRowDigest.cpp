#include "sync/data/RowDigest.h"

#include <gtest/gtest.h>

#include <openssl/sha.h>

#include <QRegularExpression>

namespace {

QString OpenSslHexOfBytes(const QByteArray& bytes) {
  uint8_t digest[SHA512_DIGEST_LENGTH];
  SHA512(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()),
         digest);
  return QString::fromLatin1(
      QByteArray(reinterpret_cast<const char*>(digest), SHA512_DIGEST_LENGTH).toHex());
}

}  // namespace

TEST(RowDigest, TextIsHashedAsUtf16LittleEndianUnits) {
  struct Case {
    QString text;
    QByteArray bytes;
  };
  const Case cases[] = {
      {QString(), QByteArray()},
      {QStringLiteral("ab"), QByteArray("a\0b\0", 4)},
      {QString::fromUtf8("\xC3\xA9\xE2\x82\xAC"), QByteArray("\xE9\x00\xAC\x20", 4)},  // é €
      {QString::fromUtf8("\xF0\x9F\x98\x80"), QByteArray("\x3D\xD8\x00\xDE", 4)},  // surrogate pair
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextDigestHex(c.text), OpenSslHexOfBytes(c.bytes)) << c.text.toStdString();
  }
  EXPECT_EQ(TextDigestHex(QString()),
            QStringLiteral("cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce"
                           "47d0d13c5d85f2b0ff8318d2877eec2f63b931bd47417a81a538327af927da3e"));
}

TEST(RowDigest, HexIsAlwaysOneHundredTwentyEightLowerCaseDigits) {
  const QRegularExpression lowerHex(QStringLiteral("^[0-9a-f]{128}$"));
  for (const QString& text : {QString(), QStringLiteral("x"), QStringLiteral("ROW#1")}) {
    EXPECT_TRUE(lowerHex.match(TextDigestHex(text)).hasMatch());
  }
  uint8_t digest[kSha512DigestSize];
  for (int i = 0; i < kRowDigestSize; ++i) digest[i] = static_cast<uint8_t>(i * 4 + 3);
  const QString hex = DigestToHex(digest);
  EXPECT_TRUE(hex.startsWith(QStringLiteral("03070b0f")));
  EXPECT_TRUE(hex.endsWith(QStringLiteral("ff")));
}

TEST(RowDigest, EscapingDoublesBackslashesAndMarksHashes) {
  struct Case {
    QString in;
    QString out;
  };
  const Case cases[] = {
      {QStringLiteral("plain"), QStringLiteral("plain")},
      {QStringLiteral("a#b"), QStringLiteral("a\\#b")},
      {QStringLiteral("a\\b"), QStringLiteral("a\\\\b")},
      {QStringLiteral("\\#"), QStringLiteral("\\\\\\#")},
      {QString(), QString()},
  };
  for (const Case& c : cases) {
    QString text = c.in;
    EscapeHashAndBackslash(&text);
    EXPECT_EQ(text, c.out) << c.in.toStdString();
  }
}

TEST(RowDigest, AHashInsideAValueCannotShiftTheColumns) {
  EXPECT_EQ(MakeRowText({QStringLiteral("a#b")}), QStringLiteral("a\\#b"));
  EXPECT_EQ(MakeRowText({QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("a#b"));
  EXPECT_NE(TextDigestHex(MakeRowText({QStringLiteral("a#b")})),
            TextDigestHex(MakeRowText({QStringLiteral("a"), QStringLiteral("b")})));
  // A trailing backslash cannot swallow the separator either.
  EXPECT_NE(MakeRowText({QStringLiteral("a\\"), QStringLiteral("b")}),
            MakeRowText({QStringLiteral("a#b")}));
  EXPECT_EQ(MakeRowText({QString(), QString()}), QStringLiteral("#"));
}
