// The designer page's property grids, driven as the administrator drives them: values typed key
// by key into the edit rows and ended with Enter, drop lists chosen with the keys, buttons
// pressed, the dialogs they open answered.
#include "admin/forms/ColorChooser.h"
#include "admin/forms/DesignerCanvas.h"
#include "admin/forms/DesignerProperties.h"
#include "admin/forms/FormDesignerDlg.h"
#include "admin/forms/PropertiesControl.h"
#include "admin/forms/PropertyRows.h"
#include "admin/forms/RadioGroups.h"
#include "admin/foundation/FormCodes.h"
#include "admin/foundation/FormPropertyIds.h"
#include "admin/shell/ControlButton.h"
#include "admin/shell/TabButtonExG.h"
#include "admin/shell/TabControl.h"
#include "tests/admin/forms/FormDialogTest.h"
#include "tests/admin/forms/GridKeys.h"
#include "tests/admin/forms/WindowClicks.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using formtests::Box;
using formtests::Choose;
using formtests::Shown;
using formtests::Type;

namespace {

const ProfileColumns kColumns = {
    {QStringLiteral("Name"), QStringLiteral("SQL_VARCHAR")}, {QStringLiteral("Age"), QStringLiteral("SQL_INTEGER")},
    {QStringLiteral("Flag"), QStringLiteral("SQL_BIT")},     {QStringLiteral("Born"), QStringLiteral("SQL_DATE")},
    {QStringLiteral("Note"), QStringLiteral("SQL_CHAR")},
};

const QString kNotValid = QStringLiteral("Data entered in property is not valid, Please Enter Valid data.");

// A designer page of two tabs on a shown, active window.
class DesignerPropertiesTest : public formtests::FormDialogTest {
 protected:
  void SetUp() override {
    FormDialogTest::SetUp();
    m_page = std::make_unique<CFormDesignerDlg>();
    m_page->GetDocument().SetProfileColumns(kColumns);
    m_page->GetDocument().BuildActionList(0);
    m_page->GetDocument().GetFormInfo().SetFormName(QStringLiteral("Orders"));
    m_page->GetDocument().GetFormInfo().ProfileName = QStringLiteral("Sales");
    for (int t = 0; t < 2; ++t) {
      m_page->GetDocument().GetFormInfo().AddFormTab(t, QStringLiteral("Tab %1").arg(t));
      m_page->GetTabControl()->AddTab(QStringLiteral("Tab %1").arg(t));
    }
    m_page->OnInitDialog();
    m_page->show();
    QApplication::setActiveWindow(m_page.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_page.get()));
  }
  void TearDown() override {
    SetColorChooser({});
    m_page.reset();
    FormDialogTest::TearDown();
  }

  CDesignerProperties& Properties() const { return *m_page->GetProperties(); }

  FormControlInfo* Place(int type, const QString& column = QString(), int tab = 0) {
    auto control = std::make_unique<FormControlInfo>();
    control->Type = type;
    const QRect canvas = m_page->GetCanvasRect();
    const int top = canvas.top() + 40 + 30 * m_page->GetDocument().GetFormInfo().GetTab(tab)->GetControlCount();
    m_page->PlaceCtrl(control.get(), canvas.left() + 10, top, canvas.left() + 110, top + 25);
    // Placing on the canvas puts a RadioButton into the form's first group.
    if (type == kRadioButton) {
      FormDocument& document = m_page->GetDocument();
      CRadioGroups radios(document.GetRadioGroups(), document.GetFormInfo(), document.GetProfileColumns());
      EXPECT_FALSE(radios.JoinNewRadioButton(control.get(), {QStringLiteral("Name")}));
      m_page->FillRadioGroupList();
    }
    control->DataColumn = column.isEmpty() ? control->DataColumn : column;
    FormTabInfo* on = m_page->GetDocument().GetFormInfo().GetTab(tab);
    return on->GetControl(on->AddControl(std::move(control)));
  }
  FormControlInfo* Select(FormControlInfo* control) {
    m_page->ShowControlProperties(control);
    return control;
  }

  // Answers the next modal dialog that opens.
  static void Answer(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(20, [answer = std::move(answer)] {
      QWidget* modal = QApplication::activeModalWidget();
      ASSERT_NE(modal, nullptr);
      answer(modal);
    });
  }

