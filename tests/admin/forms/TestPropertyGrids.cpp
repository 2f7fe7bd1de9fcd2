#include "admin/forms/ButtonActions.h"
#include "admin/forms/FieldValueChecks.h"
#include "admin/forms/FormMapping.h"
#include "admin/forms/PropertyCommit.h"
#include "admin/forms/PropertyRows.h"
#include "admin/forms/RadioGroups.h"
#include "admin/foundation/FormCodes.h"
#include "admin/foundation/FormInfo.h"
#include "admin/foundation/FormPropertyIds.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

const ProfileColumns kColumns = {
    {QStringLiteral("Name"), QStringLiteral("SQL_VARCHAR")}, {QStringLiteral("Age"), QStringLiteral("SQL_INTEGER")},
    {QStringLiteral("Flag"), QStringLiteral("SQL_BIT")},     {QStringLiteral("Born"), QStringLiteral("SQL_DATE")},
    {QStringLiteral("Note"), QStringLiteral("SQL_CHAR")},
};

// Stands for the column-type check the page plugs in: integer and bit columns take integers.
bool CheckValue(const QString& type, const QString& text) {
  if (type == QStringLiteral("SQL_INTEGER") || type == QStringLiteral("SQL_BIT"))
    return !text.isEmpty() && IsIntegerText(text);
  return true;
}

using IdKind = std::pair<int, int>;

std::vector<IdKind> IdsAndKinds(const std::vector<PropertyRow>& rows) {
  std::vector<IdKind> result;
  for (const PropertyRow& row : rows) result.emplace_back(row.Id, row.Kind);
  return result;
}

// A form of one tab holding the control, with one radio group on Note.
class GridTest : public ::testing::Test {
 protected:
  GridTest() { m_form.AddFormTab(0, QStringLiteral("Main")); }

  FormControlInfo* Add(int type, const QString& column = QString()) {
    auto control = std::make_unique<FormControlInfo>();
    control->Type = type;
    control->DataColumn = column;
    FormTabInfo* tab = m_form.GetTab(0);
    return tab->GetControl(tab->AddControl(std::move(control)));
  }
  std::vector<PropertyRow> Rows(const FormControlProperties& control) const {
    return propertyrows::ControlRows(control, m_mapping, m_groups, m_lookup);
  }
  std::optional<Refusal> Commit(FormControlInfo* control, int id, const QString& value) {
    return propertycommit::CommitControl(control, id, value, {kColumns, m_mapping, m_radios, m_others, CheckValue});
  }

  FormInfo m_form;
  std::vector<RadioGroupInfo> m_groups{{QStringLiteral("Group_Note"), QStringLiteral("Note"), 0}};
  QStringList m_actions = GetActionList(0);
  CFormMapping m_mapping{kColumns, m_form, m_groups, m_actions};
  CRadioGroups m_radios{m_groups, m_form, kColumns};
  std::vector<OtherProfile> m_others{{4, QStringLiteral("Parts")}};
  LookupChoices m_lookup{{QStringLiteral("Parts")}, QStringLiteral("Parts"), {QStringLiteral("PartNo")}};
};

}  // namespace

