// The designer page driven with real mouse and key events: placing from the toolbox, selecting,
// the tracker, the arrow keys, deleting controls and tabs, tab switching and scrolling.
#include "admin/forms/CanvasGeometry.h"
#include "admin/forms/ControlTracker.h"
#include "admin/forms/DesignerCanvas.h"
#include "admin/forms/FormDesignerDlg.h"
#include "admin/shell/ControlButton.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/StaticExG.h"
#include "admin/shell/TabControl.h"
#include "admin/shell/TarnwickApp.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/DialogScreenshot.h"
#include "tests/support/LogReader.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {

const ProfileColumns kColumns = {{QStringLiteral("Name"), QStringLiteral("SQL_VARCHAR")},
                                 {QStringLiteral("Qty"), QStringLiteral("SQL_INTEGER")},
                                 {QStringLiteral("Active"), QStringLiteral("SQL_BIT")},
                                 {QStringLiteral("Born"), QStringLiteral("SQL_DATE")}};

QStringList Names(std::initializer_list<const char*> names) {
  QStringList list;
  for (const char* name : names) list << QString::fromLatin1(name);
  return list;
}

// An installed administration program on a desktop of the device type (iPhone, iPad) and a
// shown designer page for a new form on a table profile.
class CanvasTest : public ::testing::TestWithParam<uint16_t> {
 protected:
  void SetUp() override {
    m_installation = testsupport::InstallAdmin();
    testsupport::RegisterDesktop(GetParam());
    m_app = std::make_unique<CTarnwickApp>();
    m_app->InitInstance();
    NewPage();
  }
  // A shown designer page for a new form on a table profile.
  void NewPage() {
    recorder().Clear();
    recorder().ScriptAnswers({});
    m_page = std::make_unique<CFormDesignerDlg>();
    m_page->GetDocument().SetProfileColumns(kColumns);
    m_page->GetDocument().SetProfileType(0);
    m_page->GetDocument().GetFormInfo().ProfileName = QStringLiteral("Sales");
    m_page->GetDocument().GetFormInfo().SetFormName(QStringLiteral("Orders"));
    m_page->OnInitDialog();
    m_page->OnSetActive();
    m_page->show();
  }
  void TearDown() override { recorder().ScriptAnswers({}); }

  static testsupport::MessageBoxRecorder& recorder() { return testsupport::MessageBoxRecorder::Global(); }
  CFormDesignerDlg& page() { return *m_page; }
  CDesignerCanvas& canvas() { return *m_page->GetDesignerCanvas(); }
  QRect canvasRect() const { return m_page->GetCanvasRect(); }
  // A point on the canvas, from its top-left (below the tab strip from 30 down).
  QPoint At(int x, int y) const { return canvasRect().topLeft() + QPoint(x, y); }

  void Click(const QPoint& point) { QTest::mouseClick(m_page.get(), Qt::LeftButton, {}, point); }
  void Drag(const QPoint& from, const QPoint& to) {
    QTest::mousePress(m_page.get(), Qt::LeftButton, {}, from);
    QTest::mouseMove(m_page.get(), (from + to) / 2);
    QTest::mouseMove(m_page.get(), to);
    QTest::mouseRelease(m_page.get(), Qt::LeftButton, {}, to);
  }
  void Arm(int type) {
    QTest::mouseClick(m_page->findChild<CStaticExG*>(EntryName(type)), Qt::LeftButton);
  }
  static QString EntryName(int type) {
    static const int ids[] = {1244, 1245, 1246, 1247, 1248, 1250, 1254, 1290, 1294};
    return QString::number(ids[type - 1]);
  }
  // Arms the type in the toolbox and clicks the canvas at the point; the placed control.
  FormControlInfo* PlaceAt(int type, const QPoint& point) {
    Arm(type);
    EXPECT_EQ(page().GetArmedType(), type);
    const FormTabInfo* tab = canvas().CurrentTab();
    const int before = tab->GetControlCount();
    Click(point);
    return tab->GetControlCount() > before ? tab->GetControl(before) : nullptr;
  }
  QRect RectOf(const FormControlInfo* control) { return RectOf(page(), control); }
  static QRect RectOf(const CFormDesignerDlg& designer, const FormControlInfo* control) {
    return designer.WindowOf(*control)->geometry();
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(m_page.get(), key, modifiers);
  }
  void PressButton(int id) { m_page->findChild<QPushButton*>(QString::number(id))->click(); }
  void ClickTab(int index) { QTest::mouseClick(m_page->GetTabControl()->GetTab(index), Qt::LeftButton); }
  bool Logged(const QString& piece) const {
    const auto entries = testsupport::ReadLogEntries(testsupport::TodaysAdminLog(m_installation));
    return !testsupport::EntriesContaining(entries, piece).isEmpty();
  }
  QString StoredTab(int tab) {
    QString text;
    QString error;
    EXPECT_TRUE(m_page->ConstructTabInfo(tab, &text, &error)) << error.toStdString();
    return text;
  }