  std::unique_ptr<CFormDesignerDlg> m_page;
};

}  // namespace

// Each value is typed or chosen in the control grid; it is stored, or refused with its box while
// the control and the row keep the stored value.
TEST_F(DesignerPropertiesTest, CommitsTypedIntoTheControlGrid) {
  struct Case {
    const char* name;
    int type;
    QString column;
    int property;
    QString value;
    std::function<QString(const FormControlInfo&)> stored;
    QString box;  // empty when stored
    unsigned icon = platform::MB_ICONINFORMATION;
  };
  const auto caption = [](const FormControlInfo& c) { return c.Caption; };
  const auto defaultValue = [](const FormControlInfo& c) { return c.DefaultValue; };
  const Case cases[] = {
      {"label caption", kLabel, {}, kPropCaption, QStringLiteral("Customer"), caption, {}},
      {"caption the form text cannot hold", kLabel, {}, kPropCaption, QStringLiteral("a</Caption>"), caption,
       kNotValid},
      {"number in an integer column", kTextBox, QStringLiteral("Age"), kPropDefaultValue, QStringLiteral("42"),
       defaultValue, {}},
      {"text in an integer column", kTextBox, QStringLiteral("Age"), kPropDefaultValue, QStringLiteral("4x"),
       defaultValue, kNotValid},
      {"empty checked value", kCheckBox, QStringLiteral("Flag"), kPropChecked, QString(),
       [](const FormControlInfo& c) { return c.Checked; },
       QStringLiteral("Property value should not be empty, Please Enter Valid data.")},
      {"bit value", kCheckBox, QStringLiteral("Flag"), kPropUnChecked, QStringLiteral("x"),
       [](const FormControlInfo& c) { return c.UnChecked; }, kNotValid},
      {"alignment", kLabel, {}, kPropAlignText, QStringLiteral("Center"),
       [](const FormControlInfo& c) { return GetAlignmentText(c.AlignText); }, {}},
      {"date format", kDateTime, QStringLiteral("Born"), kPropFormat, QStringLiteral("Time"),
       [](const FormControlInfo& c) { return GetDateFormatText(c.Format); }, {}},
      {"read only", kTextBox, QStringLiteral("Name"), kPropReadOnly, QStringLiteral("TRUE"),
       [](const FormControlInfo& c) { return propertyrows::BooleanText(c.ReadOnly); }, {}},
      {"another profile with none there", kComboBox, QStringLiteral("Name"), kPropSourceType,
       QStringLiteral("Another Profile"), [](const FormControlInfo& c) { return GetSourceTypeText(c.SrcType); },
       QStringLiteral("Profile's are not available."), platform::MB_ICONERROR},
      {"font size", kLabel, {}, kPropFontSize, QStringLiteral("14"),
       [](const FormControlInfo& c) { return QString::number(c.FontSize); }, {}},
      {"button action", kButton, {}, kPropAction, QStringLiteral("Delete"), caption, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormControlInfo* control = Select(Place(c.type, c.column));
    CPropertiesControl& grid = *Properties().GetControlGrid();
    const QString before = c.stored(*control);
    if (qobject_cast<QLineEdit*>(Box(grid, c.property)) != nullptr)
      Type(grid, c.property, c.value);
    else
      Choose(grid, c.property, c.value);
    EXPECT_EQ(TakeBox(c.icon), c.box);
    const QString expected = c.box.isEmpty() ? c.value : before;
    EXPECT_EQ(c.stored(*control), expected);
    EXPECT_EQ(Shown(grid, c.property), expected);
  }
}

// A date is typed one key at a time: nothing is committed, nor refused, before Enter.
TEST_F(DesignerPropertiesTest, ADateIsTypedWholeBeforeItIsChecked) {
  m_page->GetDocument().GetRadioGroups().push_back({QStringLiteral("Days"), QStringLiteral("Born"), 0});
  FormControlInfo* radio = Select(Place(kRadioButton));
  ASSERT_EQ(radio->Group, QStringLiteral("Days"));
  auto* edit = qobject_cast<QLineEdit*>(Box(*Properties().GetControlGrid(), kPropCaption));
  ASSERT_NE(edit, nullptr);
  QTest::mouseClick(edit, Qt::LeftButton);
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit, QStringLiteral("2024-02-29 13:05:00"));
  QCoreApplication::processEvents();
  EXPECT_TRUE(Boxes().shown().isEmpty());
  EXPECT_EQ(edit, Box(*Properties().GetControlGrid(), kPropCaption)) << "the edit being typed stays";
  QTest::keyClick(edit, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(TakeBox(platform::MB_ICONINFORMATION), QString());
  EXPECT_EQ(radio->Caption, QStringLiteral("2024-02-29 13:05:00"));
  EXPECT_EQ(qobject_cast<CControlButton*>(m_page->WindowOf(*radio))->GetWindowText(), radio->Caption);
}

// The tab's title and the form name: empty ones are refused and shown again; a new title goes
// into the tab strip. An edit left without Enter commits when another control is selected.
TEST_F(DesignerPropertiesTest, FormGridAndPendingEdits) {
  CPropertiesControl& grid = *Properties().GetFormGrid();
  EXPECT_EQ(Shown(grid, kPropProfileName), QStringLiteral("Sales"));
  Type(grid, kPropCaption, QString());
  EXPECT_EQ(TakeBox(platform::MB_ICONINFORMATION), QStringLiteral("Tab Name should not be empty."));
  EXPECT_EQ(Shown(grid, kPropCaption), QStringLiteral("Tab 0"));
  Type(grid, kPropCaption, QStringLiteral("Main"));
  EXPECT_EQ(m_page->GetDocument().GetFormInfo().GetTab(0)->GetFormTabTitle(), QStringLiteral("Main"));
  EXPECT_EQ(m_page->GetTabControl()->GetTab(0)->text(), QStringLiteral("Main"));
  Type(grid, kPropFormName, QString());
  EXPECT_EQ(TakeBox(platform::MB_ICONINFORMATION), QStringLiteral("Form Name should not be empty."));
  EXPECT_EQ(m_page->GetDocument().GetFormInfo().GetFormName(), QStringLiteral("Orders"));

  FormControlInfo* label = Select(Place(kLabel));
  auto* edit = qobject_cast<QLineEdit*>(Box(*Properties().GetControlGrid(), kPropCaption));
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  QTest::keyClicks(edit, QStringLiteral(" Two"));
  FormControlInfo* other = Select(Place(kLabel));
  EXPECT_EQ(label->Caption, QStringLiteral("Label Two"));
  EXPECT_EQ(Properties().GetSelectedControl(), other);
  EXPECT_EQ(Properties().GetControlGridCaption()->text(), QStringLiteral("Label Control Properties"));
  m_page->ShowControlProperties(nullptr);
  EXPECT_EQ(Properties().GetControlGrid()->GetRowCount(), 1);
}

TEST_F(DesignerPropertiesTest, RadioGroups) {
  FormControlInfo* first = Select(Place(kRadioButton));
  FormControlInfo* second = Place(kRadioButton, {}, 1);
  std::vector<RadioGroupInfo>& groups = m_page->GetDocument().GetRadioGroups();
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].Name, QStringLiteral("Group_Name"));
  EXPECT_EQ(groups[0].NumRdBtn, 2);
  EXPECT_EQ(first->Caption, QStringLiteral("Radio"));
  EXPECT_TRUE(m_page->GetRadioGroupList()->isVisible());
  EXPECT_TRUE(Properties().GetAddRadioGroupButton()->isVisible());

  // Selected is exclusive across tabs.
  Choose(*Properties().GetControlGrid(), kPropSelected, QStringLiteral("TRUE"));
  Select(second);
  Choose(*Properties().GetControlGrid(), kPropSelected, QStringLiteral("TRUE"));
  EXPECT_EQ(second->Selected, 1);
  EXPECT_EQ(first->Selected, 0);
  EXPECT_FALSE(qobject_cast<CControlButton*>(m_page->WindowOf(*first))->IsChecked());

  // A rename reaches the buttons; captions "Radio" do not suit a number column.
  CPropertiesControl& radioGrid = *Properties().GetRadioGroupGrid();
  Type(radioGrid, kPropCaption, QString());
  EXPECT_EQ(TakeBox(platform::MB_ICONINFORMATION), QStringLiteral("Group Name should not be empty."));
  Type(radioGrid, kPropCaption, QStringLiteral("Sizes"));
  EXPECT_EQ(first->Group, QStringLiteral("Sizes"));
  EXPECT_EQ(second->Group, QStringLiteral("Sizes"));
  EXPECT_EQ(m_page->GetRadioGroupList()->itemText(0), QStringLiteral("Sizes"));
  Choose(radioGrid, kPropDataColumn, QStringLiteral("Age"));
  EXPECT_EQ(TakeBox(platform::MB_ICONINFORMATION),
            QStringLiteral("Caption property value of \"Name\" RadioButtons in \"Sizes\" RadioGroup are not valid for "
                           "new Data column,\r\nPlease change valid Caption value first."));
  EXPECT_EQ(groups[0].DataColumn, QStringLiteral("Name"));

  // "+" takes the next free column; names stay unique; a button moves only with a caption
  // its new group's column takes.
  Properties().GetAddRadioGroupButton()->click();
  QCoreApplication::processEvents();
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[1], (RadioGroupInfo{QStringLiteral("Group_Age"), QStringLiteral("Age"), 0}));
  EXPECT_EQ(m_page->GetRadioGroupList()->currentIndex(), 1);
  Type(radioGrid, kPropCaption, QStringLiteral("Sizes"));
  EXPECT_EQ(TakeBox(platform::MB_ICONINFORMATION), QStringLiteral("Group Name is not unique."));
  Choose(*Properties().GetControlGrid(), kPropGroup, QStringLiteral("Group_Age"));
  EXPECT_EQ(TakeBox(platform::MB_ICONINFORMATION),
            QStringLiteral("Caption property value is not valid for new RadioGroup, Please Enter Valid Caption value "
                           "first."));
  Type(*Properties().GetControlGrid(), kPropCaption, QStringLiteral("3"));
  Choose(*Properties().GetControlGrid(), kPropGroup, QStringLiteral("Group_Age"));
  EXPECT_EQ(second->Group, QStringLiteral("Group_Age"));
  EXPECT_EQ(groups[0].NumRdBtn, 1);
  EXPECT_EQ(groups[1].NumRdBtn, 1);

  // "-" asks; a group with buttons stays.
  m_page->GetRadioGroupList()->setCurrentIndex(0);
  Boxes().ScriptAnswers({platform::IDNO});
  Properties().GetRemoveRadioGroupButton()->click();
  EXPECT_EQ(TakeBox(0), QStringLiteral("Are you sure to remove RadioGroup : Sizes ?"));
  Properties().GetRemoveRadioGroupButton()->click();
  ASSERT_EQ(Boxes().shown().size(), 2);
  EXPECT_EQ(Boxes().shown()[1].text, QStringLiteral("Group is assigned to Radio Buttons."));
  EXPECT_EQ(Boxes().shown()[1].icon(), platform::MB_ICONERROR);
  EXPECT_EQ(groups.size(), 2u);

  Select(Place(kLabel));
  EXPECT_FALSE(m_page->GetRadioGroupList()->isVisible());
  EXPECT_FALSE(Properties().GetRadioGroupGrid()->isVisible());
}