TEST_F(GridTest, RowsPerControlType) {
  const std::vector<IdKind> tail = {{kPropForeColor, kRowButton}, {kPropFontName, kRowDropList}, {kPropFontSize, kRowDropList}};
  struct Case {
    int type;
    std::function<void(FormControlProperties&)> set;
    std::vector<IdKind> rows;
  };
  const auto none = [](FormControlProperties&) {};
  const Case cases[] = {
      {kLabel, none, {{kPropCaption, kRowEdit}, {kPropAlignText, kRowDropList}}},
      {kTextBox, none, {{kPropDataColumn, kRowDropList}, {kPropDefaultValue, kRowEdit}, {kPropReadOnly, kRowDropList}}},
      {kCheckBox, none,
       {{kPropDataColumn, kRowDropList}, {kPropCaption, kRowEdit}, {kPropDefaultValue, kRowDropList},
        {kPropUnChecked, kRowEdit}, {kPropChecked, kRowEdit}, {kPropDisabled, kRowDropList}}},
      {kComboBox, [](FormControlProperties& p) { p.SrcType = kSourceValuedList; },
       {{kPropDataColumn, kRowDropList}, {kPropSourceType, kRowDropList}, {kPropDefaultValue, kRowDropList},
        {kPropAllowItemEdit, kRowDropList}, {kPropDisabled, kRowDropList}}},
      {kComboBox, [](FormControlProperties& p) { p.SrcType = kSourceAnotherProfile; },
       {{kPropDataColumn, kRowDropList}, {kPropSourceType, kRowDropList}, {kPropLookupProfile, kRowDropList},
        {kPropLookupColumn, kRowDropList}, {kPropViewColumn, kRowDropList}, {kPropDisabled, kRowDropList}}},
      {kButton, [](FormControlProperties& p) { p.Action = QStringLiteral("Next"); },
       {{kPropCaption, kRowEdit}, {kPropAction, kRowDropList}, {kPropDisabled, kRowDropList}}},
      {kButton, [](FormControlProperties& p) { p.Action = kGoToFormAction; },
       {{kPropCaption, kRowEdit}, {kPropAction, kRowDropList}, {kPropFormSelection, kRowButton},
        {kPropDisabled, kRowDropList}}},
      {kDateTime, none, {{kPropDataColumn, kRowDropList}, {kPropFormat, kRowDropList}, {kPropDisabled, kRowDropList}}},
      {kRadioButton, none,
       {{kPropCaption, kRowEdit}, {kPropSelected, kRowDropList}, {kPropGroup, kRowDropList},
        {kPropDisabled, kRowDropList}}},
      {kFormulaField, none, {{kPropFormula, kRowButton}, {kPropIsDataColumn, kRowDropList}}},
      {kFormulaField, [](FormControlProperties& p) { p.IsDataCol = 1; },
       {{kPropFormula, kRowButton}, {kPropIsDataColumn, kRowDropList}, {kPropDataColumn, kRowDropList}}},
      {kConditionalField, none, {}},
  };
  for (const Case& c : cases) {
    FormControlProperties control;
    control.Type = c.type;
    c.set(control);
    std::vector<IdKind> expected = c.rows;
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(IdsAndKinds(Rows(control)), expected) << c.type;
  }
}

TEST_F(GridTest, ChoicesOfTheRows) {
  Add(kTextBox, QStringLiteral("Name"));
  FormControlProperties check;
  check.Type = kCheckBox;
  check.DataColumn = QStringLiteral("Flag");
  check.FontFace = 2;
  check.FontSize = 12;
  const std::vector<PropertyRow> rows = Rows(check);
  EXPECT_EQ(rows[0].Choices, (QStringList{QStringLiteral("Age"), QStringLiteral("Flag")})) << "its own plus the free";
  EXPECT_EQ(rows[2].Choices, (QStringList{QStringLiteral("UnChecked"), QStringLiteral("Checked")}));
  EXPECT_EQ(rows[5].Value, QStringLiteral("FALSE"));
  EXPECT_EQ(rows[7].Value, QStringLiteral("Tahoma"));
  EXPECT_EQ(rows[7].Choices.size(), 6);
  EXPECT_EQ(rows[8].Value, QStringLiteral("12"));
  EXPECT_EQ(rows[8].Choices.first(), QStringLiteral("8"));
  EXPECT_EQ(rows[8].Choices.last(), QStringLiteral("20"));

  FormControlProperties button;
  button.Type = kButton;
  button.Action = kGoToFormAction;
  button.GoToForms = {{QStringLiteral("Name"), QStringLiteral("Parts"), QStringLiteral("PartName")}, {}};
  EXPECT_EQ(Rows(button)[2].Value, QStringLiteral("Name,Parts,PartName"));

  const auto form = propertyrows::FormRows(QStringLiteral("Main"), QStringLiteral("Orders"), QStringLiteral("Sales"),
                                           QColor(1, 2, 3));
  EXPECT_EQ(IdsAndKinds(form), (std::vector<IdKind>{{kPropCaption, kRowEdit}, {kPropFormName, kRowEdit},
                                                    {kPropProfileName, kRowEdit}, {kPropFormColor, kRowButton}}));
  EXPECT_TRUE(form[2].ReadOnly);
  const auto group = propertyrows::RadioGroupRows(m_groups[0], m_mapping);
  EXPECT_EQ(group[0].Value, QStringLiteral("Group_Note"));
  EXPECT_EQ(group[1].Choices, (QStringList{QStringLiteral("Age"), QStringLiteral("Note")}));
}

