#include "admin/forms/FormDesignerDlg.h"
#include "admin/shell/ControlButton.h"
#include "admin/shell/TabControl.h"
#include "admin/shell/TarnwickApp.h"
#include "shared/formtext/FormTextWriter.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/LogReader.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QScrollBar>

#include <cmath>
#include <memory>

namespace {

// An installed administration program with a registered desktop of the given device type, its
// application object, and a designer page.
class DesignerTest : public ::testing::Test {
 protected:
  void Start(uint16_t deviceType) {
    m_installation = testsupport::InstallAdmin();
    testsupport::RegisterDesktop(deviceType);
    m_app = std::make_unique<CTarnwickApp>();
    m_app->InitInstance();
  }
  void SetUp() override { Start(1); }

  bool Logged(const QString& piece) const {
    const auto entries = testsupport::ReadLogEntries(testsupport::TodaysAdminLog(m_installation));
    return !testsupport::EntriesContaining(entries, piece).isEmpty();
  }

  QString m_installation;
  std::unique_ptr<CTarnwickApp> m_app;
};

// Places a control on a tab of the designer at a rectangle relative to the canvas, then gives
// it `properties` (its type included) as the designer would after editing.
FormControlInfo* Place(CFormDesignerDlg& designer, int tab, const QRect& rect, const FormControlProperties& properties) {
  auto control = std::make_unique<FormControlInfo>();
  control->Type = properties.Type;
  const QRect canvas = designer.GetCanvasRect();
  designer.PlaceCtrl(control.get(), canvas.left() + rect.left(), canvas.top() + rect.top(),
                     canvas.left() + rect.left() + rect.width(), canvas.top() + rect.top() + rect.height());
  static_cast<FormControlProperties&>(*control) = properties;
  FormTabInfo* formTab = designer.GetDocument().GetFormInfo().GetTab(tab);
  return formTab->GetControl(formTab->AddControl(std::move(control)));
}

FormControlProperties Props(int32_t type) {
  FormControlProperties p;
  p.Type = type;
  p.Visible = 1;
  p.FontFace = type % 6;
  p.FontSize = 8 + type;
  p.FontStyle = type % 4;
  p.TxtR = 10 * type;
  p.TxtG = 20;
  p.TxtB = 30;
  return p;
}

// A form with three tabs that between them hold every control type.
void BuildForm(CFormDesignerDlg& designer) {
  FormInfo& form = designer.GetDocument().GetFormInfo();
  form.FontSize = 8;
  designer.SetFormColor(QColor(197, 204, 212));
  designer.GetDocument().GetRadioGroups() = {{QStringLiteral("Group_Kind"), QStringLiteral("Kind"), 1}};
  designer.GetDocument().GetDefaultValues() = {{QStringLiteral("Region"), QStringLiteral("North")}};
  for (int t = 0; t < 3; ++t) form.AddFormTab(t, QStringLiteral("Tab %1").arg(t));

  FormControlProperties label = Props(kLabel);
  label.Caption = QStringLiteral("Customer 100%2 <b>");
  label.AlignText = 1;
  Place(designer, 0, QRect(4, 40, 120, 25), label);
  FormControlProperties check = Props(kCheckBox);
  check.DataColumn = QStringLiteral("Active");
  check.Caption = QStringLiteral("Active");
  check.DefaultValue = QStringLiteral("Checked");
  check.UnChecked = QStringLiteral("N");
  check.Checked = QStringLiteral("Y");
  check.RectDW = 0xFFFFFF;
  check.MarkDW = 0x0000FF;
  Place(designer, 0, QRect(4, 80, 120, 25), check);
  FormControlProperties combo = Props(kComboBox);
  combo.DataColumn = QStringLiteral("City");
  combo.SrcType = kSourceValuedList;
  combo.DefaultValue = QStringLiteral("Oslo");
  combo.Items = {QStringLiteral("Oslo"), QStringLiteral("Bergen")};
  Place(designer, 0, QRect(4, 120, 120, 25), combo);

  FormControlProperties button = Props(kButton);
  button.Caption = QStringLiteral("Orders");
  button.Action = kGoToFormAction;
  button.BgR = button.BgG = button.BgB = 128;
  button.GoToForms = {{QStringLiteral("ID"), QStringLiteral("Orders"), QStringLiteral("CustomerID")}};
  Place(designer, 1, QRect(10, 40, 80, 30), button);
  FormControlProperties date = Props(kDateTime);
  date.DataColumn = QStringLiteral("Born");
  date.Format = 2;
  Place(designer, 1, QRect(10, 900, 100, 25), date);  // below the first screen of the canvas
  FormControlProperties radio = Props(kRadioButton);
  radio.Caption = QStringLiteral("Radio");
  radio.Selected = 1;
  radio.Group = QStringLiteral("Group_Kind");
  radio.RectDW = 0xFFFFFF;
  radio.MarkDW = 0xFF0000;
  Place(designer, 1, QRect(10, 120, 100, 25), radio);

  FormControlProperties text = Props(kTextBox);
  text.DataColumn = QStringLiteral("Name");
  text.DefaultValue = QStringLiteral("none");
  text.ReadOnly = 1;
  Place(designer, 2, QRect(0, 40, 70, 25), text);
  FormControlProperties formula = Props(kFormulaField);
  formula.Formula = QStringLiteral("IF(Qty<10, 1, 0)");
  formula.IsDataCol = 1;
  formula.DataColumn = QStringLiteral("Small");
  Place(designer, 2, QRect(0, 80, 70, 25), formula);
  FormControlProperties condition = Props(kConditionalField);
  condition.Formula = QStringLiteral("A<>B");
  Place(designer, 2, QRect(0, 120, 70, 25), condition);
}

// The stored rows of the designer's form, as the settings database would hold them.
std::vector<FormDetailsRow> StoredRows(CFormDesignerDlg& designer, QString* formText) {
  QString error;
  EXPECT_TRUE(designer.ConstructFormInfo(formText, &error)) << error.toStdString();
  std::vector<FormDetailsRow> rows;
  for (int t = 0; t < designer.GetDocument().GetFormInfo().GetTabCount(); ++t) {
    FormDetailsRow row;
    row.TabID = t;
    row.TabTitle = designer.GetDocument().GetFormInfo().GetTab(t)->GetFormTabTitle();
    EXPECT_TRUE(designer.ConstructTabInfo(t, &row.TabFormInfo, &error)) << error.toStdString();
    rows.push_back(row);
  }
  return rows;
}

QImage Render(QWidget* widget) {
  QImage image(widget->size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  widget->render(&image);
  return image;
}

CControlButton* WindowOf(CFormDesignerDlg& designer, int tab, int control) {
  return qobject_cast<CControlButton*>(designer.WindowOf(*designer.GetDocument().GetFormInfo().GetTab(tab)->GetControl(control)));
}

}  // namespace

class DesignerRoundTrip : public DesignerTest, public ::testing::WithParamInterface<int> {
  void SetUp() override { Start(static_cast<uint16_t>(GetParam())); }
};

TEST_P(DesignerRoundTrip, FormComesBackAsItWasWritten) {
  CFormDesignerDlg written;
  BuildForm(written);
  QString formText;
  const std::vector<FormDetailsRow> rows = StoredRows(written, &formText);

  // The stored font sizes carry the device's offset.
  const int offset = GetParam() == 4 ? 10 : GetParam() == 2 ? 5 : 0;
  EXPECT_TRUE(formText.contains(QStringLiteral("<FontSize>%1</FontSize>").arg(8 + offset)));
  EXPECT_TRUE(rows[0].TabFormInfo.contains(QStringLiteral("<FontSize>%1</FontSize>").arg(9 + offset)));

  CFormDesignerDlg read;
  read.GetDocument().GetFormInfo().FormText = formText;
  ASSERT_TRUE(read.LoadFormTabs(rows));
  EXPECT_EQ(read.GetDocument().GetRadioGroups(), written.GetDocument().GetRadioGroups());
  EXPECT_EQ(read.GetDocument().GetDefaultValues(), written.GetDocument().GetDefaultValues());
  EXPECT_EQ(read.GetDocument().GetFormInfo().FontSize, 8);
  EXPECT_EQ(read.GetDocument().GetFormColor(), QColor(197, 204, 212));
  EXPECT_EQ(read.GetRadioGroupList()->currentText(), QStringLiteral("Group_Kind"));
  ASSERT_EQ(read.GetDocument().GetFormInfo().GetTabCount(), 3);
  for (int t = 0; t < 3; ++t) {
    const FormTabInfo* before = written.GetDocument().GetFormInfo().GetTab(t);
    const FormTabInfo* after = read.GetDocument().GetFormInfo().GetTab(t);
    EXPECT_EQ(after->GetFormTabTitle(), before->GetFormTabTitle());
    ASSERT_EQ(after->GetControlCount(), before->GetControlCount());
    for (int c = 0; c < before->GetControlCount(); ++c) {
      const FormControlInfo& expected = *before->GetControl(c);
      const FormControlInfo& actual = *after->GetControl(c);
      EXPECT_EQ(static_cast<const FormControlProperties&>(actual), static_cast<const FormControlProperties&>(expected))
          << "tab " << t << " control " << c;
      EXPECT_EQ(read.WindowOf(actual)->geometry(), written.WindowOf(expected)->geometry()) << "tab " << t << " control " << c;
      EXPECT_TRUE(read.WindowOf(actual)->isHidden()) << "the canvas shows a tab's controls when it is chosen";
    }
  }
  // Written again, the loaded form gives the same texts.
  QString again;
  EXPECT_EQ(StoredRows(read, &again)[1].TabFormInfo, rows[1].TabFormInfo);
  EXPECT_EQ(again, formText);
}

INSTANTIATE_TEST_SUITE_P(DeviceTypes, DesignerRoundTrip, ::testing::Values(1, 2, 3, 4));

// The canvas is as wide as the device's screen, and the page holds it with its scroll bar.
TEST_P(DesignerRoundTrip, TheCanvasIsTheDeviceScreenWide) {
  CFormDesignerDlg designer;
  EXPECT_EQ(designer.GetCanvasRect().width(), GetParam() == 4 ? 768 : 320);
  EXPECT_TRUE(designer.rect().contains(designer.GetScrollBar()->geometry()));
  const QColor skin = GetParam() == 2 ? QColor(197, 204, 212) : GetParam() == 4 ? QColor(233, 233, 233) : QColor(Qt::white);
  EXPECT_EQ(designer.GetDocument().GetFormColor(), skin);
}

TEST_F(DesignerTest, ArmingRefusesWithItsMessageAndTheSameTypeDisarms) {
  testsupport::MessageBoxRecorder::Global().Clear();
  CFormDesignerDlg designer;
  designer.GetDocument().SetProfileColumns({{QStringLiteral("Name"), QStringLiteral("SQL_VARCHAR")}});
  designer.GetDocument().BuildActionList(1);
  designer.SetCtrlStatus(kTextBox);
  EXPECT_EQ(designer.GetArmedType(), kTextBox);
  designer.SetCtrlStatus(kTextBox);
  EXPECT_EQ(designer.GetArmedType(), 0) << "the armed type again disarms";
  designer.SetCtrlStatus(kLabel);
  designer.SetCtrlStatus(-1);
  EXPECT_EQ(designer.GetArmedType(), 0);
  designer.SetCtrlStatus(kDateTime);
  EXPECT_EQ(designer.GetArmedType(), 0);
  const auto& shown = testsupport::MessageBoxRecorder::Global().shown();
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0].text, QStringLiteral("All the Date Time Columns in Profile have already been mapped."));
  EXPECT_EQ(shown[0].type & 0xF0, platform::MB_ICONINFORMATION);
  EXPECT_TRUE(Logged(QStringLiteral(
      "<FormDesignerDlg> <SetCtrlStatus> <2> All the Date Time Columns in Profile have already been mapped.")));
}

