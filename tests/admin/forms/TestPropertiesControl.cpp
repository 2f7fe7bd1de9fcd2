#include "admin/forms/PropertiesControl.h"
#include "admin/forms/PropertiesGoToFormButtonCtrl.h"
#include "admin/forms/PropertyValue.h"
#include "admin/foundation/FormPropertyIds.h"
#include "admin/shell/BMButton.h"
#include "tests/admin/forms/FormDialogTest.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using formtests::Control;

namespace {

constexpr int kAlignText = 2;
constexpr int kAction = 6;
constexpr int kFormColor = 23;
constexpr int kReadOnly = 19;

// A grid on its own window, shown and active so that its boxes take the focus.
class PropertiesControlTest : public formtests::FormDialogTest {
 public:
  void SetUp() override {
    FormDialogTest::SetUp();
    m_window.resize(320, 220);
    m_grid = new CPropertiesControl(&m_window);
    m_grid->setGeometry(0, 0, 300, 200);
    m_window.show();
    QApplication::setActiveWindow(&m_window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
  }

  // Rows of every kind: 1 Caption edit, 2 Align Text list, 3 Form Color, 4 Form Selection, 5 Read
  // Only static, 6 Default Value list.
  void AddEveryKind() {
    ASSERT_TRUE(m_grid->AddProperty(CPropertiesControl::kEdit, kPropCaption, QStringLiteral("Name")));
    ASSERT_TRUE(m_grid->AddProperty(CPropertiesControl::kDropList, kAlignText, QStringLiteral("Center"), false,
                                    {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")}));
    ASSERT_TRUE(m_grid->AddProperty(CPropertiesControl::kButton, kFormColor, QString(), false, {}, QColor(210, 40, 60)));
    ASSERT_TRUE(m_grid->AddProperty(CPropertiesControl::kButton, kPropFormSelection, QStringLiteral("A,Form,B")));
    ASSERT_TRUE(m_grid->AddProperty(CPropertiesControl::kStatic, kReadOnly, QStringLiteral("FALSE")));
    ASSERT_TRUE(m_grid->AddProperty(CPropertiesControl::kDropList, kPropDefaultValue, QStringLiteral("Name"), false,
                                    {QStringLiteral("Name2"), QStringLiteral("Name"), QStringLiteral("Other")}));
  }
  template <typename T>
  T* Box(int row) const {
    return qobject_cast<T*>(m_grid->GetValueBox(row));
  }

  QWidget m_window;
  CPropertiesControl* m_grid = nullptr;
};

TEST_F(PropertiesControlTest, RowsThatFitLieAt24PixelStepsUnderADisabledBar) {
  AddEveryKind();
  EXPECT_EQ(m_grid->GetColumnWidth(), 300 / 2 - 8);
  EXPECT_EQ(m_grid->GetScrollBar()->geometry(), QRect(284, 0, 16, 200));
  EXPECT_FALSE(m_grid->GetScrollBar()->isEnabled());
  ASSERT_EQ(m_grid->GetRowCount(), 7);
  EXPECT_EQ(m_grid->GetNameLabel(0)->text(), QStringLiteral("Name"));
  EXPECT_EQ(qobject_cast<QLabel*>(m_grid->GetValueBox(0))->text(), QStringLiteral("Value"));
  for (int row = 0; row < m_grid->GetRowCount(); ++row) {
    EXPECT_EQ(m_grid->GetNameLabel(row)->geometry(), QRect(0, 24 * row, 142, 24)) << row;
    EXPECT_EQ(m_grid->GetValueBox(row)->geometry(), QRect(142, 24 * row, 142, 24)) << row;
    EXPECT_EQ(m_grid->GetValueBox(row)->objectName(), QString::number(row));
    EXPECT_EQ(m_grid->GetNameLabel(row)->objectName(), QString::number(-row));
  }
  EXPECT_EQ(m_grid->GetNameLabel(3)->text(), QStringLiteral("Form Color"));
  EXPECT_NE(Box<CPropertiesGoToFormButtonCtrl>(4), nullptr);
  EXPECT_EQ(Box<QComboBox>(2)->currentText(), QStringLiteral("Center"));
  EXPECT_EQ(Box<QComboBox>(6)->currentText(), QStringLiteral("Name"));
  EXPECT_FALSE(m_grid->AddProperty(3, kAction, QStringLiteral("First")));
  EXPECT_EQ(m_grid->GetRowCount(), 7);
}

TEST_F(PropertiesControlTest, AGridScrolledClearedAndRefilledShowsItsRowsFromTheTop) {
  for (int row = 0; row < 20; ++row)
    m_grid->AddProperty(CPropertiesControl::kEdit, kPropCaption, QString::number(row));
  QScrollBar* bar = m_grid->GetScrollBar();
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_EQ(bar->maximum(), 21 * 24 - 200);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(m_grid->GetScrollOffset(), 24);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(m_grid->GetScrollOffset(), 224);
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(m_grid->GetScrollOffset(), 304);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(m_grid->GetScrollOffset(), 304);
  EXPECT_EQ(m_grid->GetNameLabel(20)->y(), 20 * 24 - 304);
  EXPECT_EQ(m_grid->GetNameLabel(0)->y(), -304);

  m_grid->ClearProperties();
  for (int row = 0; row < 3; ++row)
    m_grid->AddProperty(CPropertiesControl::kEdit, kPropCaption, QString::number(row));
  EXPECT_FALSE(bar->isEnabled());
  EXPECT_EQ(m_grid->GetScrollOffset(), 0);
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(m_grid->GetNameLabel(row)->y(), 24 * row) << row;
    EXPECT_EQ(m_grid->GetValueBox(row)->y(), 24 * row) << row;
  }
}

TEST_F(PropertiesControlTest, AnEditTakesAtMost50Characters) {
  m_grid->AddProperty(CPropertiesControl::kEdit, kPropCaption, QString());
  auto* edit = Box<QLineEdit>(1);
  QTest::keyClicks(edit, QString(51, u'x'));
  EXPECT_EQ(edit->text(), QString(50, u'x'));
  m_grid->AddProperty(CPropertiesControl::kEdit, kAction, QStringLiteral("fixed"), true);
  EXPECT_TRUE(Box<QLineEdit>(2)->isReadOnly());
}

struct NoticeCase {
  const char* what;
  std::function<void(PropertiesControlTest&)> act;
  QList<int> changedRows;
  QList<int> activatedRows;
  QList<int> finishedRows;
};

// Each notice carries the row, the property id and the tag; calls of the owner send none. The
// cases run in order, the focus staying where the one before left it.
TEST_F(PropertiesControlTest, WhatTheUserDoesIsReported) {
  AddEveryKind();
  m_grid->SetTag(2);
  const auto click = [](QWidget* box, int x) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(x, 12)); };
  const NoticeCase cases[] = {
      {"focus", [](PropertiesControlTest& t) { t.Box<QLineEdit>(1)->setFocus(); }, {}, {1}, {}},
      {"typing", [](PropertiesControlTest& t) { QTest::keyClicks(t.Box<QLineEdit>(1), QStringLiteral("ab")); },
       {1, 1}, {}, {}},
      {"Enter", [](PropertiesControlTest& t) { QTest::keyClick(t.Box<QLineEdit>(1), Qt::Key_Return); }, {}, {}, {1}},
      {"focus leaving after a change",
       [](PropertiesControlTest& t) {
         QTest::keyClicks(t.Box<QLineEdit>(1), QStringLiteral("c"));
         t.Box<QComboBox>(2)->setFocus();
       },
       {1}, {2}, {1}},
      {"choosing in a drop list", [](PropertiesControlTest& t) { QTest::keyClick(t.Box<QComboBox>(2), Qt::Key_Down); },
       {2}, {}, {}},
      {"colour click", [click](PropertiesControlTest& t) { click(t.m_grid->GetValueBox(3), 10); }, {3}, {3}, {}},
      {"Form Selection at 94", [click](PropertiesControlTest& t) { click(t.m_grid->GetValueBox(4), 94); }, {}, {}, {}},
      {"Form Selection at 95", [click](PropertiesControlTest& t) { click(t.m_grid->GetValueBox(4), 95); }, {4}, {}, {}},
      {"SetPropertyValue",
       [](PropertiesControlTest& t) {
         t.m_grid->SetPropertyValue(kPropCaption, QStringLiteral("Other"));
         t.m_grid->SetPropertyValue(kAlignText, QStringLiteral("Right"));
         t.m_grid->SetPropertyValue(kPropFormSelection, QStringLiteral("X,Y,Z"));
       },
       {}, {}, {}},
  };
  for (const NoticeCase& c : cases) {
    QSignalSpy changed(m_grid, &CPropertiesControl::PropertyChanged);
    QSignalSpy activated(m_grid, &CPropertiesControl::PropertyActivated);
    QSignalSpy finished(m_grid, &CPropertiesControl::PropertyEditingFinished);
    c.act(*this);
    const auto rows = [this](const QSignalSpy& spy) {
      QList<int> list;
      for (const QList<QVariant>& notice : spy) {
        list.append(notice[0].toInt());
        EXPECT_EQ(notice[1].toInt(), GetPropertyId(m_grid->GetNameLabel(notice[0].toInt())->text()));
        EXPECT_EQ(notice[2].toInt(), 2);
      }
      return list;
    };
    EXPECT_EQ(rows(changed), c.changedRows) << c.what;
    EXPECT_EQ(rows(activated), c.activatedRows) << c.what;
    EXPECT_EQ(rows(finished), c.finishedRows) << c.what;
  }
  EXPECT_EQ(m_grid->GetCaptionValue(), QStringLiteral("Other"));
  EXPECT_EQ(Box<QComboBox>(2)->currentText(), QStringLiteral("Right"));
  EXPECT_EQ(Box<QPushButton>(4)->text(), QStringLiteral("X,Y,Z"));
}

TEST_F(PropertiesControlTest, AColourClickMakesItsRowCurrentBeforeTheChange) {
  AddEveryKind();
  QStringList order;
  QObject::connect(m_grid, &CPropertiesControl::PropertyActivated, m_grid, [&] { order << QStringLiteral("activated"); });
  QObject::connect(m_grid, &CPropertiesControl::PropertyChanged, m_grid, [&] { order << QStringLiteral("changed"); });
  QTest::mouseClick(m_grid->GetValueBox(3), Qt::LeftButton);
  EXPECT_EQ(order, (QStringList{QStringLiteral("activated"), QStringLiteral("changed")}));
  EXPECT_TRUE(m_grid->HasCurrentRow());
  EXPECT_TRUE(m_grid->ClearCurrentRow());
  EXPECT_FALSE(m_grid->HasCurrentRow());
  EXPECT_FALSE(m_grid->ClearCurrentRow());
}

// A drop list picks the equal item before one that only begins with the text.
TEST_F(PropertiesControlTest, DropListsAndTheDefaultValueItems) {
  AddEveryKind();
  m_grid->AddProperty(CPropertiesControl::kDropList, kAction, QStringLiteral("Missing"), true,
                      {QStringLiteral("First"), QStringLiteral("Next")});
  EXPECT_EQ(Box<QComboBox>(7)->currentIndex(), -1);
  EXPECT_FALSE(Box<QComboBox>(7)->isEnabled());

  auto* defaults = Box<QComboBox>(6);
  m_grid->SetPropertyValue(kPropDefaultValue, QStringLiteral("Other"));
  m_grid->SetPropertyValue(kPropDefaultValue, QStringLiteral("Name"));
  EXPECT_EQ(defaults->currentIndex(), 1);
  m_grid->SetPropertyValue(kPropDefaultValue, QStringLiteral("oth"));
  EXPECT_EQ(defaults->currentText(), QStringLiteral("Other"));
  m_grid->SetPropertyValue(kPropDefaultValue, QStringLiteral("nothing like it"));
  EXPECT_EQ(defaults->currentText(), QStringLiteral("Other"));

  m_grid->AddDefaultValueItem(QStringLiteral("Added"));
  EXPECT_EQ(defaults->itemText(3), QStringLiteral("Added"));
  m_grid->RemoveDefaultValueItem(QStringLiteral("Name"));
  EXPECT_EQ(defaults->currentText(), QStringLiteral("Other"));
  EXPECT_EQ(defaults->findText(QStringLiteral("Name")), -1);
  m_grid->RemoveDefaultValueItem(QStringLiteral("Other"));
  EXPECT_EQ(defaults->currentIndex(), -1);
  EXPECT_EQ(defaults->count(), 2);
}

TEST_F(PropertiesControlTest, ColoursOfHeaderLabelsCurrentRowAndColourBox) {
  AddEveryKind();
  m_grid->FocusProperty(kPropCaption);
  EXPECT_TRUE(Box<QLineEdit>(1)->hasFocus());
  const QImage picture = m_grid->grab().toImage();
  EXPECT_EQ(QColor(picture.pixel(20, 12)), CPropertiesControl::HeaderColour());
  EXPECT_EQ(QColor(picture.pixel(270, 12)), CPropertiesControl::HeaderColour());
  EXPECT_EQ(QColor(picture.pixel(20, 24 + 12)), CPropertiesControl::CurrentLabelColour());
  EXPECT_EQ(QColor(picture.pixel(20, 48 + 12)), CPropertiesControl::LabelColour());
  EXPECT_EQ(QColor(picture.pixel(200, 72 + 12)), QColor(210, 40, 60));
}

struct PropertyValueCase {
  const char* type;
  const char* typed;
  const char* message;  // empty: accepted
};

TEST_F(PropertiesControlTest, APropertyValueIsCheckedAgainstTheDataColumn) {
  const PropertyValueCase cases[] = {
      {"SQL_VARCHAR", "", "Property Value should not be empty, Please Enter Property Value."},
      {"SQL_INTEGER", "", "Property Value should not be empty, Please Enter Property Value."},
      {"SQL_INTEGER", "12a", "Property Value should be numeric, Please Enter Proper Property Value."},
      {"SQL_BIT", "yes", "Property Value should be numeric, Please Enter Proper Property Value."},
      {"SQL_TIMESTAMP", "2010-01-05",
       "Default Value for \"Due\" Field should be DateTime,\r\nPlease Enter value in following Format\r\nFor "
       "DateTime : \"YYYY-MM-DD HH:MM:SS\"."},
      {"SQL_VARCHAR", "a</Item>",
       "\"a</Item>\" cannot be stored in the form: it contains \"</\", which the stored form uses to mark its "
       "values."},
      {"SQL_VARCHAR", "Open", ""},
      {"SQL_DOUBLE", "-2.5", ""},
      {"SQL_TIMESTAMP", "2010-02-30 1:2:3", ""},
  };
  for (const PropertyValueCase& c : cases) {
    CPropertyValue dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Property Value"));
    dialog.SetDataColumn(QStringLiteral("Due"), QString::fromLatin1(c.type));
    dialog.show();
    QTest::keyClicks(Control<QLineEdit>(dialog, "1055"), QString::fromUtf8(c.typed));
    Control<CBMButton>(dialog, "1")->click();
    EXPECT_EQ(TakeBox(platform::MB_ICONINFORMATION), QString::fromUtf8(c.message)) << c.type << " " << c.typed;
    const bool accepted = *c.message == 0;
    EXPECT_EQ(dialog.result(), accepted ? QDialog::Accepted : QDialog::Rejected) << c.typed;
    EXPECT_EQ(dialog.GetValue(), accepted ? QString::fromUtf8(c.typed) : QString()) << c.typed;
  }
}

}  // namespace