  QColor SkinColor() const { return *canvas::SkinFormColor(static_cast<DeviceType>(GetParam())); }

  QString m_installation;
  std::unique_ptr<CTarnwickApp> m_app;
  std::unique_ptr<CFormDesignerDlg> m_page;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(PhoneAndTablet, CanvasTest, ::testing::Values(uint16_t{2}, uint16_t{4}));

TEST_P(CanvasTest, APressSelectsTheLastControlNearThePointAndOutsideAllNone) {
  FormControlInfo* first = PlaceAt(kLabel, At(20, 60));
  FormControlInfo* second = PlaceAt(kLabel, At(60, 90));  // overlaps the first's widened reach
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(canvas().GetSelectedControl(), second) << "a placed control is selected";
  Click(At(30, 70));
  EXPECT_EQ(canvas().GetSelectedControl(), first);
  Click(At(62, 86));  // inside the first, and within 6 pixels of the second
  EXPECT_EQ(canvas().GetSelectedControl(), second);
  const CControlTracker* tracker = canvas().GetTracker();
  EXPECT_TRUE(tracker->isVisible());
  EXPECT_EQ(tracker->TrackerRect(), RectOf(second).adjusted(-3, -3, 3, 3));
  Click(At(250, 300));
  EXPECT_EQ(canvas().GetSelectedControl(), nullptr);
  EXPECT_FALSE(tracker->isVisible());
}

TEST_P(CanvasTest, TheTrackerDragsAndResizesInsideTheCanvasOnly) {
  FormControlInfo* label = PlaceAt(kLabel, At(20, 60));
  ASSERT_NE(label, nullptr);
  const QRect placed = RectOf(label);
  EXPECT_EQ(placed.size(), QSize(70, 25));

  Drag(placed.center(), placed.center() + QPoint(30, 40));
  EXPECT_EQ(RectOf(label), placed.translated(30, 40));
  EXPECT_EQ(canvas().GetTracker()->TrackerRect(), placed.translated(30, 40).adjusted(-3, -3, 3, 3));

  const QRect moved = RectOf(label);
  Drag(moved.center(), moved.center() + QPoint(-100, 0));  // the left edge would leave the canvas
  EXPECT_EQ(RectOf(label), moved);
  EXPECT_EQ(canvas().GetTracker()->TrackerRect(), moved.adjusted(-3, -3, 3, 3)) << "the tracker goes back";

  const QPoint handle = canvas().GetTracker()->TrackerRect().bottomRight() + QPoint(3, 3);  // the corner handle
  Drag(handle, handle + QPoint(25, 10));
  EXPECT_EQ(RectOf(label), QRect(moved.topLeft(), moved.size() + QSize(25, 10)));
  const QRect grown = RectOf(label);
  Drag(handle + QPoint(25, 10), handle + QPoint(25, -10));  // lower than 25
  EXPECT_EQ(RectOf(label), grown);
}

TEST_P(CanvasTest, ShiftArrowsResizeDownToTheTypeLimitsAndArrowsMoveByThree) {
  struct Case {
    int type;
    int widenBy;  // dragged wider first, so that steps of 3 can end on the limit
    int minWidth;
  };
  for (const Case c : {Case{kLabel, 1, 20}, Case{kTextBox, 0, 40}}) {
    FormControlInfo* control = PlaceAt(c.type, At(20, 40 + 40 * c.type));
    ASSERT_NE(control, nullptr) << c.type;
    const QPoint rightHandle(canvas().GetTracker()->TrackerRect().right() + 3, RectOf(control).center().y());
    Drag(rightHandle, rightHandle + QPoint(c.widenBy, 0));
    const QRect placed = RectOf(control);
    ASSERT_EQ(placed.width(), 70 + c.widenBy);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    EXPECT_EQ(RectOf(control), placed.translated(3, 3));
    Key(Qt::Key_Left, Qt::ShiftModifier, 30);
    EXPECT_EQ(RectOf(control).width(), c.minWidth) << c.type;
    Key(Qt::Key_Up, Qt::ShiftModifier, 5);
    EXPECT_EQ(RectOf(control).height(), 25) << c.type;
    Key(Qt::Key_Down, Qt::ShiftModifier, 2);
    EXPECT_EQ(RectOf(control).height(), 31);
    EXPECT_EQ(RectOf(control).topLeft(), placed.topLeft() + QPoint(3, 3));
  }
  FormControlInfo* edge = PlaceAt(kLabel, At(2, 300));
  ASSERT_NE(edge, nullptr);
  const QRect atEdge = RectOf(edge);
  Key(Qt::Key_Left);
  EXPECT_EQ(RectOf(edge), atEdge) << "a move that would leave the canvas is refused";
  Key(Qt::Key_Right);
  EXPECT_EQ(RectOf(edge), atEdge.translated(3, 0));
}

TEST_P(CanvasTest, DeleteAsksNoKeepsYesRemovesAndFreesTheColumn) {
  page().GetDocument().SetProfileColumns({{QStringLiteral("Name"), QStringLiteral("SQL_VARCHAR")}});
  FormControlInfo* text = PlaceAt(kTextBox, At(20, 60));
  ASSERT_NE(text, nullptr);
  text->DataColumn = QStringLiteral("Name");  // as the control grid maps it
  page().SetCtrlStatus(kTextBox);
  EXPECT_EQ(page().GetArmedType(), 0) << "the only column is mapped";

  recorder().Clear();
  recorder().ScriptAnswers({platform::IDNO});
  Key(Qt::Key_Delete);
  ASSERT_EQ(recorder().shown().size(), 1);
  EXPECT_EQ(recorder().shown()[0].text, QStringLiteral("Are you sure to Delete Selected Control ?"));
  EXPECT_EQ(recorder().shown()[0].buttons(), platform::MB_YESNO);
  EXPECT_EQ(recorder().shown()[0].defaultButton(), platform::MB_DEFBUTTON2);
  EXPECT_EQ(canvas().CurrentTab()->GetControlCount(), 1);

  recorder().ScriptAnswers({platform::IDYES});
  PressButton(1160);
  EXPECT_EQ(canvas().CurrentTab()->GetControlCount(), 0);
  EXPECT_EQ(canvas().GetSelectedControl(), nullptr);
  EXPECT_FALSE(canvas().GetTracker()->isVisible());
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> <DeleteCtrl> Selected Ctrl's Type 2.")));
  page().SetCtrlStatus(kTextBox);
  EXPECT_EQ(page().GetArmedType(), kTextBox) << "the column is free again";

  recorder().Clear();
  recorder().ScriptAnswers({platform::IDYES});
  PressButton(1160);
  EXPECT_EQ(recorder().shown().size(), 1) << "with nothing selected the question still comes";
}

TEST_P(CanvasTest, DeletingARadioButtonLeavesItsGroupWithoutNegativeCounts) {
  FormControlInfo* radio = PlaceAt(kRadioButton, At(20, 60));
  ASSERT_NE(radio, nullptr);
  ASSERT_EQ(page().GetDocument().GetRadioGroups().size(), 1u);
  EXPECT_EQ(radio->Group, QStringLiteral("Group_Name"));
  EXPECT_EQ(radio->Caption, QStringLiteral("Radio"));
  EXPECT_EQ(page().GetDocument().GetRadioGroups()[0].NumRdBtn, 1);
  FormControlInfo* second = PlaceAt(kRadioButton, At(20, 100));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Group, QStringLiteral("Group_Name")) << "joins the first group";
  EXPECT_EQ(page().GetDocument().GetRadioGroups()[0].NumRdBtn, 2);
  recorder().ScriptAnswers({platform::IDYES});
  Key(Qt::Key_Delete);
  EXPECT_EQ(page().GetDocument().GetRadioGroups()[0].NumRdBtn, 1);
  PlaceAt(kRadioButton, At(20, 140));
  page().GetDocument().GetRadioGroups()[0].NumRdBtn = 1;  // as a stored form with a count too low would give
  PressButton(1154);
  EXPECT_EQ(page().GetDocument().GetRadioGroups()[0].NumRdBtn, 0) << "two buttons leave, the count stops at 0";
}