TEST_F(DesignerTest, AFormHasFourTabsAtMost) {
  testsupport::MessageBoxRecorder::Global().Clear();
  CFormDesignerDlg designer;
  designer.GetDocument().GetFormInfo().ProfileName = QStringLiteral("Sales");
  for (int i = 0; i < 5; ++i) designer.AddPage();
  EXPECT_EQ(designer.GetDocument().GetFormInfo().GetTabCount(), 4);
  EXPECT_EQ(designer.GetTabControl()->GetTabCount(), 4);
  EXPECT_EQ(designer.GetDocument().GetFormInfo().GetTab(3)->GetFormTabTitle(), QStringLiteral("Sales"));
  const auto& shown = testsupport::MessageBoxRecorder::Global().shown();
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0].text, QStringLiteral("Only 4 Tab Form are allowed to create."));
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> <AddPage> Only %d Tab Form are allowed to create.")));
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> <AddPage> Tab Title \"Sales\".")));
}

TEST_F(DesignerTest, APlacedButtonIsCaptionedWithTheFirstFreeAction) {
  CFormDesignerDlg designer;
  designer.GetDocument().BuildActionList(0);
  designer.GetDocument().GetFormInfo().AddFormTab(0, QString());
  FormControlProperties first = Props(kButton);
  first.Action = QStringLiteral("First");
  Place(designer, 0, QRect(0, 40, 70, 25), first);
  FormControlInfo button;
  button.Type = kButton;
  designer.PlaceCtrl(&button, 240, 100, 310, 125);
  EXPECT_EQ(button.Caption, QStringLiteral("Previous"));
  EXPECT_EQ(button.Action, QString());
  EXPECT_EQ(qobject_cast<CControlButton*>(designer.WindowOf(button))->GetWindowText(), QStringLiteral("Previous"));
}

