#include "shared/crypto/Base64.h"
#include "sync/engine/PayloadEnvelope.h"
#include "tests/support/WebServiceDouble.h"

#include <gtest/gtest.h>

#include <openssl/sha.h>

#include <QJsonObject>

#include <cstring>
#include <set>

using namespace envelope;

namespace {

QByteArray Pattern(int length) {
  QByteArray bytes(length, '\0');
  for (int i = 0; i < length; ++i) bytes[i] = static_cast<char>(i * 7 + 1);
  return bytes;
}

SessionMaterial FixedMaterial(uint16_t index) {
  SessionMaterial material;
  for (int i = 0; i < kSaltSize; ++i) material.salt[i] = static_cast<uint8_t>(0xA0 + i);
  for (int i = 0; i < kIvSize; ++i) material.iv[i] = static_cast<uint8_t>(0x10 + i);
  material.index = index;
  DeriveSessionKey(kWebServiceLabel, material.key, material.salt, index);
  return material;
}

QByteArray Envelope(int messageLength) {
  return BuildEnvelope(CreateSessionKey(), FrameMessage(Pattern(messageLength)));
}

}  // namespace

TEST(PayloadEnvelope, TheKeyTextHas145AsciiCharacters) {
  const QString text = PayloadKeyText();
  EXPECT_EQ(text.size(), 145);
  for (const QChar c : text) EXPECT_LT(c.unicode(), 128);
}

TEST(PayloadEnvelope, SizesFollowTheLengthAndPaddingRule) {
  struct Case {
    int n;
    int padded;
    int envelope;
    int base64;
  };
  for (const Case& c : {Case{0, 16, 66, 88}, Case{12, 32, 82, 112}, Case{100, 112, 162, 216},
                        Case{1, 16, 66, 88}, Case{28, 48, 98, 132}}) {
    const QByteArray envelope = Envelope(c.n);
    EXPECT_EQ(envelope.size(), c.envelope) << "n = " << c.n;
    EXPECT_EQ(envelope.size() - kHeadSize, c.padded) << "n = " << c.n;
    EXPECT_EQ(Base64Encode(envelope).size(), c.base64) << "n = " << c.n;
  }
}

TEST(PayloadEnvelope, TheFrameIsALittleEndianLengthTheMessageAndZeroPadding) {
  const SessionMaterial material = FixedMaterial(5);
  const QByteArray message = Pattern(12);
  const QByteArray envelope = BuildEnvelope(material, FrameMessage(message));
  EXPECT_EQ(envelope.mid(32, 2), QByteArray("\x05\x00", 2));  // index 5, little-endian
  EXPECT_EQ(envelope.left(32), QByteArray(reinterpret_cast<const char*>(material.salt), 32));
  EXPECT_EQ(envelope.mid(34, 16), QByteArray(reinterpret_cast<const char*>(material.iv), 16));
  const auto plain = DecryptBuffer(material.key, material.iv, QByteArrayView(envelope).sliced(kHeadSize));
  ASSERT_TRUE(plain);
  EXPECT_EQ(*plain, QByteArray("\x0c\x00\x00\x00", 4) + message + QByteArray(16, '\0'));
}

TEST(PayloadEnvelope, AFramedEnvelopeIsTheEnvelopeOfTheFrame) {
  const SessionMaterial material = FixedMaterial(9);
  for (const int length : {0, 11, 12, 13, 27, 28, 1000}) {
    const QByteArray message = Pattern(length);
    EXPECT_EQ(BuildFramedEnvelope(material, message), BuildEnvelope(material, FrameMessage(message))) << "n = " << length;
  }
}

TEST(PayloadEnvelope, KeyIsAWindowOfTheThirdDigest) {
  uint8_t salt[kSaltSize];
  for (int i = 0; i < kSaltSize; ++i) salt[i] = static_cast<uint8_t>(255 - i);
  for (const char* label : {kWebServiceLabel, kDesktopLabel}) {
    // The label without its terminating zero: 10 and 7 bytes.
    uint8_t h[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const uint8_t*>(label), std::strlen(label), h);
    const QByteArray keyText = PayloadKeyText().toLatin1();
    for (int i = 0; i < 32; ++i) h[i] ^= static_cast<uint8_t>(keyText[i]);
    SHA256(h, 32, h);
    for (int i = 0; i < 32; ++i) h[i] ^= salt[i];
    SHA256(h, 32, h);
    for (const uint16_t index : {uint16_t{0}, uint16_t{7}, uint16_t{14}}) {
      uint8_t key[kKeySize];
      DeriveSessionKey(label, key, salt, index);
      EXPECT_EQ(std::memcmp(key, h + index, kKeySize), 0) << label << " index " << index;
    }
  }
}

TEST(PayloadEnvelope, FreshMaterialEveryTimeAndIndexesUpTo14) {
  std::set<QByteArray> salts;
  std::set<uint16_t> indexes;
  for (int i = 0; i < 300; ++i) {
    const SessionMaterial material = CreateSessionKey();
    salts.insert(QByteArray(reinterpret_cast<const char*>(material.salt), kSaltSize));
    indexes.insert(material.index);
    ASSERT_LE(material.index, kMaxKeyIndex);
  }
  EXPECT_EQ(salts.size(), 300u);
  EXPECT_EQ(indexes.size(), 15u);
}