TEST(PropertyGrids, ControlGridCaptions) {
  EXPECT_EQ(propertyrows::ControlGridCaption(kLabel), QStringLiteral("Label Control Properties"));
  EXPECT_EQ(propertyrows::ControlGridCaption(kFormulaField), QStringLiteral("FormulaField Control Properties"));
  EXPECT_EQ(propertyrows::ControlGridCaption(kConditionalField), QStringLiteral("Control Properties"));
}

// Type, column type (through its column), property, value: what is stored, or the message.
TEST_F(GridTest, Commits) {
  SetDateTimeClock([] { return QDateTime(QDate(2026, 1, 2), QTime(13, 0)); });
  const QString notValid = QStringLiteral("Data entered in property is not valid, Please Enter Valid data.");
  const QString notEmpty = QStringLiteral("Property value should not be empty, Please Enter Valid data.");
  struct Case {
    int type;
    QString column;
    int id;
    QString value;
    std::function<QString(const FormControlInfo&)> stored;
    QString refusal;  // empty: the value is taken
  };
  const auto caption = [](const FormControlInfo& c) { return c.Caption; };
  const auto defaultValue = [](const FormControlInfo& c) { return c.DefaultValue; };
  const auto column = [](const FormControlInfo& c) { return c.DataColumn; };
  const QString age = QStringLiteral("Age"), name = QStringLiteral("Name"), flag = QStringLiteral("Flag");
  const Case cases[] = {
      {kLabel, {}, kPropCaption, QStringLiteral("Total"), caption, {}},
      {kLabel, {}, kPropCaption, QStringLiteral("a</b"), caption, notValid},
      {kLabel, {}, kPropCaption, QStringLiteral("<Caption>"), caption, notValid},
      {kLabel, {}, kPropAlignText, QStringLiteral("Center"), [](const FormControlInfo& c) { return QString::number(c.AlignText); }, {}},
      {kLabel, {}, kPropAlignText, QStringLiteral("center"), [](const FormControlInfo& c) { return QString::number(c.AlignText); }, {}},
      {kTextBox, age, kPropDefaultValue, QStringLiteral("42"), defaultValue, {}},
      {kTextBox, age, kPropDefaultValue, QStringLiteral("4x"), defaultValue, notValid},
      {kTextBox, name, kPropDefaultValue, QStringLiteral("4x"), defaultValue, {}},
      {kTextBox, name, kPropDataColumn, age, column, notValid},  // its default "x" is no number
      {kTextBox, age, kPropDataColumn, name, column, {}},
      {kCheckBox, flag, kPropUnChecked, QString(), [](const FormControlInfo& c) { return c.UnChecked; }, notEmpty},
      {kCheckBox, flag, kPropChecked, QStringLiteral("yes"), [](const FormControlInfo& c) { return c.Checked; }, notValid},
      {kCheckBox, flag, kPropChecked, QStringLiteral("7"), [](const FormControlInfo& c) { return c.Checked; }, {}},
      {kCheckBox, flag, kPropDefaultValue, QStringLiteral("Checked"), defaultValue, {}},
      {kCheckBox, flag, kPropDefaultValue, QStringLiteral("Maybe"), defaultValue, notValid},
      {kCheckBox, name, kPropDataColumn, flag, column, notValid},  // its values "n"/"y" are no numbers
      {kTextBox, name, kPropReadOnly, QStringLiteral("TRUE"), [](const FormControlInfo& c) { return QString::number(c.ReadOnly); }, {}},
      {kComboBox, name, kPropSourceType, QStringLiteral("Another Profile"),
       [](const FormControlInfo& c) { return QStringLiteral("%1 %2").arg(c.SrcType).arg(c.ItemEdit); }, {}},
      {kComboBox, name, kPropLookupProfile, QStringLiteral("Parts"), [](const FormControlInfo& c) { return QString::number(c.LkProfileID); }, {}},
      {kButton, {}, kPropAction, QStringLiteral("Last"), [](const FormControlInfo& c) { return c.Action + u'/' + c.Caption; }, {}},
      {kDateTime, {}, kPropFormat, QStringLiteral("Time"),
       [](const FormControlInfo& c) { return QString::number(c.Format) + u' ' + c.Caption; }, {}},
      {kRadioButton, {}, kPropCaption, QStringLiteral("Red"), caption, {}},
      {kFormulaField, {}, kPropIsDataColumn, QStringLiteral("TRUE"), [](const FormControlInfo& c) { return QString::number(c.IsDataCol); }, {}},
      {kLabel, {}, kPropFontName, QStringLiteral("Arial"), [](const FormControlInfo& c) { return QString::number(c.FontFace); }, {}},
      {kLabel, {}, kPropFontName, QStringLiteral("Courier"), [](const FormControlInfo& c) { return QString::number(c.FontFace); }, {}},
      {kLabel, {}, kPropFontSize, QStringLiteral("14"), [](const FormControlInfo& c) { return QString::number(c.FontSize); }, {}},
  };
  const QStringList expectedStored = {
      QStringLiteral("Total"), QStringLiteral("before"), QStringLiteral("before"), QStringLiteral("1"), QStringLiteral("0"),
      QStringLiteral("42"), QStringLiteral("x"), QStringLiteral("4x"), QStringLiteral("Name"), QStringLiteral("Name"),
      QStringLiteral("n"), QStringLiteral("y"), QStringLiteral("7"), QStringLiteral("Checked"), QStringLiteral("UnChecked"),
      QStringLiteral("Name"), QStringLiteral("1"), QStringLiteral("2 0"), QStringLiteral("4"), QStringLiteral("Last/Last"),
      QStringLiteral("2 01:00:00 PM"), QStringLiteral("Red"), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("0"),
      QStringLiteral("14")};
  ASSERT_EQ(std::size(cases), static_cast<size_t>(expectedStored.size()));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << qPrintable(GetPropertyName(c.id)) << " = "
                                    << qPrintable(c.value));
    FormControlInfo* control = Add(c.type, c.column);
    control->Caption = QStringLiteral("before");
    control->DefaultValue = c.type == kCheckBox ? QStringLiteral("UnChecked") : QStringLiteral("x");
    control->UnChecked = QStringLiteral("n");
    control->Checked = QStringLiteral("y");
    control->ItemEdit = 1;
    control->AlignText = 2;
    control->FontFace = 3;
    if (c.id == kPropCaption && c.type == kRadioButton) control->Group = QStringLiteral("Group_Note");
    const std::optional<Refusal> refusal = Commit(control, c.id, c.value);
    EXPECT_EQ(refusal ? refusal->Message : QString(), c.refusal);
    EXPECT_EQ(c.stored(*control), expectedStored[static_cast<qsizetype>(i)]);
    m_form.GetTab(0)->RemoveControl(0);
  }
  SetDateTimeClock(nullptr);
}