TEST_F(DesignerTest, LoadedControlsShowTheirStoredLook) {
  CFormDesignerDlg written;
  BuildForm(written);
  FormControlProperties unchecked = Props(kCheckBox);
  unchecked.DefaultValue = QStringLiteral("checked");  // differs only in case: not checked
  Place(written, 0, QRect(4, 160, 120, 25), unchecked);
  QString formText;
  const auto rows = StoredRows(written, &formText);
  CFormDesignerDlg read;
  read.GetDocument().GetFormInfo().FormText = formText;
  ASSERT_TRUE(read.LoadFormTabs(rows));

  const CControlButton* label = WindowOf(read, 0, 0);
  EXPECT_EQ(label->GetWindowText(), QStringLiteral("Customer 100%2 <b>"));
  EXPECT_EQ(label->GetAlignText(), QStringLiteral("Center"));
  EXPECT_EQ(label->font().family(), QStringLiteral("Times New Roman"));
  EXPECT_EQ(label->font().pixelSize(), static_cast<int>(std::lround(9.0 * label->logicalDpiY() / 72)));
  EXPECT_FALSE(label->font().bold());
  EXPECT_TRUE(label->font().italic());
  EXPECT_EQ(label->GetTextColor(), QColor(10, 20, 30));

  CControlButton* check = WindowOf(read, 0, 1);
  EXPECT_EQ(check->font().family(), QStringLiteral("Arial"));
  EXPECT_TRUE(check->font().bold());
  EXPECT_TRUE(check->font().italic());
  EXPECT_TRUE(check->IsChecked());
  const QImage checked = Render(check);
  EXPECT_EQ(checked.pixelColor(13, 13), QColor(255, 0, 0)) << "the tick of a checked box";
  EXPECT_EQ(checked.pixelColor(17, 14), QColor(255, 0, 0));
  CControlButton* notChecked = WindowOf(read, 0, 3);
  EXPECT_FALSE(notChecked->IsChecked());
  EXPECT_EQ(Render(notChecked).pixelColor(13, 13), QColor(Qt::white));

  CControlButton* radio = WindowOf(read, 1, 2);
  EXPECT_TRUE(radio->IsChecked());
  EXPECT_EQ(Render(radio).pixelColor(14, 12), QColor(0, 0, 255));
  EXPECT_EQ(WindowOf(read, 1, 0)->GetBackgroundColor(), QColor(128, 128, 128));
  EXPECT_EQ(WindowOf(read, 0, 2)->GetWindowText(), QStringLiteral("Oslo"));
  EXPECT_TRUE(WindowOf(read, 1, 1)->GetWindowText().endsWith(QStringLiteral("M"))) << "time with AM or PM";
}

