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
