#include "shared/devicerecord/DeviceRecord.h"

#include <gtest/gtest.h>

#include <QByteArray>

using devicerecord::Decode;
using devicerecord::Encode;
using devicerecord::Timestamp;
using devicerecord::Value;

namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

QByteArray EncodeOne(const Value& value) { return Encode({value}).value_or(QByteArray("none")); }

Value Text(const QString& text) { return Value::OfText(1, text); }

}  // namespace

TEST(DeviceRecord, BytesOfEachKind) {
  const Timestamp tenTwentyThirty = Timestamp::Of(2001, 2, 3, 10, 20, 30, 7);
  struct Case {
    const char* what;
    Value value;
    const char* bytes;
  };
  const Case cases[] = {
      {"text ab", Text(QStringLiteral("ab")), "0002" "61006200" "0000"},
      {"NULL text", Value::Null(1), "0002" "0000"},
      {"decimal text", Value::OfText(2, QStringLiteral("1.5")), "0002" "31002e003500" "0000"},
      {"int32", Value::OfInteger(4, -2), "0002" "fffffffe"},
      {"NULL int32", Value::Null(4), "0002" "00000000"},
      {"int16", Value::OfInteger(5, 258), "0002" "0102"},
      {"single", Value::OfReal(7, 1.5), "0002" "3fc00000"},
      {"double", Value::OfReal(8, -2.0), "0002" "c000000000000000"},
      {"date 2013-07-01", Value::OfTimestamp(9, Timestamp::Of(2013, 7, 1, 5)),
       "0002" "07dd" "0007" "0001" "0000" "0000" "0000" "00000000"},
      {"time 10:20:30 on 1899-12-30", Value::OfTimestamp(10, tenTwentyThirty),
       "0002" "076b" "000c" "001e" "000a" "0014" "001e" "00000000"},
      {"timestamp with fraction", Value::OfTimestamp(93, tenTwentyThirty),
       "0002" "07d1" "0002" "0003" "000a" "0014" "001e" "00000007"},
      {"NULL date", Value::Null(9), "0002" "00000000000000000000000000000000"},
      {"tiny integer", Value::OfInteger(-6, 200), "0002" "c8"},
      {"bit", Value::OfInteger(-7, 1), "0002" "01"},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeOne(c.value).toHex(), Hex(c.bytes).toHex()) << c.what;
}

TEST(DeviceRecord, OffsetsPointAtEachValueInTurn) {
  const auto record = Encode({Text(QStringLiteral("a")), Value::OfInteger(4, 1), Value::OfInteger(-7, 0)});
  ASSERT_TRUE(record);
  EXPECT_EQ(record->toHex(), Hex("0006" "000a" "000e" "61000000" "00000001" "00").toHex());
}

TEST(DeviceRecord, TextsLoseCarriageReturnsAndTabsAndAreCutWithoutSplittingAPair) {
  EXPECT_EQ(devicerecord::DeviceText(QStringLiteral("a\r\nb\tc")), QStringLiteral("a\nb     c"));
  QString longText(devicerecord::kMaxTextUnits + 10, QLatin1Char('x'));
  EXPECT_EQ(devicerecord::DeviceText(longText).size(), devicerecord::kMaxTextUnits);
  longText[devicerecord::kMaxTextUnits - 1] = QChar(0xD83D);
  longText[devicerecord::kMaxTextUnits] = QChar(0xDE00);
  EXPECT_EQ(devicerecord::DeviceText(longText).size(), devicerecord::kMaxTextUnits - 1);
}

TEST(DeviceRecord, AValueBeyondTheReachOfSixteenBitOffsetsGivesNoRecord) {
  const QString full(devicerecord::kMaxTextUnits, QLatin1Char('x'));
  QList<Value> values(3, Text(full));  // the third value would start at 2 + 3 x 32,766 bytes
  EXPECT_TRUE(Encode(values.mid(0, 2)));
  EXPECT_FALSE(Encode(values));
}

TEST(DeviceRecord, DecodingGivesBackWhatWasEncoded) {
  const QList<Value> values = {
      Text(QStringLiteral("Grüße # \\")), Value::OfText(2, QStringLiteral("12.5")),
      Value::OfInteger(4, -7), Value::OfInteger(5, -3), Value::OfReal(7, 0.25),
      Value::OfReal(8, 1e300), Value::OfTimestamp(93, Timestamp::Of(2012, 3, 4, 23, 59, 58, 5)),
      Value::OfInteger(-6, 255), Value::OfInteger(-7, 1), Value::Null(1),
      Value::Null(9)};
  QList<int16_t> kinds;
  for (const Value& v : values) kinds.append(v.kind);
  const auto record = Encode(values);
  ASSERT_TRUE(record);
  QString error;
  const auto decoded = Decode(*record, kinds, &error);
  ASSERT_TRUE(decoded) << error.toStdString();
  EXPECT_EQ(*decoded, values);
}

TEST(DeviceRecord, MalformedRecordsAreRefusedWithAReason) {
  const QList<int16_t> textAndInt = {1, 4};
  struct Case {
    const char* what;
    QByteArray record;
    QList<int16_t> kinds;
  };
  const Case cases[] = {
      {"empty", QByteArray(), textAndInt},
      {"shorter than its table", Hex("00"), textAndInt},
      {"one offset more than columns", Hex("0006" "0008" "000c" "0000" "00000001"), textAndInt},
      {"one offset fewer than columns", Hex("0002" "0000"), textAndInt},
      {"offset before the table", Hex("0004" "0002" "0000" "00000001"), textAndInt},
      {"offset past the end", Hex("0004" "00ff" "0000" "00000001"), textAndInt},
      {"integer cut short", Hex("0004" "0006" "0000" "000001"), textAndInt},
      {"text without terminator", Hex("0004" "0008" "6100" "00000001" "6200"), {4, 1}},
      {"text of an odd byte", Hex("0002" "61"), {1}},
      {"a kind that cannot travel", Hex("0002" "00"), {-5}},
  };
  for (const Case& c : cases) {
    QString error;
    EXPECT_FALSE(Decode(c.record, c.kinds, &error)) << c.what;
    EXPECT_FALSE(error.isEmpty()) << c.what;
  }
}

TEST(DeviceRecord, AllZeroDatesAndTimesAreNullAndNothingElseIs) {
  QString error;
  const auto zero = Decode(Hex("0002" "00000000000000000000000000000000"), {10}, &error);
  ASSERT_TRUE(zero);
  EXPECT_TRUE(zero->at(0).isNull);
  const auto secondsOnly = Decode(Hex("0002" "076b000c001e0000000000" "2d00000000"), {10}, &error);
  ASSERT_TRUE(secondsOnly);
  EXPECT_FALSE(secondsOnly->at(0).isNull) << "00:00:45 is a time, not NULL";
  EXPECT_EQ(secondsOnly->at(0).timestamp.second, 45);
}