TEST_P(CanvasTest, TabsAreLimitedToFourAndTheOnlyTabIsReplaced) {
  for (int i = 0; i < 4; ++i) PressButton(1153);
  EXPECT_EQ(page().GetDocument().GetFormInfo().GetTabCount(), 4);
  ASSERT_EQ(recorder().shown().size(), 1);
  EXPECT_EQ(recorder().shown()[0].text, QStringLiteral("Only 4 Tab Form are allowed to create."));
  EXPECT_EQ(recorder().shown()[0].icon(), platform::MB_ICONINFORMATION);

  for (int i = 0; i < 3; ++i) PressButton(1154);
  ASSERT_EQ(page().GetDocument().GetFormInfo().GetTabCount(), 1);
  PlaceAt(kLabel, At(20, 60));
  PressButton(1154);
  EXPECT_EQ(page().GetDocument().GetFormInfo().GetTabCount(), 1) << "a new tab replaces the only one";
  EXPECT_EQ(page().GetTabControl()->GetTabCount(), 1);
  EXPECT_EQ(page().GetDocument().GetFormInfo().GetTab(0)->GetControlCount(), 0);
  EXPECT_EQ(page().GetDocument().GetFormInfo().GetTab(0)->GetFormTabTitle(), QStringLiteral("Sales"));
  EXPECT_EQ(canvas().GetSelectedControl(), nullptr);
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> <DeletePage> Selected Tab's Title \"Sales\".")));
}

