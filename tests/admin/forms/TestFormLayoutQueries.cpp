#include "admin/forms/FormLayoutQueries.h"
#include "admin/foundation/FormStatements.h"
#include "shared/formtext/FormTextWriter.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"

#include <initializer_list>
#include <vector>

namespace {

QStringList Names(std::initializer_list<QStringView> names) {
  QStringList list;
  for (QStringView name : names) list << name.toString();
  return list;
}

StoredControl Control(int32_t type, const QString& column = QString()) {
  StoredControl control;
  control.Properties.Type = type;
  control.Properties.DataColumn = column;
  return control;
}

StoredControl ValuedList(const QString& column) {
  StoredControl combo = Control(kComboBox, column);
  combo.Properties.SrcType = kSourceValuedList;
  combo.Properties.Items = {QStringLiteral("a"), QStringLiteral("b")};
  return combo;
}

StoredControl Lookup(const QString& column, int32_t profileId, const QString& lookupColumn, const QString& shown) {
  StoredControl combo = Control(kComboBox, column);
  combo.Properties.SrcType = kSourceAnotherProfile;
  combo.Properties.LkProfileID = profileId;
  combo.Properties.LkCol = lookupColumn;
  combo.Properties.LkViewCol = shown;
  return combo;
}

// A formula or conditional field; its value is stored in `column` when one is given.
StoredControl Computed(int32_t type, const QString& column) {
  StoredControl field = Control(type, column);
  field.Properties.Formula = QStringLiteral("$A+1");
  field.Properties.IsDataCol = column.isEmpty() ? 0 : 1;
  return field;
}

StoredControl Radio(const QString& group) {
  StoredControl radio = Control(kRadioButton);
  radio.Properties.Caption = QStringLiteral("Open");
  radio.Properties.Group = group;
  return radio;
}

QString TabText(const std::vector<StoredControl>& controls) {
  QString text;
  FormTextWriter writer;
  EXPECT_TRUE(writer.WriteTab(controls, &text)) << qPrintable(writer.ErrorMessage());
  return text;
}

QString FormText(const std::vector<RadioGroupInfo>& groups) {
  FormLevelInfo form;
  form.Groups = groups;
  form.Height = 500;
  form.Width = 324;
  QString text;
  FormTextWriter writer;
  EXPECT_TRUE(writer.WriteFormLevel(form, &text)) << qPrintable(writer.ErrorMessage());
  return text;
}

RadioGroupInfo Group(const QString& column) { return {QStringLiteral("Group_") + column, column, 2}; }

class FormLayoutQueriesTest : public SettingsDatabaseTest {
 protected:
  void StoreForm(int32_t formId, int32_t profileId, const QString& formText, const QStringList& tabs) {
    ASSERT_EQ(SaveFormInfo(m_settings, formId, profileId, QStringLiteral("Form %1").arg(formId), formText), 1);
    for (int32_t tab = 0; tab < tabs.size(); ++tab)
      ASSERT_EQ(SaveFormDetails(m_settings, formId, tab, QStringLiteral("Tab %1").arg(tab), tabs[tab]), 1);
  }

  // Profile 5 has forms 1 and 2, profile 7 form 3; profile 9 has none.
  void StoreForms() {
    StoreForm(1, 5, FormText({Group(QStringLiteral("Status"))}),
              {TabText({Control(kLabel), Control(kTextBox, QStringLiteral("Name")),
                        Control(kCheckBox, QStringLiteral("Active")), ValuedList(QStringLiteral("Kind")),
                        Control(kButton), Control(kDateTime, QStringLiteral("Due")), Radio(QStringLiteral("Group_Status")),
                        Computed(kFormulaField, QStringLiteral("Total")), Computed(kConditionalField, QString()),
                        Computed(kConditionalField, QStringLiteral("Flag")), Control(kTextBox)}),
               TabText({Control(kTextBox, QStringLiteral("Name")),
                        Lookup(QStringLiteral("Customer"), 7, QStringLiteral("CustID"), QStringLiteral("CustName"))})});
    StoreForm(2, 5, FormText({Group(QStringLiteral("Region")), Group(QStringLiteral("Status"))}),
              {TabText({Control(kTextBox, QStringLiteral("Notes"))})});
    StoreForm(3, 7, FormText({}),
              {TabText({Lookup(QStringLiteral("Owner"), 5, QStringLiteral("Name"), QStringLiteral("Kind")),
                        Lookup(QStringLiteral("Other"), 55, QStringLiteral("X"), QStringLiteral("Y")),
                        Lookup(QStringLiteral("Again"), 7, QStringLiteral("CustID"), QStringLiteral("City"))})});
  }
};

}  // namespace