TEST_F(DesignerTest, TabsAreAddedInStoredOrderAndTheFirstIsSelected) {
  CFormDesignerDlg written;
  BuildForm(written);
  QString formText;
  std::vector<FormDetailsRow> rows = StoredRows(written, &formText);
  rows[0].TabID = 4;  // damaged numbering: the position decides
  rows[1].TabID = 4;
  rows[2].TabID = 9;
  CFormDesignerDlg read;
  read.GetDocument().GetFormInfo().FormText = formText;
  ASSERT_TRUE(read.LoadFormTabs(rows));
  ASSERT_EQ(read.GetDocument().GetFormInfo().GetTabCount(), 3);
  for (int t = 0; t < 3; ++t) {
    EXPECT_EQ(read.GetDocument().GetFormInfo().GetTab(t)->TabIndex, t);
    EXPECT_EQ(read.GetDocument().GetFormInfo().GetTab(t)->GetFormTabTitle(), QStringLiteral("Tab %1").arg(t));
    EXPECT_EQ(read.GetTabControl()->GetTab(t)->GetWindowText(), QStringLiteral("Tab %1").arg(t));
  }
  EXPECT_EQ(read.GetDocument().GetFormInfo().GetTab(1)->GetControlCount(), 3);
  EXPECT_EQ(read.GetTabControl()->GetSelectedTab(), 0);
  EXPECT_TRUE(Logged(QStringLiteral("The tab stored with TabID 9 is read as tab 2.")));
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> <RetreveTabInfo> Tab Title : Tab 1")));
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> <RetrieveTabInfo> Button, Caption : Orders, Action : Go To Form")));
}