TEST_P(CanvasTest, AfterDeleteAndAddPageEachTabShowsItsOwnControls) {
  PressButton(1153);
  PressButton(1153);
  std::vector<FormControlInfo*> placed;
  for (int tab = 0; tab < 3; ++tab) {
    ClickTab(tab);
    ASSERT_EQ(canvas().GetCurrentTab(), tab);
    placed.push_back(PlaceAt(kLabel, At(20, 50 + 40 * tab)));
  }
  ClickTab(1);
  PressButton(1154);  // tab 2 becomes tab 1
  EXPECT_EQ(canvas().GetCurrentTab(), 0);
  PressButton(1153);
  ClickTab(1);
  EXPECT_TRUE(page().WindowOf(*placed[2])->isVisible());
  EXPECT_FALSE(page().WindowOf(*placed[0])->isVisible());
  ClickTab(2);
  EXPECT_EQ(canvas().GetCurrentTab(), 2);
  EXPECT_EQ(canvas().CurrentTab()->GetControlCount(), 0);
  EXPECT_FALSE(page().WindowOf(*placed[2])->isVisible());
  ClickTab(0);
  EXPECT_TRUE(page().WindowOf(*placed[0])->isVisible());
  EXPECT_EQ(canvas().GetSelectedControl(), placed[0]) << "each tab keeps its selection";
}