TEST_F(FormLayoutQueriesTest, MappedColumnsOfEveryControlTypeAndRadioGroupWithoutRepeats) {
  StoreForms();
  QStringList tabColumns;
  GetFormTabMappedColumns(m_settings, 1, &tabColumns);
  EXPECT_EQ(tabColumns, Names({u"Name", u"Active", u"Kind", u"Due", u"Total", u"Flag", u"Name", u"Customer"}));

  QStringList columns{QStringLiteral("Active")};
  GetFormMappedColumns(m_settings, 5, &columns);
  EXPECT_EQ(columns, Names({u"Active", u"Name", u"Kind", u"Due", u"Total", u"Flag", u"Customer", u"Status", u"Notes",
                                  u"Region"}));

  QStringList none;
  GetFormMappedColumns(m_settings, 9, &none);
  EXPECT_TRUE(none.isEmpty());
}

TEST_F(FormLayoutQueriesTest, LookupColumnsOfAProfileFromAnyFormWithoutRepeats) {
  StoreForms();
  QStringList all;
  GetFormLookupColumns(m_settings, &all, 7);
  EXPECT_EQ(all, Names({u"CustID", u"CustName", u"CustID", u"City"}));

  QStringList columns{QStringLiteral("City")};
  GetLookupColumns(m_settings, 7, &columns);
  EXPECT_EQ(columns, Names({u"City", u"CustID", u"CustName"}));
  QStringList ofFive;
  GetLookupColumns(m_settings, 5, &ofFive);
  EXPECT_EQ(ofFive, Names({u"Name", u"Kind"}));
  QStringList ofNine;
  GetLookupColumns(m_settings, 9, &ofNine);
  EXPECT_TRUE(ofNine.isEmpty());
}

// Texts longer than the buffers they were once read into are read to their end.
TEST_F(FormLayoutQueriesTest, LongTextsAreReadWhole) {
  std::vector<RadioGroupInfo> groups;
  for (int i = 0; i < 60; ++i) groups.push_back(Group(QStringLiteral("Column_%1_").arg(i) + QString(40, u'g')));
  const QString formText = FormText(groups);
  ASSERT_GT(formText.size(), 2048);
  StoredControl label = Control(kLabel);
  label.Properties.Caption = QString(300000, u'x');
  const QString tab = TabText({label, Control(kTextBox, QStringLiteral("Far"))});
  ASSERT_GT(tab.size() * 2, 524240);
  StoreForm(4, 6, formText, {tab});

  QStringList columns;
  GetFormMappedColumns(m_settings, 6, &columns);
  ASSERT_EQ(columns.size(), 61);
  EXPECT_EQ(columns.first(), QStringLiteral("Far"));
  EXPECT_EQ(columns.last(), groups.back().DataColumn);
}

// Counts beyond the records held end the read at the last whole record, with a log line.
TEST_F(FormLayoutQueriesTest, CorruptCountsEndTheReadCleanly) {
  QString tab = TabText({Control(kTextBox, QStringLiteral("Name")), Control(kDateTime, QStringLiteral("Due"))});
  tab.replace(QStringLiteral("<NumOfCtrls>2<"), QStringLiteral("<NumOfCtrls>2000000000<"));
  QString formText = FormText({Group(QStringLiteral("Status"))});
  formText.replace(QStringLiteral("<NumOfGrp>1<"), QStringLiteral("<NumOfGrp>999999999<"));
  StoreForm(4, 6, formText, {tab});

  QStringList columns;
  GetFormMappedColumns(m_settings, 6, &columns);
  EXPECT_EQ(columns, Names({u"Name", u"Due", u"Status"}));
  QStringList texts;
  for (const testsupport::LogEntry& entry : LogEntries()) texts << entry.text;
  EXPECT_TRUE(texts.contains(u"<GetFormTabMappedColumns> NumOfCtrls is 2000000000 but the text holds 2 of them."))
      << qPrintable(texts.join(u'\n'));
  EXPECT_TRUE(texts.contains(u"<GetFormMappedColumns> NumOfGrp is 999999999 but the text holds 1 of them."));
}

TEST_F(FormLayoutQueriesTest, NothingWithoutTheSettingsConnection) {
  StoreForms();
  m_settings.DisconnectDataSource();
  QStringList columns{QStringLiteral("kept")};
  GetFormMappedColumns(m_settings, 5, &columns);
  GetFormTabMappedColumns(m_settings, 1, &columns);
  GetLookupColumns(m_settings, 7, &columns);
  GetFormLookupColumns(m_settings, &columns, 7);
  EXPECT_EQ(columns, QStringList({QStringLiteral("kept")}));
}