// "+" adds an item through the item dialog, "-" removes the chosen one; the removed default
// leaves the default empty. The buttons show only for a Valued List.
TEST_F(DesignerPropertiesTest, ComboBoxItems) {
  FormControlInfo* combo = Select(Place(kComboBox, QStringLiteral("Age")));
  ASSERT_TRUE(Properties().GetAddItemButton()->isVisible());
  EXPECT_TRUE(Properties().GetAddItemButton()->hasFocus());
  for (const QString& item : {QStringLiteral("x"), QStringLiteral("12")}) {
    Answer([item](QWidget* dialog) {
      auto* value = dialog->findChild<QLineEdit*>(QStringLiteral("1055"));
      ASSERT_NE(value, nullptr);
      QTest::keyClicks(value, item);
      dialog->findChild<QPushButton*>(QStringLiteral("1"))->click();
      if (dialog->isVisible()) dialog->findChild<QPushButton*>(QStringLiteral("2"))->click();
    });
    Properties().GetAddItemButton()->click();
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(combo->Items, QStringList{QStringLiteral("12")}) << "a number column takes numbers only";
  Boxes().Clear();
  Choose(*Properties().GetControlGrid(), kPropDefaultValue, QStringLiteral("12"));
  EXPECT_EQ(combo->DefaultValue, QStringLiteral("12"));
  Answer([](QWidget* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("1"))->click(); });
  Properties().GetRemoveItemButton()->click();
  QCoreApplication::processEvents();
  EXPECT_TRUE(combo->Items.isEmpty());
  EXPECT_TRUE(combo->DefaultValue.isEmpty());
  EXPECT_EQ(qobject_cast<CControlButton*>(m_page->WindowOf(*combo))->GetWindowText(), QString());

  Select(Place(kLabel));
  EXPECT_FALSE(Properties().GetAddItemButton()->isVisible());
}

