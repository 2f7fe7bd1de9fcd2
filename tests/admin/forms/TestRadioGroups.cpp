#include "admin/forms/FieldValueChecks.h"
#include "admin/forms/RadioGroups.h"
#include "admin/foundation/FormInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const ProfileColumns kColumns = {
    {QStringLiteral("Size"), QStringLiteral("SQL_INTEGER")},
    {QStringLiteral("Colour"), QStringLiteral("SQL_VARCHAR")},
    {QStringLiteral("Shape"), QStringLiteral("SQL_WCHAR")},
};

// Integer columns take digits only; the rest take any text.
bool CheckValue(const QString& type, const QString& text) {
  return type != QStringLiteral("SQL_INTEGER") || (!text.isEmpty() && IsIntegerText(text));
}

class RadioGroupsTest : public ::testing::Test {
 protected:
  RadioGroupsTest() { m_form.AddFormTab(0, QStringLiteral("One")), m_form.AddFormTab(1, QStringLiteral("Two")); }

  FormControlInfo* NewRadio(int tab) {
    auto radio = std::make_unique<FormControlInfo>();
    radio->Type = kRadioButton;
    FormTabInfo* on = m_form.GetTab(tab);
    FormControlInfo* made = on->GetControl(on->AddControl(std::move(radio)));
    EXPECT_EQ(m_radios.JoinNewRadioButton(made, {QStringLiteral("Size"), QStringLiteral("Colour")}), std::nullopt);
    return made;
  }
  int Count(int group) const { return m_groups[static_cast<size_t>(group)].NumRdBtn; }

  FormInfo m_form;
  std::vector<RadioGroupInfo> m_groups;
  CRadioGroups m_radios{m_groups, m_form, kColumns};
};

}  // namespace

TEST_F(RadioGroupsTest, ANewRadioButtonJoinsTheFirstGroupWithItsCaption) {
  FormControlInfo* first = NewRadio(0);
  ASSERT_EQ(m_groups.size(), 1u);
  EXPECT_EQ(m_groups[0], (RadioGroupInfo{QStringLiteral("Group_Size"), QStringLiteral("Size"), 1}));
  EXPECT_EQ(first->Group, QStringLiteral("Group_Size"));
  EXPECT_EQ(first->Caption, QStringLiteral("0"));
  int index = -1;
  ASSERT_EQ(m_radios.Add({QStringLiteral("Colour")}, &index), std::nullopt);
  EXPECT_EQ(index, 1);
  NewRadio(1);
  EXPECT_EQ(Count(0), 2) << "always the first group";
  EXPECT_EQ(Count(1), 0);
  m_radios.LeaveTab(*m_form.GetTab(1));
  EXPECT_EQ(Count(0), 1) << "the second tab's button left";
  m_radios.Leave(*first);
  m_radios.Leave(*first);
  EXPECT_EQ(Count(0), 0) << "never below 0";
}

// Each case starts from "Group_Size" (column Size) holding a button captioned "0" and
// "Group_Colour" (column Colour) holding one captioned "big"; a refused change leaves it so.
TEST(RadioGroups, RefusedChangesChangeNothing) {
  struct Scene {
    FormInfo form;
    std::vector<RadioGroupInfo> groups{{QStringLiteral("Group_Size"), QStringLiteral("Size"), 1},
                                       {QStringLiteral("Group_Colour"), QStringLiteral("Colour"), 1}};
    CRadioGroups radios{groups, form, kColumns};
    FormControlInfo* size = nullptr;
    FormControlInfo* colour = nullptr;

    Scene() {
      form.AddFormTab(0, QStringLiteral("One"));
      size = Radio(QStringLiteral("Group_Size"), QStringLiteral("0"));
      colour = Radio(QStringLiteral("Group_Colour"), QStringLiteral("big"));
    }
    FormControlInfo* Radio(const QString& group, const QString& caption) {
      auto radio = std::make_unique<FormControlInfo>();
      radio->Type = kRadioButton;
      radio->Group = group;
      radio->Caption = caption;
      FormTabInfo* tab = form.GetTab(0);
      return tab->GetControl(tab->AddControl(std::move(radio)));
    }
  };
  struct Case {
    const char* name;
    std::function<std::optional<Refusal>(Scene&)> change;
    Refusal refusal;
  };
  const Refusal notUnique{QStringLiteral("Group Name is not unique.")};
  const Case cases[] = {
      {"rename to empty", [](Scene& s) { return s.radios.Rename(0, QString()); },
       Refusal{QStringLiteral("Group Name should not be empty.")}},
      {"rename to another group's name", [](Scene& s) { return s.radios.Rename(0, QStringLiteral("Group_Colour")); },
       notUnique},
      {"remove a group with buttons", [](Scene& s) { return s.radios.Remove(0); },
       Refusal{QStringLiteral("Group is assigned to Radio Buttons."), true}},
      {"a column the captions do not fit",
       [](Scene& s) { return s.radios.SetDataColumn(1, QStringLiteral("Size"), CheckValue); },
       Refusal{QStringLiteral("Caption property value of \"Colour\" RadioButtons in \"Group_Colour\" RadioGroup are "
                              "not valid for new Data column,\r\nPlease change valid Caption value first.")}},
      {"a group whose column the caption does not fit",
       [](Scene& s) { return s.radios.MoveTo(s.colour, QStringLiteral("Group_Size"), CheckValue); },
       Refusal{QStringLiteral(
           "Caption property value is not valid for new RadioGroup, Please Enter Valid Caption value first.")}},
      {"add a group whose name a renamed group has",
       [](Scene& s) {
         s.groups[1].Name = QStringLiteral("Group_Shape");
         s.colour->Group = s.groups[1].Name;
         int index = 0;
         return s.radios.Add({QStringLiteral("Shape")}, &index);
       },
       notUnique},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scene scene;
    EXPECT_EQ(c.change(scene), c.refusal);
    EXPECT_EQ(scene.groups.size(), 2u);
    EXPECT_EQ(scene.groups[0], (RadioGroupInfo{QStringLiteral("Group_Size"), QStringLiteral("Size"), 1}));
    EXPECT_EQ(scene.groups[1].DataColumn, QStringLiteral("Colour"));
    EXPECT_EQ(scene.groups[1].NumRdBtn, 1);
    EXPECT_EQ(scene.size->Group, QStringLiteral("Group_Size"));
    EXPECT_EQ(scene.colour->Group, scene.groups[1].Name);
  }
}

