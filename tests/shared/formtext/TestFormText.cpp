#include "shared/formtext/FormTextReader.h"
#include "shared/formtext/FormTextWriter.h"
#include "shared/soap/XmlTagValue.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

StoredControl Control(int32_t type, int32_t x, int32_t y) {
  StoredControl control;
  control.X = x;
  control.Y = y;
  control.Width = 70;
  control.Height = 25;
  control.Properties.Type = type;
  control.Properties.FontFace = 3;
  control.Properties.FontSize = 12;
  control.Properties.FontStyle = 2;
  control.Properties.TxtR = 10;
  control.Properties.TxtG = 20;
  control.Properties.TxtB = 30;
  control.Properties.Visible = 1;
  return control;
}

// One control of each type, with every property its type stores set to a distinct value.
std::vector<StoredControl> EveryControlType() {
  std::vector<StoredControl> controls;
  StoredControl label = Control(kLabel, 5, 6);
  label.Properties.Caption = QStringLiteral("Name <b> \"quoted\" 'single' é€");
  label.Properties.AlignText = 1;
  controls.push_back(label);

  StoredControl text = Control(kTextBox, 7, 40);
  text.Properties.DataColumn = QStringLiteral("Customer Name");
  text.Properties.DefaultValue = QStringLiteral("none");
  text.Properties.ReadOnly = 1;
  controls.push_back(text);

  StoredControl check = Control(kCheckBox, 8, 80);
  check.Properties.DataColumn = QStringLiteral("Active");
  check.Properties.Caption = QStringLiteral("Active?");
  check.Properties.DefaultValue = QStringLiteral("Checked");
  check.Properties.UnChecked = QStringLiteral("0");
  check.Properties.Checked = QStringLiteral("1");
  check.Properties.Disabled = 1;
  check.Properties.RectDW = 0xFFFFFF;
  check.Properties.MarkDW = 0x0000FF;
  controls.push_back(check);

  StoredControl list = Control(kComboBox, 9, 120);
  list.Properties.DataColumn = QStringLiteral("City");
  list.Properties.SrcType = kSourceValuedList;
  list.Properties.ItemEdit = 1;
  list.Properties.DefaultValue = QStringLiteral("Oslo");
  list.Properties.Items = {QStringLiteral("Oslo"), QStringLiteral("Bergen"), QString()};
  controls.push_back(list);

  StoredControl lookup = Control(kComboBox, 10, 160);
  lookup.Properties.DataColumn = QStringLiteral("CustomerID");
  lookup.Properties.SrcType = kSourceAnotherProfile;
  lookup.Properties.Disabled = 1;
  lookup.Properties.LkProfileID = 12;
  lookup.Properties.LkCol = QStringLiteral("ID");
  lookup.Properties.LkViewCol = QStringLiteral("Name");
  controls.push_back(lookup);

  StoredControl button = Control(kButton, 11, 200);
  button.Properties.Caption = QStringLiteral("Orders");
  button.Properties.Action = kGoToFormAction;
  button.Properties.BgR = 128;
  button.Properties.BgG = 129;
  button.Properties.BgB = 130;
  button.Properties.GoToForms = {{QStringLiteral("ID"), QStringLiteral("Orders"), QStringLiteral("CustomerID")},
                                 {QStringLiteral("Town"), QStringLiteral("Orders"), QStringLiteral("City")}};
  controls.push_back(button);

  StoredControl next = Control(kButton, 12, 240);
  next.Properties.Caption = QStringLiteral("Next");
  next.Properties.Action = QStringLiteral("Next");
  controls.push_back(next);

  StoredControl date = Control(kDateTime, 13, 280);
  date.Properties.DataColumn = QStringLiteral("Born");
  date.Properties.Format = 3;
  date.Properties.Disabled = 1;
  controls.push_back(date);

  StoredControl radio = Control(kRadioButton, 14, 320);
  radio.Properties.Caption = QStringLiteral("Radio");
  radio.Properties.Selected = 1;
  radio.Properties.Group = QStringLiteral("Group_Kind");
  radio.Properties.RectDW = 0xFFFFFF;
  radio.Properties.MarkDW = 0xFF0000;
  controls.push_back(radio);

  StoredControl formula = Control(kFormulaField, 15, 360);
  formula.Properties.Formula = QStringLiteral("IF(Qty<10, Qty<=5, Qty<>3) < 2");
  formula.Properties.IsDataCol = 1;
  formula.Properties.DataColumn = QStringLiteral("Total");
  controls.push_back(formula);

  StoredControl condition = Control(kConditionalField, 16, 400);
  condition.Properties.Formula = QStringLiteral("A > B");
  controls.push_back(condition);

  StoredControl unknown = Control(12, 17, 440);
  controls.push_back(unknown);
  return controls;
}