TEST_F(DesignerTest, ScrolledControlIsStoredFromTheTopOfTheTab) {
  CFormDesignerDlg designer;
  designer.GetDocument().GetFormInfo().AddFormTab(0, QStringLiteral("Main"));
  designer.GetDocument().GetFormInfo().GetTab(0)->VerticalOffset = 120;
  Place(designer, 0, QRect(7, 50, 70, 25), Props(kLabel));
  QString text, error;
  ASSERT_TRUE(designer.ConstructTabInfo(0, &text, &error));
  EXPECT_TRUE(text.contains(QStringLiteral("<X>7</X><Y>170</Y><Width>70</Width><Height>25</Height>"))) << text.toStdString();
  EXPECT_FALSE(designer.ConstructTabInfo(1, &text, &error));
}

TEST_F(DesignerTest, LoadedControlsFarDownGrowTheCanvasUntilTheyFit) {
  CFormDesignerDlg designer;
  const int height = designer.GetCanvasRect().height();
  const QString tab = QStringLiteral(
      "<TabInfo><NumOfCtrls>1</NumOfCtrls><ControlInfo><X>0</X><Y>%1</Y><Width>70</Width>"
      "<Height>25</Height><FontFace>0</FontFace><FontSize>10</FontSize><FontStyle>0</FontStyle>"
      "<TxtR>0</TxtR><TxtG>0</TxtG><TxtB>0</TxtB><Visible>1</Visible><Type>1</Type>"
      "<Caption>far</Caption><AlignText>0</AlignText></ControlInfo></TabInfo>").arg(3 * height);
  ASSERT_TRUE(designer.LoadFormTabs({{0, 0, QStringLiteral("Main"), tab}}));
  EXPECT_GE(designer.GetTabScrollMax(0), 3 * height + 25 + 100);
  EXPECT_LT(designer.GetTabScrollMax(0), 3 * height + 25 + 100 + height);
  EXPECT_EQ(designer.GetScrollBar()->maximum(), designer.GetTabScrollMax(0) - height);
  EXPECT_EQ(designer.GetScrollBar()->value(), 0);
}

