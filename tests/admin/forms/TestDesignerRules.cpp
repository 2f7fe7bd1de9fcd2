#include "admin/forms/ButtonActions.h"
#include "admin/forms/CanvasGeometry.h"
#include "admin/forms/FormMapping.h"
#include "admin/forms/NewControlDefaults.h"
#include "admin/forms/TabCanvas.h"
#include "admin/foundation/FormCodes.h"
#include "admin/foundation/FormInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A column per SQL type family.
const ProfileColumns kColumns = {
    {QStringLiteral("Name"), QStringLiteral("SQL_VARCHAR")},   {QStringLiteral("Age"), QStringLiteral("SQL_INTEGER")},
    {QStringLiteral("Active"), QStringLiteral("SQL_BIT")},     {QStringLiteral("Born"), QStringLiteral("SQL_DATE")},
    {QStringLiteral("Seen"), QStringLiteral("SQL_TIMESTAMP")}, {QStringLiteral("Price"), QStringLiteral("SQL_DOUBLE")},
};

void Add(FormInfo& form, int tab, int type, const QString& column, const QString& action = QString()) {
  while (form.GetTabCount() <= tab) form.AddFormTab(form.GetTabCount(), QStringLiteral("Tab"));
  auto control = std::make_unique<FormControlInfo>();
  control->Type = type;
  control->DataColumn = column;
  control->Action = action;
  form.GetTab(tab)->AddControl(std::move(control));
}

// Maps every column but those named, spread over two tabs.
void MapAllBut(FormInfo& form, const QStringList& unmapped) {
  int tab = 0;
  for (const ProfileColumn& column : kColumns) {
    if (unmapped.contains(column.Name)) continue;
    Add(form, tab, CFormMapping::IsDateTimeType(column.SqlType) ? kDateTime : kTextBox, column.Name);
    tab = 1 - tab;
  }
}

}  // namespace