FormLevelInfo SampleForm() {
  FormLevelInfo form;
  form.Groups = {{QStringLiteral("Group_Kind"), QStringLiteral("Kind"), 2},
                 {QStringLiteral("Group_Size"), QStringLiteral("Size"), 0}};
  form.Height = 480;
  form.Width = 320;
  form.FontSize = 15;
  form.R = 197;
  form.G = 204;
  form.B = 212;
  form.DefaultValues = {{QStringLiteral("Region"), QStringLiteral("North")},
                        {QStringLiteral("Note"), QString()}};
  return form;
}

QString WriteTab(const std::vector<StoredControl>& controls) {
  FormTextWriter writer;
  QString text;
  EXPECT_TRUE(writer.WriteTab(controls, &text)) << writer.ErrorMessage().toStdString();
  return text;
}

QString WriteForm(const FormLevelInfo& form) {
  FormTextWriter writer;
  QString text;
  EXPECT_TRUE(writer.WriteFormLevel(form, &text)) << writer.ErrorMessage().toStdString();
  return text;
}

}  // namespace

TEST(FormText, EmptyFormAndTabHaveTheirExactTexts) {
  FormLevelInfo form;
  form.Height = 400;
  form.Width = 300;
  form.FontSize = 10;
  form.R = 1;
  form.G = 2;
  form.B = 3;
  EXPECT_EQ(WriteForm(form),
            QStringLiteral("<NumOfGrp>0</NumOfGrp><Height>400</Height><Width>300</Width>"
                           "<FontSize>10</FontSize><R>1</R><G>2</G><B>3</B>"
                           "<NumOfFldDefVal>0</NumOfFldDefVal>"));
  EXPECT_EQ(WriteTab({}), QStringLiteral("<TabInfo><NumOfCtrls>0</NumOfCtrls></TabInfo>"));
}

TEST(FormText, SmallFormHasTheExactStoredText) {
  StoredControl label = Control(kLabel, 4, 20);
  label.Properties.Caption = QStringLiteral("OK");
  label.Properties.AlignText = 1;
  StoredControl check = Control(kCheckBox, 4, 60);
  check.Properties.DataColumn = QStringLiteral("Done");
  check.Properties.Caption = QStringLiteral("Done");
  check.Properties.DefaultValue = QStringLiteral("UnChecked");
  check.Properties.UnChecked = QStringLiteral("0");
  check.Properties.Checked = QStringLiteral("1");
  check.Properties.RectDW = 16777215;
  check.Properties.MarkDW = 255;
  const QString common = QStringLiteral(
      "<Width>70</Width><Height>25</Height><FontFace>3</FontFace><FontSize>12</FontSize>"
      "<FontStyle>2</FontStyle><TxtR>10</TxtR><TxtG>20</TxtG><TxtB>30</TxtB><Visible>1</Visible>");
  EXPECT_EQ(WriteTab({label, check}),
            QStringLiteral("<TabInfo><NumOfCtrls>2</NumOfCtrls>"
                           "<ControlInfo><X>4</X><Y>20</Y>") + common +
                QStringLiteral("<Type>1</Type><Caption>OK</Caption><AlignText>1</AlignText>"
                               "</ControlInfo><ControlInfo><X>4</X><Y>60</Y>") + common +
                QStringLiteral("<Type>3</Type><DataColumn>Done</DataColumn><Caption>Done</Caption>"
                               "<DefaultValue>UnChecked</DefaultValue><UnChecked>0</UnChecked>"
                               "<Checked>1</Checked><Disabled>0</Disabled>"
                               "<RectDW>16777215</RectDW><MarkDW>255</MarkDW></ControlInfo></TabInfo>"));
}

