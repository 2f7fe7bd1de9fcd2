#include "admin/forms/FieldValueChecks.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

struct NumberCase {
  const char16_t* text;
  bool integer;
  bool decimal;
};

TEST(FieldValueChecks, IntegerAndDecimalTexts) {
  const NumberCase cases[] = {
      {u"", true, true},       {u"0", true, true},      {u"-12", true, true},
      {u"3.5", false, true},   {u"-0.25", false, true}, {u".5", false, true},
      {u"5.", false, true},    {u"-", false, false},    {u".", false, false},
      {u"-.", false, false},   {u"1.2.3", false, false}, {u"1e3", false, false},
      {u"1,5", false, false},  {u"--1", false, false},  {u"1-", false, false},
      {u" 1", false, false},   {u"\x0661", false, false},
  };
  for (const NumberCase& c : cases) {
    const QStringView text(c.text);
    EXPECT_EQ(IsIntegerText(text), c.integer) << text.toString().toStdString();
    EXPECT_EQ(IsDecimalText(text), c.decimal) << text.toString().toStdString();
  }
}

}  // namespace

namespace {

struct TypedValueCase {
  const char16_t* type;
  const char16_t* text;
  int check;
};

// The date and time cases run for a timestamp column; the form is the same for all three types.
TEST(FieldValueChecks, ValuesByTheirColumnsType) {
  const TypedValueCase cases[] = {
      {u"SQL_INTEGER", u"-12", kValueValid},
      {u"SQL_DOUBLE", u"3.5", kValueValid},
      {u"SQL_NUMERIC", u"1e3", kValueNotNumeric},
      {u"SQL_SMALLINT", u"1,5", kValueNotNumeric},
      {u"SQL_REAL", u".", kValueNotNumeric},
      {u"SQL_BIT", u"1", kValueValid},
      {u"SQL_BIT", u"0", kValueValid},
      {u"SQL_BIT", u"5", kValueValid},
      {u"SQL_BIT", u"yes", kValueNotBit},
      {u"SQL_VARCHAR", u"any text", kValueValid},
      {u"SQL_GUID", u"x", kValueValid},
      {u"SQL_BINARY", u"whatever", kValueValid},
      {u"sql_integer", u"word", kValueValid},  // type names are compared exactly
      {u"SQL_TIMESTAMP", u"2010-02-30 10:00:00", kValueValid},
      {u"SQL_DATE", u"2010-1-5 1:2:3", kValueValid},
      {u"SQL_TIME", u"2010-01-05", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"10-01-05 10:00:00", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-01-05  10:00:00", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-01-05 10:00:00.0", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-01-05 :00:00", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-1.5-05 10:00:00", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-13-05 10:00:00", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-12-32 10:00:00", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-12-31 24:00:00", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-12-31 23:60:00", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-12-31 23:59:60", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-12-31 23:59:", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-012-31 23:59:00", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010--1-31 23:59:00", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"2010-12-31 23:59:00:00", kValueNotDateTime},
      {u"SQL_TIMESTAMP", u"", kValueNotDateTime},
  };
  for (const TypedValueCase& c : cases) {
    EXPECT_EQ(ValidateDefaultValue(c.type, c.text), c.check)
        << QString::fromUtf16(c.type).toStdString() << " " << QString::fromUtf16(c.text).toStdString();
  }
}

TEST(FieldValueChecks, ColumnsThatNeedAValue) {
  for (QStringView type : {u"SQL_NUMERIC", u"SQL_DOUBLE", u"SQL_INTEGER", u"SQL_SMALLINT", u"SQL_TINYINT",
                           u"SQL_REAL", u"SQL_C_USHORT", u"SQL_C_ULONG", u"SQL_C_STINYINT", u"SQL_BIT", u"sql_bit"})
    EXPECT_EQ(GetSqlTypeCategory(type), 0) << type.toString().toStdString();
  for (QStringView type : {u"SQL_VARCHAR", u"SQL_TIMESTAMP", u"SQL_GUID", u"", u"SQL_INTEGERS"})
    EXPECT_EQ(GetSqlTypeCategory(type), 1) << type.toString().toStdString();
}

TEST(FieldValueChecks, TheRefusalNamesTheColumn) {
  EXPECT_EQ(DefaultValueMessage(kValueNotBit, QStringLiteral("Active")),
            QStringLiteral("Default Value for \"Active\" Field should be numeric i.e. 1 or 0, Please Enter proper "
                           "Default Value."));
  EXPECT_EQ(DefaultValueMessage(kValueNotDateTime, QStringLiteral("Born")),
            QStringLiteral("Default Value for \"Born\" Field should be DateTime,\r\nPlease Enter value in following "
                           "Format\r\nFor DateTime : \"YYYY-MM-DD HH:MM:SS\"."));
}

}  // namespace