TEST(PayloadEnvelope, MalformedEnvelopesAreRefusedWithoutReadingPastThem) {
  const QByteArray good = BuildEnvelope(FixedMaterial(3), FrameMessage(Pattern(40)));  // 50 + 48
  QByteArray badIndex = good;
  badIndex[32] = 15;
  struct Case {
    QByteArray envelope;
    OpenError error;
  };
  const Case cases[] = {
      {QByteArray(), OpenError::TooShort},
      {good.left(49), OpenError::TooShort},
      {good.left(50), OpenError::TooShort},
      {badIndex, OpenError::BadIndex},
      {good.left(good.size() - 1), OpenError::NotWholeBlocks},
      {good + 'x', OpenError::NotWholeBlocks},
  };
  for (const Case& c : cases) {
    OpenError error = OpenError::None;
    // A copy of exactly the size given, so that the sanitizer sees any read past it.
    const QByteArray exact(c.envelope.constData(), c.envelope.size());
    EXPECT_FALSE(OpenEnvelope(exact, kDesktopLabel, &error)) << exact.size();
    EXPECT_EQ(error, c.error) << exact.size();
  }
  OpenError error = OpenError::TooShort;
  const auto opened = OpenEnvelope(good, kWebServiceLabel, &error);
  ASSERT_TRUE(opened);
  EXPECT_EQ(error, OpenError::None);
  EXPECT_EQ(opened->size(), 48);  // the padding stays in
}

class EnvelopeWithDouble : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(service_.Started()) << service_.Error().toStdString(); }
  testsupport::WebServiceDouble service_;
};

TEST_F(EnvelopeWithDouble, WhatTheDesktopSealsTheServiceOpens) {
  for (const int n : {0, 12, 100, 5000}) {
    const QByteArray message = Pattern(n);
    const QString text = QString::fromLatin1(Base64Encode(BuildEnvelope(CreateSessionKey(), FrameMessage(message))));
    QString error;
    const auto opened = service_.Open(QStringLiteral("WEBSERVICE"), text, true, &error);
    ASSERT_TRUE(opened) << error.toStdString();
    EXPECT_EQ(*opened, message) << "n = " << n;
  }
}

// The double is the independent check of our framing: it refuses a frame whose length field or
// padding is wrong.
TEST_F(EnvelopeWithDouble, TheServiceRefusesAFrameThatDoesNotAddUp) {
  // Twelve message bytes after the length field: sealed, the frame is 32 bytes.
  const QByteArray twelve = Pattern(12);
  const struct {
    QByteArray plain;  // sealed as it stands, opened as a frame
    const char* error;
  } cases[] = {
      {QByteArray("\x1c\x00\x00\x00", 4) + twelve, "length field 28 does not fit 32"},
      {QByteArray("\xff\xff\xff\x7f", 4) + twelve, "length field 2147483647 does not fit 32"},
      {QByteArray("\xff\xff\xff\xff", 4) + twelve, "length field -1 does not fit 32"},
      {QByteArray("\x0c\x00\x00\x00", 4) + twelve + 'x', "padding is not zero"},
  };
  for (const auto& c : cases) {
    QString error;
    EXPECT_FALSE(service_.Open(QStringLiteral("WEBSERVICE"), service_.Seal(QStringLiteral("WEBSERVICE"), c.plain, false),
                               true, &error));
    EXPECT_TRUE(error.contains(QLatin1String(c.error))) << error.toStdString();
  }
}

TEST_F(EnvelopeWithDouble, BothSidesDeriveTheSameKey) {
  const SessionMaterial material = FixedMaterial(14);
  const QByteArray message = Pattern(33);
  const QString ours = QString::fromLatin1(Base64Encode(BuildEnvelope(material, FrameMessage(message))));
  const QString theirs = service_.Seal(
      QStringLiteral("WEBSERVICE"), message, true,
      {{QStringLiteral("salt"), QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(material.salt), kSaltSize).toHex())},
       {QStringLiteral("iv"), QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(material.iv), kIvSize).toHex())},
       {QStringLiteral("index"), 14}});
  EXPECT_EQ(ours, theirs);
}

TEST_F(EnvelopeWithDouble, WhatTheServiceSealsForTheDesktopOpensWithItsPadding) {
  const QByteArray stream = QByteArray("\x01\x05\x00", 3) + Pattern(12) + QByteArray("\x00\x00", 2);
  const QString text = service_.Seal(QStringLiteral("DESKTOP"), stream, false);
  const auto opened = OpenEnvelope(Base64Decode(text.toLatin1()), kDesktopLabel);
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->size(), 32);
  EXPECT_EQ(opened->left(stream.size()), stream);
  EXPECT_EQ(opened->mid(stream.size()), QByteArray(32 - stream.size(), '\0'));
}