TEST_F(RadioGroupsTest, RenamingCarriesTheButtonsAndRemovingAnEmptyGroupWorks) {
  FormControlInfo* one = NewRadio(0);
  FormControlInfo* two = NewRadio(1);
  ASSERT_EQ(m_radios.Rename(0, QStringLiteral("Sizes")), std::nullopt);
  ASSERT_EQ(m_radios.Rename(0, QStringLiteral("Sizes")), std::nullopt) << "its own name is no clash";
  EXPECT_EQ(one->Group, QStringLiteral("Sizes"));
  EXPECT_EQ(two->Group, QStringLiteral("Sizes"));
  int index = -1;
  ASSERT_EQ(m_radios.Add({QStringLiteral("Colour")}, &index), std::nullopt);
  EXPECT_EQ(m_radios.Remove(index), std::nullopt);
  EXPECT_EQ(m_groups.size(), 1u);
  EXPECT_EQ(m_radios.Add({}, &index), Refusal{QStringLiteral("All the Columns in Profile have already been mapped.")});
}

// One Selected per group, across tabs; a Selected button moved into a group that has one
// loses its mark.
TEST_F(RadioGroupsTest, SelectedIsExclusiveWithinAGroup) {
  FormControlInfo* one = NewRadio(0);
  FormControlInfo* two = NewRadio(1);
  one->Caption = two->Caption = QStringLiteral("1");
  int colour = -1;
  ASSERT_EQ(m_radios.Add({QStringLiteral("Colour")}, &colour), std::nullopt);
  m_radios.Select(one);
  const std::vector<FormControlInfo*> cleared = m_radios.Select(two);
  EXPECT_EQ(cleared, std::vector<FormControlInfo*>{one});
  EXPECT_EQ(one->Selected, 0);
  EXPECT_EQ(two->Selected, 1);

  ASSERT_EQ(m_radios.MoveTo(one, QStringLiteral("Group_Colour"), CheckValue), std::nullopt);
  m_radios.Select(one);
  ASSERT_EQ(m_radios.MoveTo(two, QStringLiteral("Group_Colour"), CheckValue), std::nullopt);
  EXPECT_EQ(one->Selected, 1);
  EXPECT_EQ(two->Selected, 0);
  EXPECT_EQ(Count(0), 0);
  EXPECT_EQ(Count(1), 2);
}

TEST(RadioGroups, DefaultCaptionByColumnType) {
  for (const char* type : {"SQL_NUMERIC", "SQL_DOUBLE", "SQL_INTEGER", "SQL_SMALLINT", "SQL_TINYINT", "SQL_REAL",
                           "SQL_C_USHORT", "SQL_C_ULONG", "SQL_C_STINYINT", "SQL_BIT"})
    EXPECT_EQ(CRadioGroups::DefaultCaption(QString::fromLatin1(type)), QStringLiteral("0")) << type;
  for (const char* type : {"SQL_LONGVARCHAR", "SQL_VARCHAR", "SQL_CHAR", "SQL_WCHAR", "SQL_WVARCHAR",
                           "SQL_WLONGVARCHAR", "SQL_GUID", "SQL_TIMESTAMP", "SQL_DATE", "SQL_TIME"})
    EXPECT_EQ(CRadioGroups::DefaultCaption(QString::fromLatin1(type)), QStringLiteral("Radio")) << type;
  EXPECT_EQ(CRadioGroups::DefaultCaption(QStringLiteral("SQL_BIGINT")), QString());
  EXPECT_EQ(CRadioGroups::DefaultCaption(QString()), QString());
}