TEST_P(CanvasTest, ArmingRefusalsShowTheirMessagesAndLogLines) {
  struct Case {
    ProfileColumns columns;
    int type;
    int placedFirst;  // a control of this type takes the one column first (0: none)
    QString message;
    QString code;
  };
  const ProfileColumns bitOnly = {{QStringLiteral("Active"), QStringLiteral("SQL_BIT")}};
  const ProfileColumns oneText = {{QStringLiteral("Name"), QStringLiteral("SQL_VARCHAR")}};
  const QString columns = QStringLiteral("All the Columns in Profile have already been mapped.");
  const Case cases[] = {
      {bitOnly, kTextBox, 0, columns, QStringLiteral("<0>")},
      {bitOnly, kCheckBox, 0, QString(), QString()},
      {oneText, kComboBox, kTextBox, columns, QStringLiteral("<0>")},
      {oneText, kDateTime, 0, QStringLiteral("All the Date Time Columns in Profile have already been mapped."),
       QStringLiteral("<2>")},
      {bitOnly, kRadioButton, 0, columns, QStringLiteral("<3>")},
      {bitOnly, kLabel, 0, QString(), QString()},
      {bitOnly, kFormulaField, 0, QString(), QString()},
  };
  for (const Case& c : cases) {
    NewPage();
    page().GetDocument().SetProfileColumns(c.columns);
    if (c.placedFirst != 0) PlaceAt(c.placedFirst, At(20, 60))->DataColumn = c.columns[0].Name;
    recorder().Clear();
    Arm(c.type);
    if (c.message.isEmpty()) {
      EXPECT_EQ(page().GetArmedType(), c.type);
      EXPECT_TRUE(page().findChild<CStaticExG*>(EntryName(c.type))->HasPressedLook());
      continue;
    }
    EXPECT_EQ(page().GetArmedType(), 0) << c.type;
    ASSERT_EQ(recorder().shown().size(), 1) << c.type;
    EXPECT_EQ(recorder().shown()[0].text, c.message);
    EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> <SetCtrlStatus> %1 %2").arg(c.code, c.message)));
  }
}

TEST_P(CanvasTest, ButtonsTakeEachActionOnceButGoToFormAlways) {
  page().GetDocument().SetProfileType(1);
  page().OnSetActive();
  const QStringList offered = page().GetDocument().GetActionList();
  EXPECT_EQ(offered, Names({"First", "Previous", "Next", "Last", "Find", "Go To Form", "Go To Record"}));
  // Each Button is captioned with the first action no Button carries yet, which it then takes.
  const QStringList captions = Names({"First", "Previous", "Next", "Last", "Find", "Go To Form", "Go To Form"});
  for (int i = 0; i < offered.size(); ++i) {
    FormControlInfo* button = PlaceAt(kButton, At(10 + 80 * (i % 3), 40 + 30 * (i / 3)));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption, captions[i]);
    button->Action = offered[i];
  }
  recorder().Clear();
  for (int i = 0; i < 5; ++i) {
    FormControlInfo* button = PlaceAt(kButton, At(10 + 80 * (i % 3), 200 + 30 * (i / 3)));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption, QStringLiteral("Go To Form"));
    button->Action = QStringLiteral("Go To Form");
  }
  EXPECT_TRUE(recorder().shown().isEmpty());

  page().OnSetActive();
  EXPECT_EQ(page().GetDocument().GetActionList(), offered) << "a view profile on every visit";
  page().GetDocument().SetProfileType(0);
  page().OnSetActive();
  EXPECT_EQ(page().GetDocument().GetActionList().size(), 10);
}

TEST_P(CanvasTest, EachTypeIsPlacedWithItsDefaults) {
  for (int type = kLabel; type <= kConditionalField; ++type) {
    FormControlInfo* control = PlaceAt(type, At(10 + 80 * ((type - 1) % 3), 40 + 30 * ((type - 1) / 3)));
    ASSERT_NE(control, nullptr) << type;
    EXPECT_EQ(RectOf(control).size(), QSize(70, 25));
    EXPECT_EQ(control->Visible, 1);
    EXPECT_EQ(control->FontSize, 10);
    EXPECT_EQ(page().GetArmedType(), 0) << "placing disarms";
    EXPECT_FALSE(page().findChild<CStaticExG*>(EntryName(type))->HasPressedLook());
  }
  const FormTabInfo* tab = canvas().CurrentTab();
  EXPECT_EQ(tab->GetControl(0)->Caption, QStringLiteral("Label"));
  EXPECT_EQ(tab->GetControl(0)->AlignText, 2);
  EXPECT_EQ(tab->GetControl(2)->DefaultValue, QStringLiteral("UnChecked"));
  EXPECT_EQ(tab->GetControl(3)->SrcType, 1);
  EXPECT_EQ(tab->GetControl(4)->Caption, QStringLiteral("First"));
  EXPECT_EQ(tab->GetControl(5)->Format, 1);
  EXPECT_EQ(tab->GetControl(6)->Group, QStringLiteral("Group_Name"));
  EXPECT_EQ(tab->GetControl(6)->Caption, QStringLiteral("Radio"));
  EXPECT_EQ(qobject_cast<CControlButton*>(page().WindowOf(*tab->GetControl(6)))->GetWindowText(), QStringLiteral("Radio"));
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> <PlaceCtrl> CtrlType : 9")));
}

