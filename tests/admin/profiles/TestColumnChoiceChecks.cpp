#include "admin/profiles/ColumnChoiceChecks.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kSortRefusal = u"You are not allow to deselect Sort Column."_s;
const QString kUnknownRefusal = u"You are not allow to select column having type SQL_UNKNOWN_TYPE."_s;
const QString kMappedRefusal =
    u"You can not remove selected column as it is already assigned in Form, Please remove this column from form "
    "first, if you do not want to use this."_s;

QString LookupRefusal(const QString& bare) {
  return u"You can not remove the column: \"%1\" as it is already assigned in Form Control as Lookup Column, Please "
         "remove this column as Lookup Column from form First, if you do not want to use this."_s.arg(bare);
}

}  // namespace

TEST(ColumnChoiceChecks, TickRefusals) {
  const FormColumnUse forms = {{u"Name"_s}, {u"Code"_s}};
  struct Case {
    const char* label;
    ColumnTickFacts column;
    bool ticking;
    bool asksKeyQuestion;
    QString refusal;
  } cases[] = {
      {"unticking a primary key asks", {u"\"Id\""_s, u"SQL_INTEGER"_s, true, false}, false, true, {}},
      {"ticking a primary key asks nothing", {u"\"Id\""_s, u"SQL_INTEGER"_s, true, false}, true, false, {}},
      {"sort column", {u"\"Age\""_s, u"SQL_INTEGER"_s, false, true}, false, false, kSortRefusal},
      {"unknown type", {u"\"Big\""_s, u"SQL_UNKNOWN_TYPE"_s, false, false}, true, false, kUnknownRefusal},
      {"unticking an unknown type is fine", {u"\"Big\""_s, u"SQL_UNKNOWN_TYPE"_s, false, false}, false, false, {}},
      {"form-mapped, compared bare", {u"\"Name\""_s, u"SQL_VARCHAR"_s, false, false}, false, false, kMappedRefusal},
      {"lookup, compared bare", {u"`Code`"_s, u"SQL_VARCHAR"_s, false, false}, false, false, LookupRefusal(u"Code"_s)},
      {"a key that is sorted: asked, then refused",
       {u"\"Id\""_s, u"SQL_INTEGER"_s, true, true},
       false,
       true,
       kSortRefusal},
      {"free column", {u"\"Note\""_s, u"SQL_VARCHAR"_s, false, false}, false, false, {}},
  };
  for (const Case& c : cases) {
    const QString question = PrimaryKeyUntickQuestion(c.column, c.ticking);
    EXPECT_EQ(!question.isEmpty(), c.asksKeyQuestion) << c.label;
    if (!question.isEmpty()) {
      EXPECT_TRUE(question.endsWith(u"Primary Key column : "_s + c.column.listedName + u" ?"_s)) << c.label;
    }
    EXPECT_EQ(ColumnTickRefusal(c.column, c.ticking, forms), c.refusal) << c.label;
  }
  // A new profile has no forms: nothing is protected by them.
  EXPECT_EQ(ColumnTickRefusal({u"\"Name\""_s, u"SQL_VARCHAR"_s, false, false}, false, {}), QString());
}

TEST(ColumnChoiceChecks, SelectAllNeverTicksAnUnknownType) {
  const QStringList types = {u"SQL_UNKNOWN_TYPE"_s, u"SQL_INTEGER"_s, u"SQL_VARCHAR"_s, u"SQL_UNKNOWN_TYPE"_s};
  const QList<bool> keys = {true, true, false, false};
  EXPECT_EQ(SelectAllTicks({false, false, false, true}, types, keys, true), QList<bool>({false, true, true, false}));
  EXPECT_EQ(SelectAllTicks({false, true, true, false}, types, keys, false), QList<bool>({false, true, false, false}));
}

TEST(ColumnChoiceChecks, SelectedColumnNamesAtFinish) {
  const QString kEmpty = u"Selected Profile is Empty.\r\nPlease Select another profile."_s;
  const auto duplicate = [](const QString& name) {
    return u"Selected Table/View has duplicate columns.\r\nColumn %1 is duplicate.\r\nPlease Select another "
           "table/view."_s.arg(name);
  };
  struct Case {
    const char* label;
    QStringList names;
    SelectedColumnsCheck check;
    QString refusal;
  } cases[] = {
      {"plain", {u"\"a\""_s, u"\"b\""_s}, {}, {}},
      {"bracket on SQL Server",
       {u"\"a]\""_s},
       {true, false, false},
       u"Selected Table/View has column \"a]\" with closing square bracket in it.\r\nPlease Select another "
       "table/view."_s},
      {"bracket elsewhere", {u"`a]`"_s}, {}, {}},
      {"duplicate", {u"`a`"_s, u"`b`"_s, u"`a`"_s}, {}, duplicate(u"`a`"_s)},
      {"workbook without headers", {u"`NoName`"_s, u"`NoName`"_s}, {false, true, true}, kEmpty},
      {"workbook without headers, closed",
       {u"`NoName`"_s, u"`NoName`"_s},
       {false, true, false},
       duplicate(u"`NoName`"_s)},
      {"two header-less columns among named ones",
       {u"`a`"_s, u"`NoName`"_s, u"`NoName`"_s},
       {false, true, true},
       duplicate(u"`NoName`"_s)},
      {"one header-less column", {u"`a`"_s, u"`NoName`"_s}, {false, true, true}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckSelectedColumnNames(c.names, c.check), c.refusal) << c.label;
}

TEST(ColumnChoiceChecks, FormColumnsKeptAtFinish) {
  const QStringList listed = {u"\"Id\""_s, u"\"Name\""_s, u"\"Code\""_s};
  EXPECT_EQ(CheckFormColumnsKept({{u"Name"_s}, {u"Code"_s}}, listed, {true, true, true}), QString());
  EXPECT_EQ(CheckFormColumnsKept({{u"Gone"_s}, {}}, listed, {true, true, true}),
            u"This Column are not Present in the Profile, : Gone ?"_s);
  EXPECT_EQ(CheckFormColumnsKept({{u"Name"_s}, {u"Code"_s}}, listed, {true, true, false}),
            u"You are not check Mapped column, please select Column, : Code ?"_s);
  EXPECT_EQ(CheckProcedureFormColumnsKept({{u"amount"_s}, {u"company"_s}}, {u"amount"_s, u"order_id"_s}),
            u"This Lookup Column are not Present in the Profile, : company ?"_s);
  EXPECT_EQ(CheckProcedureFormColumnsKept({{u"gone"_s}, {}}, {u"amount"_s}),
            u"This Mapped Column are not Present in the Profile, : gone ?"_s);
}