TEST(FormText, FormLevelTextRoundTrips) {
  const FormLevelInfo form = SampleForm();
  const QString text = WriteForm(form);
  EXPECT_TRUE(text.startsWith(QStringLiteral(
      "<NumOfGrp>2</NumOfGrp><Name>Group_Kind</Name><DataColumn>Kind</DataColumn>"
      "<NumRdBtn>2</NumRdBtn>")));
  FormTextReader reader;
  FormLevelInfo read;
  reader.ReadFormLevel(text, &read);
  EXPECT_EQ(read, form);
  EXPECT_TRUE(reader.Problems().isEmpty());
}

TEST(FormText, EveryControlTypeRoundTrips) {
  const std::vector<StoredControl> controls = EveryControlType();
  FormTextReader reader;
  const std::vector<StoredControl> read = reader.ReadTab(WriteTab(controls));
  ASSERT_EQ(read.size(), controls.size());
  for (size_t i = 0; i < controls.size(); ++i)
    EXPECT_EQ(read[i], controls[i]) << "control " << i << " of type " << controls[i].Properties.Type;
  EXPECT_TRUE(reader.Problems().isEmpty()) << reader.Problems().join(u'\n').toStdString();
}

TEST(FormText, TypeTagsFollowTheTypeAndItsSettings) {
  struct Case {
    const char* name;
    StoredControl control;
    const char* present;
    const char* absent;
  };
  StoredControl combo = Control(kComboBox, 0, 0);
  combo.Properties.DefaultValue = QStringLiteral("x");
  combo.Properties.Items = {QStringLiteral("x")};
  StoredControl wrongCase = Control(kButton, 0, 0);
  wrongCase.Properties.Action = QStringLiteral("go to form");
  wrongCase.Properties.GoToForms = {{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}};
  StoredControl formula = Control(kFormulaField, 0, 0);
  formula.Properties.DataColumn = QStringLiteral("Total");
  const Case cases[] = {
      {"combo with source 0", combo, "<Disabled>0</Disabled></ControlInfo>", "<DefaultValue>"},
      {"button action differing in case", wrongCase, "<BgB>0</BgB></ControlInfo>", "<NumGoToFrm>"},
      {"formula not stored in a column", formula, "<IsDataCol>0</IsDataCol></ControlInfo>", "<DataColumn>"},
      {"unknown type", Control(12, 0, 0), "<Type>12</Type></ControlInfo>", "<Caption>"},
  };
  for (const Case& c : cases) {
    const QString text = WriteTab({c.control});
    EXPECT_TRUE(text.contains(QString::fromLatin1(c.present))) << c.name;
    EXPECT_FALSE(text.contains(QString::fromLatin1(c.absent))) << c.name;
  }
  FormTextReader reader;
  EXPECT_TRUE(reader.ReadTab(WriteTab({formula}))[0].Properties.DataColumn.isEmpty());
  EXPECT_TRUE(reader.ReadTab(WriteTab({wrongCase}))[0].Properties.GoToForms.empty());
}