TEST_F(DesignerTest, ANewFormIsStoredWithFontSizeTen) {
  CFormDesignerDlg designer;
  QString formText;
  QString error;
  ASSERT_TRUE(designer.ConstructFormInfo(&formText, &error)) << error.toStdString();
  EXPECT_TRUE(formText.contains(QStringLiteral("<FontSize>10</FontSize>"))) << formText.toStdString();
}

TEST_F(DesignerTest, PlaceCtrlGivesANewControlItsTypeDefaults) {
  CFormDesignerDlg designer;
  designer.GetDocument().GetFormInfo().AddFormTab(0, QString());
  FormControlInfo check;
  check.Type = kCheckBox;
  designer.PlaceCtrl(&check, 240, 100, 310, 125);
  ASSERT_TRUE(designer.WindowOf(check));
  EXPECT_EQ(designer.WindowOf(check)->geometry(), QRect(240, 100, 70, 25));
  EXPECT_EQ(check.DefaultValue, QStringLiteral("UnChecked"));
  EXPECT_EQ(check.UnChecked, QStringLiteral("0"));
  EXPECT_EQ(check.Checked, QStringLiteral("1"));
  EXPECT_EQ(check.RectDW, 0xFFFFFFu);
  EXPECT_EQ(check.MarkDW, 0x0000FFu);
  EXPECT_EQ(check.Visible, 1);
  EXPECT_EQ(check.FontSize, 10);
  EXPECT_EQ(qobject_cast<CControlButton*>(designer.WindowOf(check))->GetWindowText(), QStringLiteral("Check"));
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> <PlaceCtrl> CtrlType : 3")));

  FormControlInfo label;
  label.Type = kLabel;
  designer.PlaceCtrl(&label, 240, 140, 310, 165);
  EXPECT_EQ(label.Caption, QStringLiteral("Label"));
  EXPECT_EQ(label.AlignText, 2);

  FormControlInfo unknown;
  unknown.Type = 10;
  designer.PlaceCtrl(&unknown, 240, 180, 310, 205);
  EXPECT_FALSE(designer.WindowOf(unknown));
}

TEST_F(DesignerTest, TextsThatWouldCorruptTheFormAreRefused) {
  CFormDesignerDlg designer;
  designer.GetDocument().GetFormInfo().AddFormTab(0, QStringLiteral("Main"));
  FormControlProperties label = Props(kLabel);
  label.Caption = QStringLiteral("a</Caption>b");
  Place(designer, 0, QRect(0, 40, 70, 25), label);
  QString text = QStringLiteral("untouched"), error;
  EXPECT_FALSE(designer.ConstructTabInfo(0, &text, &error));
  EXPECT_EQ(text, QStringLiteral("untouched"));
  EXPECT_TRUE(error.contains(QStringLiteral("Caption"))) << error.toStdString();
  EXPECT_TRUE(error.contains(QStringLiteral("Main")));

  designer.GetDocument().GetRadioGroups() = {{QStringLiteral("Group_<Type>"), QStringLiteral("Kind"), 0}};
  EXPECT_FALSE(designer.ConstructFormInfo(&text, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("<Type>")));
}