TEST_P(CanvasTest, AClickNearTheEdgeOrOnAControlPlacesNothingAndDisarms) {
  FormControlInfo* label = PlaceAt(kLabel, At(20, 60));
  ASSERT_NE(label, nullptr);
  const QPoint points[] = {At(20, 60) + QPoint(10, 10), At(canvasRect().width() - 30, 100),
                           At(20, canvasRect().height() - 10), canvasRect().topLeft() - QPoint(20, 0)};
  for (const QPoint& point : points) {
    EXPECT_EQ(PlaceAt(kTextBox, point), nullptr);
    EXPECT_EQ(page().GetArmedType(), 0);
  }
  EXPECT_EQ(canvas().CurrentTab()->GetControlCount(), 1);
}

TEST_P(CanvasTest, ScrollingAndTheArrowButtonsNeverChangeStoredPositions) {
  FormControlInfo* top = PlaceAt(kLabel, At(20, 60));
  FormControlInfo* low = PlaceAt(kLabel, At(20, canvasRect().height() - 60));
  ASSERT_NE(top, nullptr);
  ASSERT_NE(low, nullptr);
  QScrollBar* bar = page().GetScrollBar();
  EXPECT_GT(bar->maximum(), 0) << "a control near the bottom grows the canvas";
  const QString stored = StoredTab(0);
  const QRect shown = RectOf(top);

  PressButton(1236);
  PressButton(1236);
  EXPECT_EQ(canvas().CurrentTab()->VerticalOffset, 10);
  EXPECT_EQ(RectOf(top), shown.translated(0, -10));
  EXPECT_EQ(StoredTab(0), stored);
  for (int i = 0; i < 4; ++i) PressButton(1235);
  EXPECT_EQ(canvas().CurrentTab()->VerticalOffset, 0) << "\"A\" stops at the top";
  EXPECT_EQ(RectOf(top), shown);

  bar->setValue(bar->maximum());
  EXPECT_EQ(canvas().CurrentTab()->VerticalOffset, bar->maximum());
  EXPECT_FALSE(page().WindowOf(*top)->isVisible()) << "scrolled out of the canvas";
  EXPECT_EQ(StoredTab(0), stored);
  PressButton(1153);
  ClickTab(1);
  EXPECT_EQ(bar->value(), 0);
  ClickTab(0);
  EXPECT_EQ(bar->value(), canvas().CurrentTab()->VerticalOffset);
  bar->setValue(0);
  EXPECT_EQ(RectOf(top), shown);
  EXPECT_EQ(StoredTab(0), stored);
}

TEST_P(CanvasTest, AnEditBoxKeepsTheArrowKeys) {
  FormControlInfo* label = PlaceAt(kLabel, At(20, 60));
  ASSERT_NE(label, nullptr);
  const QRect placed = RectOf(label);
  auto* edit = new QLineEdit(&page());
  edit->show();
  QTest::keyClick(edit, Qt::Key_Left);
  QTest::keyClick(edit, Qt::Key_Delete);
  EXPECT_EQ(RectOf(label), placed);
  EXPECT_TRUE(recorder().shown().isEmpty());
  delete edit;
  Key(Qt::Key_Left);
  EXPECT_EQ(RectOf(label), placed.translated(-3, 0));
}

TEST_P(CanvasTest, TheCanvasPaintsTheFormColourAndTheTrackerItsHatchAndHandles) {
  FormControlInfo* label = PlaceAt(kLabel, At(40, 80));
  ASSERT_NE(label, nullptr);
  const QImage image = page().grab().toImage();
  EXPECT_EQ(QColor(image.pixel(At(200, 300))), SkinColor());
  const QRect tracker = canvas().GetTracker()->TrackerRect();
  EXPECT_EQ(QColor(image.pixel(tracker.topLeft() - QPoint(3, 3))), QColor(Qt::black)) << "the top-left handle";
  EXPECT_EQ(QColor(image.pixel(tracker.bottomRight() + QPoint(3, 3))), QColor(Qt::black)) << "the bottom-right handle";
  int black = 0;
  int other = 0;
  for (int x = tracker.left() + 10; x < tracker.right() - 10; ++x)
    for (int y = tracker.top(); y < tracker.top() + 3; ++y) (QColor(image.pixel(x, y)) == Qt::black ? black : other)++;
  EXPECT_GT(black, 0) << "the band is hatched";
  EXPECT_GT(other, 0) << "the band is hatched, not filled";
  EXPECT_EQ(QColor(image.pixel(tracker.topLeft() - QPoint(8, 8))), SkinColor()) << "nothing beyond the handles";
}