TEST(DesignerRules, ArmingRefusesTypesWithNothingLeftToMap) {
  struct Case {
    const char* name;
    std::function<void(FormInfo&, std::vector<RadioGroupInfo>&)> form;
    int type;
    int refusal;  // the log code, -1 for none
  };
  const QStringList actions = GetActionList(0);
  const auto nothing = [](FormInfo&, std::vector<RadioGroupInfo>&) {};
  const Case cases[] = {
      {"empty form, text box", nothing, kTextBox, -1},
      {"only a bit column free, check box", [](FormInfo& f, auto&) { MapAllBut(f, {QStringLiteral("Active")}); },
       kCheckBox, -1},
      {"only a bit column free, text box", [](FormInfo& f, auto&) { MapAllBut(f, {QStringLiteral("Active")}); },
       kTextBox, 0},
      {"only a bit column free, combo box", [](FormInfo& f, auto&) { MapAllBut(f, {QStringLiteral("Active")}); },
       kComboBox, 0},
      {"only a date free, text box", [](FormInfo& f, auto&) { MapAllBut(f, {QStringLiteral("Born")}); }, kTextBox, 0},
      {"a date free, date time", [](FormInfo& f, auto&) { MapAllBut(f, {QStringLiteral("Born")}); }, kDateTime, -1},
      {"dates mapped, date time", [](FormInfo& f, auto&) { MapAllBut(f, {QStringLiteral("Name")}); }, kDateTime, 2},
      {"a radio group holds the last column",
       [](FormInfo& f, std::vector<RadioGroupInfo>& g) {
         MapAllBut(f, {QStringLiteral("Price")});
         g.push_back({QStringLiteral("Group_Price"), QStringLiteral("Price"), 0});
       },
       kTextBox, 0},
      {"no group, nothing free, radio button", [](FormInfo& f, auto&) { MapAllBut(f, {QStringLiteral("Active")}); },
       kRadioButton, 3},
      {"a group, nothing free, radio button",
       [](FormInfo& f, std::vector<RadioGroupInfo>& g) {
         MapAllBut(f, {});
         g.push_back({QStringLiteral("Group_Name"), QString(), 1});
       },
       kRadioButton, -1},
      {"labels, buttons and radio buttons map nothing",
       [](FormInfo& f, auto&) {
         MapAllBut(f, {QStringLiteral("Name")});
         Add(f, 0, kLabel, QStringLiteral("Name"));
         Add(f, 0, kButton, QStringLiteral("Name"));
         Add(f, 0, kRadioButton, QStringLiteral("Name"));
       },
       kTextBox, -1},
      {"every column mapped, label", [](FormInfo& f, auto&) { MapAllBut(f, {}); }, kLabel, -1},
      {"every column mapped, formula", [](FormInfo& f, auto&) { MapAllBut(f, {}); }, kFormulaField, -1},
      {"every action but Go To Form taken, button",
       [actions](FormInfo& f, auto&) {
         for (const QString& action : actions) Add(f, 0, kButton, QString(), action);
       },
       kButton, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormInfo form;
    std::vector<RadioGroupInfo> groups;
    c.form(form, groups);
    const std::optional<ArmRefusal> refusal = CFormMapping(kColumns, form, groups, actions).CheckArming(c.type);
    EXPECT_EQ(refusal ? refusal->Code : -1, c.refusal);
  }
  const FormInfo empty;
  const std::vector<RadioGroupInfo> noGroups;
  const QStringList noActions;
  EXPECT_EQ(CFormMapping(kColumns, empty, noGroups, noActions).CheckArming(kButton),
            (ArmRefusal{1, QStringLiteral("All the Button Actions have already been mapped.")}));
  const ProfileColumns noDates = {{QStringLiteral("Name"), QStringLiteral("SQL_VARCHAR")}};
  const ArmRefusal dates = *CFormMapping(noDates, empty, noGroups, actions).CheckArming(kDateTime);
  EXPECT_EQ(dates.LogText(), QStringLiteral("<FormDesignerDlg> <SetCtrlStatus> <2> All the Date Time Columns in "
                                            "Profile have already been mapped."));
  FormInfo mapped;
  MapAllBut(mapped, {});
  EXPECT_EQ(CFormMapping(kColumns, mapped, noGroups, actions).CheckArming(kComboBox)->Message,
            QStringLiteral("All the Columns in Profile have already been mapped."));
}

TEST(DesignerRules, FreeColumnsAndActions) {
  FormInfo form;
  Add(form, 0, kTextBox, QStringLiteral("Name"));
  Add(form, 1, kCheckBox, QStringLiteral("Active"));
  Add(form, 1, kDateTime, QStringLiteral("Born"));
  for (int i = 0; i < 5; ++i) Add(form, i % 2, kButton, QString(), kGoToFormAction);
  Add(form, 0, kButton, QString(), QStringLiteral("Next"));
  const std::vector<RadioGroupInfo> groups = {{QStringLiteral("Group_Age"), QStringLiteral("Age"), 0}};
  const QStringList actions = GetActionList(0);
  const CFormMapping mapping(kColumns, form, groups, actions);
  EXPECT_EQ(mapping.ColumnsInUse(), (QStringList{QStringLiteral("Name"), QStringLiteral("Active"),
                                                 QStringLiteral("Born"), QStringLiteral("Age")}));
  EXPECT_EQ(mapping.FreeColumns(kTextBox), QStringList{QStringLiteral("Price")});
  EXPECT_EQ(mapping.FreeColumns(kTextBox, QStringLiteral("Name")),
            (QStringList{QStringLiteral("Name"), QStringLiteral("Price")}));
  EXPECT_EQ(mapping.FreeColumns(kCheckBox, QStringLiteral("Active")),
            (QStringList{QStringLiteral("Active"), QStringLiteral("Price")}));
  EXPECT_EQ(mapping.FreeColumns(kDateTime), QStringList{QStringLiteral("Seen")});
  const QStringList free = mapping.FreeActions();
  EXPECT_FALSE(free.contains(QStringLiteral("Next")));
  EXPECT_TRUE(free.contains(kGoToFormAction)) << "five Buttons carry it, a sixth may";
  EXPECT_EQ(free.size(), actions.size() - 1);
  EXPECT_TRUE(mapping.FreeActions(QStringLiteral("Next")).contains(QStringLiteral("Next")));
}

TEST(DesignerRules, ActionsByProfileType) {
  const QStringList all = {QStringLiteral("First"), QStringLiteral("Previous"), QStringLiteral("Next"),
                           QStringLiteral("Last"),  QStringLiteral("New"),      QStringLiteral("Edit"),
                           QStringLiteral("Delete"), QStringLiteral("Find"),    QStringLiteral("Go To Form"),
                           QStringLiteral("Go To Record")};
  EXPECT_EQ(GetActionList(0), all);
  QStringList withoutWrites = all;
  withoutWrites.removeAll(QStringLiteral("New"));
  withoutWrites.removeAll(QStringLiteral("Edit"));
  withoutWrites.removeAll(QStringLiteral("Delete"));
  EXPECT_EQ(GetActionList(1), withoutWrites);
  EXPECT_EQ(GetActionList(2), withoutWrites);
}

TEST(DesignerRules, DefaultsOfEveryType) {
  SetDateTimeClock([] { return QDateTime(QDate(2026, 3, 4), QTime(9, 0)); });
  struct Case {
    int type;
    std::function<void(FormControlProperties&)> expect;
  };
  const Case cases[] = {
      {kLabel, [](FormControlProperties& p) { p.Caption = QStringLiteral("Label"); p.AlignText = 2; }},
      {kTextBox, [](FormControlProperties&) {}},
      {kCheckBox,
       [](FormControlProperties& p) {
         p.DefaultValue = QStringLiteral("UnChecked");
         p.UnChecked = QStringLiteral("0");
         p.Checked = QStringLiteral("1");
         p.RectDW = 0xFFFFFF;
         p.MarkDW = 0x0000FF;
       }},
      {kComboBox, [](FormControlProperties& p) { p.SrcType = 1; }},
      {kButton,
       [](FormControlProperties& p) {
         p.Caption = QStringLiteral("Previous");
         p.BgR = p.BgG = p.BgB = 128;
         p.TxtR = p.TxtG = p.TxtB = 255;
       }},
      {kDateTime, [](FormControlProperties& p) { p.Format = 1; p.Caption = QStringLiteral("03/04/2026"); }},
      {kRadioButton, [](FormControlProperties& p) { p.RectDW = 0xFFFFFF; p.MarkDW = 0xFF0000; }},
      {kFormulaField, [](FormControlProperties&) {}},
      {kConditionalField, [](FormControlProperties&) {}},
  };
  for (const Case& c : cases) {
    FormControlProperties expected;
    expected.Type = c.type;
    expected.Visible = 1;
    expected.FontSize = 10;
    c.expect(expected);
    FormControlProperties made;
    made.Type = c.type;
    SetNewControlDefaults(&made, QStringLiteral("Previous"));
    EXPECT_EQ(made, expected) << c.type;
  }
  SetDateTimeClock(nullptr);
}

TEST(DesignerRules, SizeLimitsPlacementAndHitTest) {
  const QRect canvas(100, 50, 320, 400);
  struct FitCase {
    int type;
    QRect rect;
    bool fits;
  };
  const FitCase fits[] = {
      {kLabel, QRect(100, 50, 20, 25), true},       {kLabel, QRect(100, 50, 19, 25), false},
      {kButton, QRect(100, 50, 20, 25), true},      {kCheckBox, QRect(100, 50, 29, 25), false},
      {kRadioButton, QRect(100, 50, 30, 25), true}, {kTextBox, QRect(100, 50, 39, 25), false},
      {kTextBox, QRect(100, 50, 40, 25), true},     {kDateTime, QRect(100, 50, 40, 24), false},
      {kTextBox, QRect(100, 50, 320, 400), true},   {kTextBox, QRect(99, 50, 70, 25), false},
      {kTextBox, QRect(351, 50, 70, 25), false},    {kTextBox, QRect(350, 425, 70, 25), true},
      {kTextBox, QRect(350, 426, 70, 25), false},
  };
  for (const FitCase& c : fits)
    EXPECT_EQ(canvas::Fits(c.type, c.rect, canvas), c.fits) << c.type << " " << c.rect.x() << "," << c.rect.y()
                                                           << " " << c.rect.width() << "x" << c.rect.height();
  // Shift+Left until nothing changes: a Label stops at 20, a TextBox at 40; Shift+Up stops at 25.
  struct KeyCase {
    int type;
    int key;
    QSize start;
    QSize end;
  };
  const KeyCase keys[] = {
      {kLabel, Qt::Key_Left, QSize(71, 25), QSize(20, 25)},
      {kTextBox, Qt::Key_Left, QSize(70, 25), QSize(40, 25)},
      {kCheckBox, Qt::Key_Left, QSize(70, 25), QSize(31, 25)},
      {kTextBox, Qt::Key_Up, QSize(70, 40), QSize(70, 25)},
      {kTextBox, Qt::Key_Right, QSize(70, 25), QSize(316, 25)},
      {kTextBox, Qt::Key_Down, QSize(70, 25), QSize(70, 400)},
  };
  for (const KeyCase& c : keys) {
    QRect rect(QPoint(102, 50), c.start);
    while (const std::optional<QRect> next = canvas::MoveByKey(c.type, rect, c.key, true, canvas)) rect = *next;
    EXPECT_EQ(rect.size(), c.end) << c.type << " " << c.key;
  }
  EXPECT_EQ(canvas::MoveByKey(kTextBox, QRect(102, 50, 70, 25), Qt::Key_Left, false, canvas), std::nullopt);
  EXPECT_EQ(canvas::MoveByKey(kTextBox, QRect(103, 50, 70, 25), Qt::Key_Left, false, canvas), QRect(100, 50, 70, 25));
  EXPECT_EQ(canvas::MoveByKey(kTextBox, QRect(103, 50, 70, 25), Qt::Key_Down, false, canvas), QRect(103, 53, 70, 25));
  EXPECT_EQ(canvas::MoveByKey(kTextBox, QRect(103, 50, 70, 25), Qt::Key_Delete, false, canvas), std::nullopt);

  const std::vector<QRect> previews = {QRect(150, 100, 70, 25), QRect(180, 110, 70, 25)};
  EXPECT_EQ(canvas::PlacementRect(QPoint(100, 50), canvas, previews), QRect(100, 50, 70, 25));
  EXPECT_EQ(canvas::PlacementRect(QPoint(350, 425), canvas, previews), QRect(350, 425, 70, 25));
  EXPECT_FALSE(canvas::PlacementRect(QPoint(351, 60), canvas, previews)) << "too near the right edge";
  EXPECT_FALSE(canvas::PlacementRect(QPoint(200, 426), canvas, previews)) << "too near the bottom";
  EXPECT_FALSE(canvas::PlacementRect(QPoint(160, 105), canvas, previews)) << "on a preview";

  EXPECT_EQ(canvas::HitTest(QPoint(190, 115), previews), 1) << "overlap: the last wins";
  EXPECT_EQ(canvas::HitTest(QPoint(160, 105), previews), 0);
  EXPECT_EQ(canvas::HitTest(QPoint(144, 94), previews), 0) << "6 pixels outside still hits";
  EXPECT_EQ(canvas::HitTest(QPoint(143, 94), previews), -1);
  EXPECT_EQ(canvas::HitTest(QPoint(255, 140), previews), 1);
  EXPECT_EQ(canvas::HitTest(QPoint(256, 140), previews), -1);
  EXPECT_EQ(canvas::HitTest(QPoint(10, 10), {}), -1);
}

TEST(DesignerRules, CanvasSizesAndTabLimit) {
  EXPECT_EQ(canvas::CanvasSize(DeviceType::IPhone).width(), 320);
  EXPECT_EQ(canvas::CanvasSize(DeviceType::BlackBerry).width(), 320);
  EXPECT_EQ(canvas::CanvasSize(DeviceType::IPad).width(), 768);
  EXPECT_EQ(canvas::SkinFormColor(DeviceType::IPhone), QColor(197, 204, 212));
  EXPECT_EQ(canvas::SkinFormColor(DeviceType::IPad), QColor(233, 233, 233));
  EXPECT_EQ(canvas::SkinFormColor(DeviceType::PocketPc), std::nullopt);
  EXPECT_EQ(canvas::TooManyTabsMessage(), QStringLiteral("Only 4 Tab Form are allowed to create."));
}

TEST(DesignerRules, CanvasGrowthAndArrowScrolling) {
  CTabCanvas tab(400);
  EXPECT_EQ(tab.Reach(), 400);
  EXPECT_EQ(tab.GrowthCount(), 2);
  EXPECT_FALSE(tab.GrowForControl(0, 300)) << "100 pixels to spare below";
  EXPECT_TRUE(tab.GrowForControl(0, 301));
  EXPECT_EQ(tab.Reach(), 800);
  EXPECT_EQ(tab.MaxPosition(), 400);
  EXPECT_EQ(tab.GrowthCount(), 3);
  EXPECT_FALSE(tab.GrowForControl(0, 390)) << "not scrolled near the end";
  EXPECT_FALSE(tab.GrowForControl(380, 300));
  EXPECT_TRUE(tab.GrowForControl(381, 301));
  EXPECT_EQ(tab.Reach(), 1200);

  CTabCanvas stored(400);
  EXPECT_FALSE(stored.ExtendFor(300));
  EXPECT_TRUE(stored.ExtendFor(1000));
  EXPECT_EQ(stored.Reach(), 1200);
  EXPECT_EQ(stored.GrowthCount(), 4);

  EXPECT_EQ(CTabCanvas::ScrollDown(0), 5);
  EXPECT_EQ(CTabCanvas::ScrollUp(5), 0);
  EXPECT_EQ(CTabCanvas::ScrollUp(3), 0) << "stops at the top";
  EXPECT_EQ(CTabCanvas::ScrollUp(0), 0);
  EXPECT_EQ(CTabCanvas::ScrollTo(-1), 0);
  EXPECT_EQ(CTabCanvas::ScrollTo(40), 40);
}