// The form colour repaints every preview but Buttons, which keep their own background; the
// text colour goes to the selected control.
TEST_F(DesignerPropertiesTest, FormColourAndTextColour) {
  FormControlInfo* label = Place(kLabel);
  FormControlInfo* button = Place(kButton, {}, 1);
  FormControlInfo* text = Place(kTextBox, QStringLiteral("Name"), 1);
  const QColor chosen(200, 10, 30);
  SetColorChooser([&chosen](const QColor&, QWidget*) { return std::optional<QColor>(chosen); });
  auto* colourBox = qobject_cast<QPushButton*>(Box(*Properties().GetFormGrid(), kPropFormColor));
  ASSERT_NE(colourBox, nullptr);
  colourBox->click();
  QCoreApplication::processEvents();
  const auto background = [this](const FormControlInfo* c) {
    return qobject_cast<CControlButton*>(m_page->WindowOf(*c))->GetBackgroundColor();
  };
  EXPECT_EQ(background(label), chosen);
  EXPECT_EQ(background(text), chosen);
  EXPECT_EQ(background(button), QColor(128, 128, 128));
  EXPECT_EQ(m_page->GetDocument().GetFormColor(), chosen);
  EXPECT_EQ(m_page->GetDocument().GetFormInfo().R, 200);

  Select(label);
  qobject_cast<QPushButton*>(Box(*Properties().GetControlGrid(), kPropForeColor))->click();
  QCoreApplication::processEvents();
  EXPECT_EQ(QColor(label->TxtR, label->TxtG, label->TxtB), chosen);
  EXPECT_EQ(qobject_cast<CControlButton*>(m_page->WindowOf(*label))->GetTextColor(), chosen);
}