TEST_F(DesignerTest, DamagedStoredTextsEndTheReadCleanly) {
  CFormDesignerDlg written;
  BuildForm(written);
  QString formText;
  std::vector<FormDetailsRow> rows = StoredRows(written, &formText);
  rows[0].TabFormInfo.truncate(rows[0].TabFormInfo.indexOf(QStringLiteral("<Caption>Active")) + 12);
  rows[1].TabFormInfo.replace(QStringLiteral("<NumOfCtrls>3<"), QStringLiteral("<NumOfCtrls>2000000000<"));
  CFormDesignerDlg read;
  read.GetDocument().GetFormInfo().FormText = formText.left(formText.indexOf(QStringLiteral("<B>")) + 4);
  read.SetFormColor(QColor(1, 2, 3));
  EXPECT_FALSE(read.LoadFormTabs(rows));
  EXPECT_EQ(read.GetDocument().GetFormColor(), QColor(197, 204, 3)) << "the missing blue keeps the designer's";
  EXPECT_TRUE(read.GetDocument().GetDefaultValues().empty());
  EXPECT_EQ(read.GetDocument().GetFormInfo().GetTab(0)->GetControlCount(), 1) << "the label before the cut";
  EXPECT_EQ(read.GetDocument().GetFormInfo().GetTab(1)->GetControlCount(), 3);
  EXPECT_EQ(read.GetDocument().GetFormInfo().GetTab(2)->GetControlCount(), 3);
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> <RetrieveTabInfo> Control 1 is cut short")));
  EXPECT_TRUE(Logged(QStringLiteral("NumOfCtrls is 2000000000 but the text holds 3 of them.")));
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> <RetrieveFormInfo> The form text is cut at <B>.")));
}

class DesignerForIPad : public DesignerTest {
  void SetUp() override { Start(4); }
};

// Numbers at the ends of the 32-bit range, as a damaged text may hold them, are read without
// any sum overflowing: rectangles are kept to what a window can take, font sizes stay at the end.
TEST_F(DesignerForIPad, StoredNumbersAtTheEndsOfTheRangeAreReadWithoutOverflow) {
  FormLevelInfo level;
  level.FontSize = INT32_MIN;
  StoredControl far;
  far.X = INT32_MAX;
  far.Y = INT32_MAX - 50;
  far.Width = INT32_MAX;
  far.Height = -25;
  far.Properties = Props(kLabel);
  far.Properties.FontSize = INT32_MIN;
  StoredControl large = far;
  large.X = large.Y = INT32_MIN;
  large.Properties.FontSize = INT32_MAX;
  FormTextWriter writer;
  QString formText, tabText;
  ASSERT_TRUE(writer.WriteFormLevel(level, &formText));
  ASSERT_TRUE(writer.WriteTab({far, large}, &tabText));

  CFormDesignerDlg designer;
  designer.GetDocument().GetFormInfo().FormText = formText;
  ASSERT_TRUE(designer.LoadFormTabs({{0, 0, QStringLiteral("Main"), tabText}}));
  EXPECT_EQ(designer.GetDocument().GetFormInfo().FontSize, INT32_MIN);
  const FormTabInfo* tab = designer.GetDocument().GetFormInfo().GetTab(0);
  ASSERT_EQ(tab->GetControlCount(), 2);
  EXPECT_EQ(tab->GetControl(0)->FontSize, INT32_MIN);
  EXPECT_EQ(tab->GetControl(1)->FontSize, INT32_MAX - 10);
  const QRect canvas = designer.GetCanvasRect();
  EXPECT_EQ(designer.WindowOf(*tab->GetControl(0))->geometry(),
            QRect(canvas.left() + QWIDGETSIZE_MAX, canvas.top() + QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, 0));
  EXPECT_EQ(designer.WindowOf(*tab->GetControl(1))->geometry().topLeft(),
            QPoint(canvas.left() - QWIDGETSIZE_MAX, canvas.top() - QWIDGETSIZE_MAX));
  EXPECT_GE(designer.GetTabScrollMax(0), QWIDGETSIZE_MAX + 100);

  QString again, error;
  EXPECT_TRUE(designer.ConstructFormInfo(&again, &error)) << error.toStdString();
  EXPECT_TRUE(designer.ConstructTabInfo(0, &again, &error)) << error.toStdString();
  EXPECT_TRUE(again.contains(QStringLiteral("<FontSize>%1</FontSize>").arg(INT32_MAX))) << "the large size comes back";
}