TEST_F(GridTest, RefusalsThatNeedTheWholeForm) {
  m_others.clear();
  FormControlInfo* combo = Add(kComboBox, QStringLiteral("Name"));
  combo->SrcType = kSourceValuedList;
  EXPECT_EQ(Commit(combo, kPropSourceType, QStringLiteral("Another Profile")),
            (Refusal{QStringLiteral("Profile's are not available."), true}));
  EXPECT_EQ(combo->SrcType, kSourceValuedList);

  // Every column a formula could take is mapped: it cannot become a data column.
  Add(kTextBox, QStringLiteral("Age"));
  Add(kTextBox, QStringLiteral("Note"));
  FormControlInfo* formula = Add(kFormulaField);
  EXPECT_EQ(Commit(formula, kPropIsDataColumn, QStringLiteral("TRUE")),
            Refusal{QStringLiteral("All the Columns in Profile have already been mapped.")});
  EXPECT_EQ(formula->IsDataCol, 0);
  formula->IsDataCol = 1;
  formula->DataColumn = QStringLiteral("Age");
  EXPECT_EQ(Commit(formula, kPropIsDataColumn, QStringLiteral("FALSE")), std::nullopt);
  EXPECT_EQ(formula->DataColumn, QString());

  // A RadioButton's caption must suit its group's column.
  m_groups.push_back({QStringLiteral("Group_Age"), QStringLiteral("Age"), 1});
  FormControlInfo* radio = Add(kRadioButton);
  radio->Group = QStringLiteral("Group_Age");
  radio->Caption = QStringLiteral("1");
  EXPECT_EQ(Commit(radio, kPropCaption, QStringLiteral("one")), propertycommit::NotValid());
  EXPECT_EQ(radio->Caption, QStringLiteral("1"));

  FormTabInfo* tab = m_form.GetTab(0);
  EXPECT_EQ(propertycommit::CommitForm(&m_form, tab, kPropCaption, QString()),
            Refusal{QStringLiteral("Tab Name should not be empty.")});
  EXPECT_EQ(propertycommit::CommitForm(&m_form, tab, kPropFormName, QString()),
            Refusal{QStringLiteral("Form Name should not be empty.")});
  EXPECT_EQ(propertycommit::CommitForm(&m_form, tab, kPropFormName, QStringLiteral("a</FormName>")),
            propertycommit::NotValid());
  EXPECT_EQ(propertycommit::CommitForm(&m_form, tab, kPropCaption, QStringLiteral("Second")), std::nullopt);
  EXPECT_EQ(tab->GetFormTabTitle(), QStringLiteral("Second"));
  EXPECT_EQ(propertycommit::CommitRadioGroup(m_radios, 0, kPropCaption, QStringLiteral("Group_Age"), CheckValue),
            Refusal{QStringLiteral("Group Name is not unique.")});
}

TEST_F(GridTest, ComboBoxItems) {
  FormControlInfo* combo = Add(kComboBox, QStringLiteral("Name"));
  ASSERT_EQ(propertycommit::AddComboItem(combo, QStringLiteral("one")), std::nullopt);
  ASSERT_EQ(propertycommit::AddComboItem(combo, QStringLiteral("two")), std::nullopt);
  EXPECT_EQ(propertycommit::AddComboItem(combo, QStringLiteral("a</b")), propertycommit::NotValid());
  combo->DefaultValue = QStringLiteral("two");
  EXPECT_EQ(Rows(*combo)[2].Choices, (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
  propertycommit::RemoveComboItem(combo, 0);
  EXPECT_EQ(combo->DefaultValue, QStringLiteral("two"));
  propertycommit::RemoveComboItem(combo, 5);
  propertycommit::RemoveComboItem(combo, 0);
  EXPECT_TRUE(combo->Items.isEmpty());
  EXPECT_EQ(combo->DefaultValue, QString()) << "the removed default is gone";
}