TEST_P(CanvasTest, ANewFormStartsAgainOnEveryVisit) {
  PressButton(1153);
  PlaceAt(kRadioButton, At(20, 60));
  page().GetDocument().GetDefaultValues().push_back({QStringLiteral("Qty"), QStringLiteral("1")});
  Arm(kLabel);
  page().OnSetActive();
  EXPECT_EQ(page().GetDocument().GetFormInfo().GetTabCount(), 1);
  EXPECT_EQ(page().GetTabControl()->GetTabCount(), 1);
  EXPECT_EQ(page().GetDocument().GetFormInfo().GetTab(0)->GetControlCount(), 0);
  EXPECT_TRUE(page().GetDocument().GetRadioGroups().empty());
  EXPECT_TRUE(page().GetDocument().GetDefaultValues().empty());
  EXPECT_EQ(page().GetRadioGroupList()->count(), 0);
  EXPECT_EQ(page().GetArmedType(), 0);
  EXPECT_FALSE(page().findChild<CStaticExG*>(EntryName(kLabel))->HasPressedLook());
  EXPECT_EQ(canvas().GetSelectedControl(), nullptr);
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> OnSetActive New Form.")));
}

TEST_P(CanvasTest, ThePageShowsItsCaptionsHintTitleAndHelp) {
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> Start OnInitDialog.")));
  EXPECT_TRUE(Logged(GetParam() == 2 ? QStringLiteral("<FormDesignerDlg> <SetControl> Device Type : IPhone")
                                     : QStringLiteral("<FormDesignerDlg> <SetControl> Device Type : IPad")));
  EXPECT_TRUE(Logged(QStringLiteral("<FormDesignerDlg> End OnInitDialog.")));
  const auto* hint = page().findChild<QLabel*>(QStringLiteral("1270"));
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->text(),
            QStringLiteral("To Move Controls, use Arrow Keys\r\nTo Resize Controls, use Shift + Arrow Keys"));
  EXPECT_EQ(hint->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_EQ(hint->palette().color(QPalette::Window), QColor(177, 189, 205));
  for (const char* id : {"1227", "1231", "1238"})
    EXPECT_EQ(page().findChild<QLabel*>(QString::fromLatin1(id))->palette().color(QPalette::WindowText),
              QColor(Qt::black));
  const auto* title = page().findChild<QLabel*>(QStringLiteral("1240"));
  EXPECT_EQ(title->text(), QStringLiteral("Orders"));
  EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(Qt::white));
  EXPECT_EQ(title->font().family(), QStringLiteral("Verdana"));
  EXPECT_EQ(title->font().pointSize(), 10);
  for (const char* id : {"1161", "1162", "1163", "1164", "1269", "1274", "1275", "1276", "1278"})
    EXPECT_NE(page().findChild<QWidget*>(QString::fromLatin1(id)), nullptr) << id;
  for (int type = kLabel; type <= kConditionalField; ++type)
    PlaceAt(type, At(10 + 90 * ((type - 1) % 3), 50 + 40 * ((type - 1) / 3)));
  testsupport::SaveDialogScreenshot(page(), QStringLiteral("FormDesignerDlg-%1.png").arg(GetParam()));

  QList<int> topics;
  SetHelpBalloonOpener([&](int topic, QPoint position) {
    topics.append(topic);
    EXPECT_EQ(position, HelpBalloonPosition(&page(), BalloonAnchor::WizardPage));
  });
  page().OnHelp();
  SetHelpBalloonOpener({});
  EXPECT_EQ(topics, QList<int>{31});
}