TEST(FormText, ValuesThatReadersWouldTakeForTagsAreRefused) {
  const char* refused[] = {"a</b", "</Caption>", "x<Type>3", "<X>", "<Item>", "tail</",
                           "<ControlInfo>", "<NumOfCtrls>"};
  for (const char* value : refused) {
    StoredControl label = Control(kLabel, 0, 0);
    label.Properties.Caption = QString::fromLatin1(value);
    FormTextWriter writer;
    QString text = QStringLiteral("unchanged");
    EXPECT_FALSE(writer.WriteTab({label}, &text)) << value;
    EXPECT_EQ(text, QStringLiteral("unchanged")) << value;
    EXPECT_TRUE(writer.ErrorMessage().contains(QStringLiteral("Caption"))) << value;
  }
  const char* allowed[] = {"<", "a<=b", "a<>b", "<10", "a < b > c", "<Typ", "<type>", "/>", "</"};
  for (const char* value : allowed) {
    const bool isSlash = QString::fromLatin1(value) == QStringLiteral("</");
    StoredControl formula = Control(kFormulaField, 0, 0);
    formula.Properties.Formula = QString::fromLatin1(value);
    FormTextWriter writer;
    QString text;
    EXPECT_EQ(writer.WriteTab({formula}, &text), !isSlash) << value;
  }
  FormLevelInfo form;
  form.DefaultValues = {{QStringLiteral("Col"), QStringLiteral("</FldDefValue>")}};
  FormTextWriter writer;
  QString text;
  EXPECT_FALSE(writer.WriteFormLevel(form, &text));
  EXPECT_TRUE(writer.ErrorMessage().contains(QStringLiteral("FldDefValue")));
}

// The sync program walks the same texts with GetXmlTagValue, element by element in writer order.
TEST(FormText, PlainReaderInWriterOrderReadsTheWrittenValues) {
  QString text = WriteTab(EveryControlType());
  EXPECT_EQ(GetXmlTagValue(&text, QStringLiteral("NumOfCtrls")), QStringLiteral("12"));
  const char* label[] = {"X", "Y", "Width", "Height", "FontFace", "FontSize", "FontStyle",
                         "TxtR", "TxtG", "TxtB", "Visible", "Type", "Caption", "AlignText"};
  QStringList values;
  for (const char* name : label) values << GetXmlTagValue(&text, QString::fromLatin1(name));
  EXPECT_EQ(values.join(u'|'), QStringLiteral("5|6|70|25|3|12|2|10|20|30|1|1|"
                                              "Name <b> \"quoted\" 'single' é€|1"));
  EXPECT_EQ(GetXmlTagValue(&text, QStringLiteral("X")), QStringLiteral("7"));
}

TEST(FormText, ColourComponentsMissingFromTheTextKeepTheStartingColour) {
  FormTextReader reader;
  FormLevelInfo form;
  form.R = 210;
  form.G = 211;
  form.B = 212;
  reader.ReadFormLevel(u"<NumOfGrp>0</NumOfGrp><FontSize>9</FontSize><R>5</R><G></G>", &form);
  EXPECT_EQ(form.R, 5);
  EXPECT_EQ(form.G, 211);
  EXPECT_EQ(form.B, 212);
  EXPECT_EQ(form.FontSize, 9);
  EXPECT_EQ(form.Height, 0);
}