namespace {

// The width a line edit has for its text.
int TextWidth(QLineEdit& edit) {
  QStyleOptionFrame option;
  option.initFrom(&edit);
  option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
  const QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
  constexpr int kLineEditMargins = 2 * 2;
  return contents.marginsRemoved(edit.textMargins()).width() - kLineEditMargins;
}

int TextWidth(QComboBox& list) {
  QStyleOptionComboBox option;
  option.initFrom(&list);
  option.currentText = list.currentText();
  return list.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &list).width();
}

// The names and values of the grid's rows that do not fit their boxes.
QStringList ClippedRows(const CPropertiesControl& grid) {
  QStringList clipped;
  for (int row = 1; row < grid.GetRowCount(); ++row) {
    const QLabel* name = grid.GetNameLabel(row);
    if (name->fontMetrics().horizontalAdvance(name->text()) > name->contentsRect().width()) clipped.append(name->text());
    QWidget* box = grid.GetValueBox(row);
    if (auto* edit = qobject_cast<QLineEdit*>(box); edit != nullptr && edit->fontMetrics().horizontalAdvance(edit->text()) > TextWidth(*edit))
      clipped.append(edit->text());
    if (auto* list = qobject_cast<QComboBox*>(box);
        list != nullptr && list->fontMetrics().horizontalAdvance(list->currentText()) > TextWidth(*list))
      clipped.append(list->currentText());
  }
  return clipped;
}

}  // namespace