TEST_P(CanvasTest, AFormReadBackShowsEveryControlWhereItWasPlaced) {
  FormControlInfo* label = PlaceAt(kLabel, At(20, 60));
  FormControlInfo* low = PlaceAt(kTextBox, At(100, canvasRect().height() - 40));
  PressButton(1153);
  ClickTab(1);
  FormControlInfo* button = PlaceAt(kButton, At(50, 120));
  ASSERT_TRUE(label != nullptr && low != nullptr && button != nullptr);
  Drag(RectOf(button).center(), RectOf(button).center() + QPoint(10, 20));
  ClickTab(0);
  PressButton(1236);
  page().GetScrollBar()->setValue(page().GetScrollBar()->maximum());
  const int scrolled = canvas().CurrentTab()->VerticalOffset;
  ASSERT_GT(scrolled, 5);

  QString formText;
  QString error;
  ASSERT_TRUE(page().ConstructFormInfo(&formText, &error));
  std::vector<FormDetailsRow> rows;
  for (int t = 0; t < 2; ++t) rows.push_back({0, t, page().GetDocument().GetFormInfo().GetTab(t)->GetFormTabTitle(), StoredTab(t)});

  CFormDesignerDlg reopened;
  reopened.GetDocument().GetFormInfo().FormText = formText;
  ASSERT_TRUE(reopened.LoadFormTabs(rows));
  reopened.GetDesignerCanvas()->Reset();
  const QPoint shift = reopened.GetCanvasRect().topLeft() - canvasRect().topLeft();
  EXPECT_EQ(RectOf(reopened, reopened.GetDocument().GetFormInfo().GetTab(0)->GetControl(0)), RectOf(label).translated(shift + QPoint(0, scrolled)));
  EXPECT_EQ(RectOf(reopened, reopened.GetDocument().GetFormInfo().GetTab(0)->GetControl(1)), RectOf(low).translated(shift + QPoint(0, scrolled)));
  EXPECT_EQ(RectOf(reopened, reopened.GetDocument().GetFormInfo().GetTab(1)->GetControl(0)), RectOf(button).translated(shift));
  EXPECT_EQ(reopened.GetDocument().GetFormInfo().GetTab(1)->GetControl(0)->Caption, QStringLiteral("First"));
  EXPECT_EQ(reopened.GetScrollBar()->value(), 0);
  EXPECT_GT(reopened.GetScrollBar()->maximum(), 0) << "the canvas reaches the low control";
}

TEST_P(CanvasTest, ThePropertyGridsHearOfEveryChangeOnTheCanvas) {
  QStringList heard;
  CDesignerCanvas* events = &canvas();
  QObject::connect(events, &CDesignerCanvas::SelectionChanging, [&] { heard << QStringLiteral("changing"); });
  QObject::connect(events, &CDesignerCanvas::ControlSelected,
                   [&](FormControlInfo* c) { heard << (c != nullptr ? QStringLiteral("selected") : QStringLiteral("none")); });
  QObject::connect(events, &CDesignerCanvas::ControlPlaced, [&](FormControlInfo*) { heard << QStringLiteral("placed"); });
  QObject::connect(events, &CDesignerCanvas::ControlMoved, [&](FormControlInfo*) { heard << QStringLiteral("moved"); });
  QObject::connect(events, &CDesignerCanvas::ControlDeleted, [&] { heard << QStringLiteral("deleted"); });
  QObject::connect(events, &CDesignerCanvas::TabSwitched, [&](int tab) { heard << QStringLiteral("tab %1").arg(tab); });

  FormControlInfo* label = PlaceAt(kLabel, At(20, 60));
  ASSERT_NE(label, nullptr);
  Key(Qt::Key_Down);
  Click(At(250, 300));
  PressButton(1153);
  ClickTab(1);
  ClickTab(0);
  Click(RectOf(label).center());
  Key(Qt::Key_Delete);
  EXPECT_EQ(heard, Names({"changing", "selected", "placed", "moved", "changing", "none", "changing", "tab 1", "changing",
                          "tab 0", "changing", "selected", "changing", "none", "deleted"}));

  const QRect strip = page().GetTabControl()->geometry();
  Arm(kLabel);
  Click(QPoint(strip.right() - 5, strip.center().y()));  // the strip's free part, inside the canvas
  EXPECT_EQ(canvas().CurrentTab()->GetControlCount(), 0);
  EXPECT_EQ(page().GetArmedType(), kLabel) << "a press on the strip is none on the canvas";
}