TEST(FormText, StoredCountsNeverOutrunTheRecordsPresent) {
  const QString control = WriteTab({Control(kLabel, 1, 2)}).mid(QStringLiteral("<TabInfo><NumOfCtrls>1</NumOfCtrls>").size());
  FormTextReader reader;
  const auto read = reader.ReadTab(QStringLiteral("<TabInfo><NumOfCtrls>2000000000</NumOfCtrls>") + control);
  EXPECT_EQ(read.size(), 1u);
  EXPECT_EQ(reader.Problems().size(), 1);

  FormLevelInfo form;
  reader.ReadFormLevel(u"<NumOfGrp>999999999</NumOfGrp><Name>G</Name><DataColumn>C</DataColumn>"
                       u"<NumRdBtn>1</NumRdBtn><Height>1</Height><NumOfFldDefVal>2147483647"
                       u"</NumOfFldDefVal>",
                       &form);
  EXPECT_EQ(form.Groups.size(), 1u);
  EXPECT_EQ(form.Height, 1);
  EXPECT_TRUE(form.DefaultValues.empty());
  EXPECT_EQ(reader.Problems().size(), 2);

  StoredControl list = Control(kComboBox, 0, 0);
  list.Properties.SrcType = kSourceValuedList;
  list.Properties.Items = {QStringLiteral("a")};
  QString text = WriteTab({list});
  text.replace(QStringLiteral("<NumOfItem>1<"), QStringLiteral("<NumOfItem>1000000000<"));
  const auto items = reader.ReadTab(text);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].Properties.Items, QStringList{QStringLiteral("a")});
}

TEST(FormText, DamagedControlIsSkippedAndTheOthersRead) {
  const std::vector<StoredControl> controls = EveryControlType();
  QString text = WriteTab(controls);
  text.replace(QStringLiteral("</DataColumn><DefaultValue>none"), QStringLiteral("<DefaultValue>none"));
  FormTextReader reader;
  const auto read = reader.ReadTab(text);
  ASSERT_EQ(read.size(), controls.size() - 1);
  EXPECT_EQ(read[0], controls[0]);
  EXPECT_EQ(read[1], controls[2]) << "the text box with the broken tag is skipped";
  ASSERT_EQ(reader.Problems().size(), 1);
  EXPECT_TRUE(reader.Problems()[0].contains(QStringLiteral("Control 1")));
}

// Whatever point a text is cut at, the reader returns a leading part of what was written and
// says so, and never reads past the end (the sanitizer build checks the latter).
TEST(FormText, TextCutAnywhereYieldsTheWholeRecordsBeforeTheCut) {
  const std::vector<StoredControl> controls = EveryControlType();
  const QString tab = WriteTab(controls);
  FormTextReader reader;
  const qsizetype countTag = QStringLiteral("<TabInfo><NumOfCtrls>").size();
  const qsizetype lastControlEnd = tab.lastIndexOf(QStringLiteral("</ControlInfo>")) + 14;
  for (qsizetype cut = 0; cut < tab.size(); ++cut) {
    const auto read = reader.ReadTab(QStringView(tab).first(cut));
    ASSERT_LE(read.size(), controls.size());
    for (size_t i = 0; i < read.size(); ++i) ASSERT_EQ(read[i], controls[i]) << "cut at " << cut;
    if (cut >= countTag && cut < lastControlEnd) {
      ASSERT_LT(read.size(), controls.size());
      ASSERT_FALSE(reader.Problems().isEmpty()) << "cut at " << cut;
    }
  }
  const FormLevelInfo form = SampleForm();
  const QString formText = WriteForm(form);
  for (qsizetype cut = 0; cut < formText.size(); ++cut) {
    FormLevelInfo read;
    reader.ReadFormLevel(QStringView(formText).first(cut), &read);
    ASSERT_LE(read.Groups.size(), form.Groups.size());
    for (size_t i = 0; i < read.Groups.size(); ++i) ASSERT_EQ(read.Groups[i], form.Groups[i]);
    for (size_t i = 0; i < read.DefaultValues.size(); ++i)
      ASSERT_EQ(read.DefaultValues[i], form.DefaultValues[i]) << "cut at " << cut;
  }
}

// By the device type number the registration stores: 4 iPad, 2 iPhone.
TEST(FormText, DeviceFontOffsetByStoredDeviceType) {
  const std::pair<uint16_t, int> cases[] = {{4, 10}, {2, 5}, {1, 0}, {3, 0}, {0, 0}};
  for (const auto& [stored, offset] : cases) {
    EXPECT_EQ(DeviceFontOffset(static_cast<DeviceType>(stored)), offset) << stored;
  }
}