// The control grid follows the tab strip: a tab shows the control it has selected, or none; the
// canvas title follows the form name. Presses go through the window, as the user's do.
TEST_F(DesignerPropertiesTest, TheGridsFollowTheTabStripAndTheTitleTheFormName) {
  FormControlInfo* label = Place(kLabel);
  const QWidget& preview = *m_page->WindowOf(*label);
  testsupport::ClickAsUser(preview, preview.rect().center());
  ASSERT_EQ(Properties().GetSelectedControl(), label);
  CPropertiesControl& controls = *Properties().GetControlGrid();
  EXPECT_EQ(Shown(controls, kPropCaption), label->Caption);

  const auto clickTab = [this](int index) {
    const QWidget& tab = *m_page->GetTabControl()->GetTab(index);
    testsupport::ClickAsUser(tab, tab.rect().center());
    QCoreApplication::processEvents();
  };
  clickTab(1);
  EXPECT_EQ(Shown(*Properties().GetFormGrid(), kPropCaption), QStringLiteral("Tab 1"));
  EXPECT_EQ(Properties().GetSelectedControl(), nullptr);
  EXPECT_EQ(controls.GetRowCount(), 1);
  EXPECT_EQ(Properties().GetControlGridCaption()->text(), QStringLiteral("Control Properties"));
  clickTab(0);
  EXPECT_EQ(Properties().GetSelectedControl(), label);
  EXPECT_EQ(Shown(controls, kPropCaption), label->Caption);

  EXPECT_EQ(m_page->GetCanvasTitle()->text(), QStringLiteral("Orders"));
  Type(*Properties().GetFormGrid(), kPropFormName, QStringLiteral("Orders Renamed"));
  EXPECT_EQ(m_page->GetCanvasTitle()->text(), QStringLiteral("Orders Renamed"));
}

// A click on the editor end of the Formula box, through the window, opens the formula editor.
TEST_F(DesignerPropertiesTest, TheFormulaBoxOpensTheEditorAtItsButton) {
  Select(Place(kFormulaField));
  const QWidget* box = Box(*Properties().GetControlGrid(), kPropFormula);
  ASSERT_NE(box, nullptr);
  const std::shared_ptr<QString> opened = formtests::CloseNextModal();
  testsupport::ClickAsUser(*box, QPoint(box->width() - 8, box->height() / 2));
  EXPECT_EQ(*opened, QStringLiteral("CFormulaDesignDlg"));
}

// Names and values of the grids, and the tab titles, show whole or cut with an ellipsis.
TEST_F(DesignerPropertiesTest, NothingShownIsCutWithoutASign) {
  m_page->GetDocument().GetFormInfo().ProfileName = QStringLiteral("ArtistsAfter1970");
  Properties().SetTabCtrlProp();
  EXPECT_EQ(ClippedRows(*Properties().GetFormGrid()), QStringList());
  for (const int type : {kComboBox, kCheckBox, kFormulaField}) {
    Select(Place(type, type == kFormulaField ? QString() : QStringLiteral("Name")));
    EXPECT_EQ(ClippedRows(*Properties().GetControlGrid()), QStringList()) << type;
  }
  Type(*Properties().GetFormGrid(), kPropCaption, QStringLiteral("Customers of the northern region"));
  const CTabButtonExG& tab = *m_page->GetTabControl()->GetTab(0);
  EXPECT_TRUE(tab.GetShownText().endsWith(QChar(0x2026))) << tab.GetShownText().toStdString();
  EXPECT_LE(tab.fontMetrics().horizontalAdvance(tab.GetShownText()), tab.width() - 6);
}

// Every button, box and list the page shows takes the clicks at its centre: with a RadioButton
// selected (the radio-group widgets show) and with a Valued List ComboBox (its item buttons).
TEST_F(DesignerPropertiesTest, EveryControlOfThePageCanBeClicked) {
  for (const int type : {kRadioButton, kComboBox}) {
    FormControlInfo* control = Place(type, type == kComboBox ? QStringLiteral("Name") : QString());
    testsupport::ClickAsUser(*m_page->WindowOf(*control), m_page->WindowOf(*control)->rect().center());
    ASSERT_EQ(Properties().GetSelectedControl(), control);
    EXPECT_EQ(formtests::UnreachableWidgets(m_page.get()), QStringList()) << type;
  }
}

// A control stored high on the canvas passes under the tab strip, which stays whole.
TEST_F(DesignerPropertiesTest, TheTabStripLiesOverTheControls) {
  auto control = std::make_unique<FormControlInfo>();
  control->Type = kLabel;
  const QRect canvas = m_page->GetCanvasRect();
  m_page->PlaceCtrl(control.get(), canvas.left() + 10, canvas.top(), canvas.left() + 110, canvas.top() + 25);
  const QWidget* preview = m_page->WindowOf(*control);
  m_page->GetDocument().GetFormInfo().GetTab(0)->AddControl(std::move(control));
  m_page->GetDesignerCanvas()->Reset();
  const QObjectList& stacking = m_page->children();  // bottom to top
  EXPECT_GT(stacking.indexOf(m_page->GetTabControl()), stacking.indexOf(preview));
}
