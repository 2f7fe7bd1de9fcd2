#include "admin/foundation/FieldFormat.h"
#include "admin/foundation/SqlTypes.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include <QString>

#include <cstring>
#include <locale.h>

namespace {

template <typename T>
QString Format(const T& value, int16_t code) {
  char buffer[32] = {};
  std::memcpy(buffer, &value, sizeof value);
  return FormatFieldValue(buffer, sizeof buffer, static_cast<SQLLEN>(sizeof value), code);
}

// Sets the numeric locale for as long as it lives, then goes back to "C".
class NumericLocale {
 public:
  explicit NumericLocale(const char* name) : set_(setlocale(LC_NUMERIC, name) != nullptr) {}
  ~NumericLocale() { setlocale(LC_NUMERIC, "C"); }
  NumericLocale(const NumericLocale&) = delete;
  NumericLocale& operator=(const NumericLocale&) = delete;
  bool IsSet() const { return set_; }

 private:
  const bool set_;
};

QString FormatText(const QString& text, SQLLEN length, int16_t code = ColumnKind::Text) {
  return FormatFieldValue(reinterpret_cast<const char*>(text.utf16()), text.size() * 2, length, code);
}

TEST(FieldFormat, Numbers) {
  EXPECT_EQ(Format<int32_t>(-7, ColumnKind::Int32), QStringLiteral("-7"));
  EXPECT_EQ(Format<int16_t>(-12, ColumnKind::Int16), QStringLiteral("-12"));
  EXPECT_EQ(Format<int64_t>(5000000000LL, ColumnKind::BigInt), QStringLiteral("5000000000"));
  EXPECT_EQ(Format<uint8_t>(200, ColumnKind::TinyInt), QStringLiteral("200"));
  EXPECT_EQ(Format<int8_t>(-3, ColumnKind::SignedTinyInt), QStringLiteral("-3"));
  EXPECT_EQ(Format<uint16_t>(65535, ColumnKind::UInt16), QStringLiteral("65535"));
  EXPECT_EQ(Format<uint32_t>(4000000000U, ColumnKind::UInt32), QStringLiteral("4000000000"));
  EXPECT_EQ(Format<uint8_t>(1, ColumnKind::Bit), QStringLiteral("True"));
  EXPECT_EQ(Format<uint8_t>(0, ColumnKind::Bit), QStringLiteral("False"));
}

TEST(FieldFormat, FloatingPointInTheCLocaleNeverEndingInADot) {
  // The process locale is the user's; a decimal comma must never appear. Without the German
  // locale this case would prove nothing, so its absence is a failure.
  const NumericLocale german("de_DE.UTF-8");
  ASSERT_TRUE(german.IsSet()) << "no de_DE.UTF-8 under LOCPATH=" << qPrintable(qEnvironmentVariable("LOCPATH"))
                              << " (the build compiles it with localedef from Debian's locales)";
  ASSERT_STREQ(localeconv()->decimal_point, ",");
  EXPECT_EQ(Format<double>(12.5, ColumnKind::Double), QStringLiteral("12.5"));
  EXPECT_EQ(Format<double>(12.0, ColumnKind::Double), QStringLiteral("12.0"));
  EXPECT_EQ(Format<double>(123456789.0, ColumnKind::Double), QStringLiteral("1.234568e+08"));
  EXPECT_EQ(Format<double>(-0.25, ColumnKind::Double), QStringLiteral("-0.25"));
  EXPECT_EQ(Format<double>(0.0000001, ColumnKind::Double), QStringLiteral("0.0"));
  EXPECT_EQ(Format<float>(12.3f, ColumnKind::Float), QStringLiteral("12.3"));
  EXPECT_EQ(Format<float>(7.0f, ColumnKind::Float), QStringLiteral("7.0"));
}

TEST(FieldFormat, DecimalTextIsNormalisedAsText) {
  struct Case {
    const char16_t* in;
    const char16_t* out;
  };
  const Case cases[] = {
      {u"12.500", u"12.5"},  {u"12.000", u"12.0"}, {u"12", u"12.0"},         {u"-0.50", u"-0.5"},
      {u".5", u"0.5"},       {u"0.0000001", u"0.0000001"},
      {u"12345678901234567890.123", u"12345678901234567890.123"},  // beyond a double's digits
      {u"NaN", u"NaN"},      {u" 7.50 ", u"7.5"},  {u"-.", u"-.0"},          {u".", u"."},
      {u"+", u"+"},          {u"1e5", u"1e5"},     {u"\u0661\u0662", u"\u0661\u0662"},  // only ASCII digits count
  };
  for (const Case& c : cases) {
    const QString in = QString::fromUtf16(c.in);
    EXPECT_EQ(FormatText(in, in.size() * 2, ColumnKind::Numeric), QString::fromUtf16(c.out)) << qPrintable(in);
  }
}

TEST(FieldFormat, TextIsCutAtItsLengthAndNeverReadPastTheBuffer) {
  const QString text = QStringLiteral("abcdef");
  EXPECT_EQ(FormatText(text, 6), QStringLiteral("abc"));
  EXPECT_EQ(FormatText(text, 400), text);  // a length beyond the buffer reads what the buffer holds
  EXPECT_EQ(FormatText(text, SQL_NULL_DATA), QString());
  EXPECT_EQ(FormatText(text, 0), QString());
}

TEST(FieldFormat, DatesAndTimes) {
  EXPECT_EQ(Format(DATE_STRUCT{2009, 3, 5}, ColumnKind::Date), QStringLiteral("3/5/2009"));
  EXPECT_EQ(Format(DATE_STRUCT{1899, 12, 30}, ColumnKind::Date), QString());
  EXPECT_EQ(Format(TIME_STRUCT{12, 0, 0}, ColumnKind::Time), QStringLiteral("12:0:0 PM"));
  EXPECT_EQ(Format(TIME_STRUCT{0, 0, 0}, ColumnKind::Time), QString());
  EXPECT_EQ(Format(TIME_STRUCT{0, 5, 1}, ColumnKind::Time), QStringLiteral("0:5:1 AM"));
  EXPECT_EQ(Format(TIMESTAMP_STRUCT{2009, 3, 5, 14, 7, 9, 500}, ColumnKind::Timestamp),
            QStringLiteral("3/5/2009 2:7:9 PM"));
  EXPECT_EQ(Format(TIMESTAMP_STRUCT{2009, 3, 5, 0, 0, 0, 0}, ColumnKind::Timestamp), QStringLiteral("3/5/2009"));
  EXPECT_EQ(FormatTimestampText(0, 0, 0, 23, 59, 58), QStringLiteral("11:59:58 PM"));
  EXPECT_EQ(FormatTimestampText(1899, 12, 30, 13, 0, 0), QStringLiteral("1:0:0 PM"));
  EXPECT_EQ(FormatTimestampText(0, 0, 0, 0, 0, 0), QStringLiteral("0/0/0"));
  EXPECT_EQ(FormatTimestampText(-1, 1, 2, 0, 0, 0), QStringLiteral("1/2/-1"));
}

TEST(FieldFormat, UnsupportedAndShortBuffersGiveEmptyTexts) {
  EXPECT_EQ(Format<int32_t>(1, ColumnKind::Unsupported), QString());
  const char small[2] = {1, 0};
  EXPECT_EQ(FormatFieldValue(small, sizeof small, 8, ColumnKind::Double), QString());
}

TEST(FieldFormat, HexText) {
  EXPECT_EQ(DecodeHexText("414243", 6), QStringLiteral("ABC"));
  EXPECT_EQ(DecodeHexText("414243", 5), QStringLiteral("AB"));
  EXPECT_EQ(DecodeHexText("4G", 2), QString(QChar(4)));
  EXPECT_EQ(DecodeHexText("G4", 2), QString(QChar(0)));
  EXPECT_EQ(DecodeHexText("41", 0), QString());
  EXPECT_EQ(DecodeHexText("41", 10), QStringLiteral("A"));  // never past the text
}

TEST(SqlTypes, KindsOfReportedTypes) {
  struct Case {
    SQLSMALLINT sqlType;
    int16_t kind;
  };
  const Case cases[] = {
      {SQL_CHAR, 1},     {SQL_WVARCHAR, 1},  {SQL_WLONGVARCHAR, 1}, {SQL_GUID, 1},       {SQL_DECIMAL, 2},
      {SQL_NUMERIC, 2},  {SQL_INTEGER, 4},   {-16, 4},              {SQL_SMALLINT, 5},   {-15, 5},
      {SQL_FLOAT, 8},    {SQL_DOUBLE, 8},    {SQL_REAL, 7},         {SQL_DATE, 9},       {SQL_TYPE_DATE, 9},
      {SQL_TIME, 10},    {SQL_TYPE_TIME, 10}, {SQL_TIMESTAMP, 93},  {SQL_TYPE_TIMESTAMP, 93},
      {SQL_TINYINT, -6}, {-28, -6},          {SQL_BIT, -7},         {-26, -26},          {-18, -18},
      {-17, -17},        {SQL_BIGINT, ColumnKind::BigInt},          {SQL_BINARY, 0},     {SQL_VARBINARY, 0},
      {SQL_LONGVARBINARY, 0},                {99, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(MapSqlType(c.sqlType), c.kind) << c.sqlType;
  EXPECT_EQ(CTypeOfKind(ColumnKind::BigInt), SQL_C_SBIGINT);
  EXPECT_EQ(CTypeOfKind(ColumnKind::Numeric), SQL_C_WCHAR);
  EXPECT_EQ(CTypeOfKind(ColumnKind::Timestamp), 93);
}

TEST(SqlTypes, SizesAndNames) {
  EXPECT_EQ(CapColumnSize(32767), 32767);
  EXPECT_EQ(CapColumnSize(40000), 32766);
  EXPECT_EQ(CapColumnSize(2147483648ULL), 32766);
  EXPECT_EQ(GetSqlTypeName(3), QStringLiteral("SQL_NUMERIC"));
  EXPECT_EQ(GetSqlTypeName(-28), QStringLiteral("SQL_TINYINT"));
  EXPECT_EQ(GetSqlTypeName(-2), QStringLiteral("SQL_UNKNOWN_TYPE"));
  EXPECT_EQ(GetParamTypeName(2), QStringLiteral("INPUT_OUTPUT"));
  EXPECT_EQ(GetParamTypeName(9), QStringLiteral("TYPE_UNKNOWN"));
}

}  // namespace
