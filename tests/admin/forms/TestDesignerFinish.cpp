// Finish on the designer page through the Form Manager: a form designed in the wizard is
// stored, listed, reopened through Edit Form exactly as it was placed, and stored again under a
// new identifier.
#include "admin/forms/DesignerProperties.h"
#include "admin/forms/FormDesignerDlg.h"
#include "admin/forms/FormManagerDlg.h"
#include "admin/forms/FormProfileSelectionDlg.h"
#include "admin/forms/NewFormWizard.h"
#include "admin/foundation/FormPropertyIds.h"
#include "admin/foundation/ProfileStatements.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "tests/admin/forms/GridKeys.h"
#include "tests/admin/forms/WizardPlayer.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"
#include "tests/admin/shell/MainDialogClosesAtOnce.h"

#include <QApplication>
#include <QTest>

using formtests::Choose;
using formtests::Type;
using formtests::WizardPlayer;

namespace {

// A placed control as the designer should show it again: its tab, its rectangle on the canvas
// and its values.
struct Placed {
  int tab;
  QRect rect;
  FormControlProperties values;
};

QRect OnCanvas(const CFormDesignerDlg& page, const FormControlInfo& control) {
  return page.WindowOf(control)->geometry().translated(-page.GetCanvasRect().topLeft());
}

// The designer's controls, tab by tab.
std::vector<Placed> Controls(const CFormDesignerDlg& page) {
  std::vector<Placed> controls;
  const FormInfo& form = const_cast<CFormDesignerDlg&>(page).GetDocument().GetFormInfo();
  for (int t = 0; t < form.GetTabCount(); ++t)
    for (int c = 0; c < form.GetTab(t)->GetControlCount(); ++c) {
      const FormControlInfo& control = *form.GetTab(t)->GetControl(c);
      controls.push_back({t, OnCanvas(page, control), control});
      // A DateTime's caption is the moment it is shown; the device works it out, nothing stores it.
      if (control.Type == kDateTime) controls.back().values.Caption.clear();

    }
  return controls;
}

// The device types run with their canvases: a phone's and a tablet's.
class DesignerFinishTest : public SettingsDatabaseTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    SettingsDatabaseTest::SetUp();
    testsupport::RegisterDesktop(static_cast<uint16_t>(GetParam()));
    m_app = std::make_unique<CTarnwickApp>();
    m_app->InitInstance();
    ASSERT_TRUE(m_app->GetSettingsConnection().IsConnected());
    ASSERT_EQ(m_app->GetDefaultUserID(), QStringLiteral("user01"));
  }
  void TearDown() override {
    m_manager.reset();
    m_app.reset();
    SettingsDatabaseTest::TearDown();
  }

  // A table profile on a SQLite file with an Orders table, assigned to the desktop's user.
  void StoreOrdersProfile() {
    admin::CDatabseConnection source;
    CONNECT_OR_SKIP(odbctest::Engine::Sqlite, &source);
    source.ExecuteStatement(QStringLiteral("CREATE TABLE IF NOT EXISTS Orders (OrderID INTEGER, Customer VARCHAR(40))"));
    source.DisconnectDataSource();
    ProfileRecord profile;
    profile.ProfileID = 5;
    profile.DBInfo = QStringLiteral("Orders Profile");
    profile.DBType = QStringLiteral("1");
    profile.DB_DSN = QStringLiteral("test.mdb");
    profile.Query = QStringLiteral("SELECT OrderID, Customer FROM Orders");
    profile.Path = testsupport::CurrentMachineRoot() + u'/';
    profile.tempPath = profile.Path;
    profile.ProfileType = 1;  // a view: no New button, so no default values are asked
    ASSERT_EQ(SaveProfileInfo(m_settings, profile), 1);
    ASSERT_EQ(SaveUserProfileStatus(m_settings, {QStringLiteral("user01"), 5, QStringLiteral("A")}), 1);
  }

  void OpenManager() {
    m_manager = std::make_unique<CFormManagerDlg>(*m_app);
    m_manager->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_manager.get()));
  }
  QStringList ListedTitles() const {
    QStringList titles;
    for (int row = 0; row < m_manager->GetFormList()->GetItemCount(); ++row)
      titles.append(m_manager->GetFormList()->GetItemText(row, 0));
    return titles;
  }
  // The stored texts of the form of that identifier: its FormInfo text, then its tabs'.
  QStringList StoredTexts(int32_t formId) {
    QStringList texts;
    for (const QStringList& row : Rows(QStringLiteral("SELECT FormTitle, FormInfo FROM FormInfo WHERE FormID = %1").arg(formId)))
      texts += row;
    for (const QStringList& row :
         Rows(QStringLiteral("SELECT TabID, TabTitle, TabFormInfo FROM FormDetails WHERE FormID = %1 ORDER BY TabID")
                  .arg(formId)))
      texts += row;
    return texts;
  }
  int32_t OnlyLiveForm() {
    const auto rows = Rows(QStringLiteral("SELECT FormID FROM UserFormStatus WHERE StatusFlag = 'A'"));
    EXPECT_EQ(rows.size(), 1);
    return rows.isEmpty() ? -1 : rows[0][0].toInt();
  }
  // Runs Edit Form on the listed form with the step on its designer page.
  void Edit(const std::function<void(CNewFormWizard&, CFormDesignerDlg&)>& step) {
    m_manager->GetFormList()->SetSelectionMark(0);
    WizardPlayer player([&step](CNewFormWizard& wizard) { step(wizard, *wizard.GetFormDesignerPage()); });
    m_manager->OnBnClickedEditForm();
    EXPECT_EQ(player.opened(), 1);
  }

  std::unique_ptr<CTarnwickApp> m_app;
  std::unique_ptr<CFormManagerDlg> m_manager;
};

// Places a control of the type through the page, below the tab's last one.
FormControlInfo* Place(CFormDesignerDlg& page, int tab, int type) {
  auto control = std::make_unique<FormControlInfo>();
  control->Type = type;
  FormTabInfo* on = page.GetDocument().GetFormInfo().GetTab(tab);
  const QRect canvas = page.GetCanvasRect();
  const int left = canvas.left() + 10 + 7 * type;
  const int top = canvas.top() + 40 + 35 * on->GetControlCount();
  page.PlaceCtrl(control.get(), left, top, left + 90 + type, top + 25 + type % 3);
  return on->GetControl(on->AddControl(std::move(control)));
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(DeviceTypes, DesignerFinishTest, ::testing::Values(2, 4));

TEST_P(DesignerFinishTest, AFormDesignedInTheWizardIsStoredAndReopenedAsPlaced) {
  StoreOrdersProfile();
  OpenManager();
  std::vector<Placed> designed;
  {
  WizardPlayer adding([&](CNewFormWizard& wizard) {
    wizard.GetProfileSelectionPage()->GetProfileList()->SetSelectionMark(0);
    wizard.PressNext();
    CFormDesignerDlg& page = *wizard.GetFormDesignerPage();
    ASSERT_EQ(wizard.GetActivePage(), &page);
    page.GetDocument().BuildActionList(page.GetDocument().GetProfileType());
    page.AddPage();  // the page opened on its first tab
    for (int type = kLabel; type <= kConditionalField; ++type) {
      FormControlInfo* control = Place(page, type % 2, type);
      page.ShowControlProperties(control);
      CPropertiesControl& grid = *page.GetProperties()->GetControlGrid();
      if (type == kLabel) Type(grid, kPropCaption, QStringLiteral("Customer name"));
      if (type == kTextBox) Choose(grid, kPropDataColumn, QStringLiteral("Customer"));
      if (type == kButton) Choose(grid, kPropAction, QStringLiteral("Next"));
      if (type == kDateTime) Choose(grid, kPropFormat, QStringLiteral("Date & Time"));
    }
    page.ShowControlProperties(nullptr);
    CPropertiesControl& formGrid = *page.GetProperties()->GetFormGrid();
    Type(formGrid, kPropCaption, QStringLiteral("Second"));  // the first tab's title

    // Finish commits the edit left without Enter; refused, it stops there.
    Type(formGrid, kPropFormName, QString(), false);
    wizard.PressFinish();
    ASSERT_TRUE(wizard.isVisible());
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_EQ(Shown()[0].text, QStringLiteral("Form Name should not be empty."));
    EXPECT_TRUE(Rows(QStringLiteral("SELECT FormID FROM FormInfo")).isEmpty());

    Type(formGrid, kPropFormName, QStringLiteral("Orders Form"), false);
    designed = Controls(page);
    wizard.PressFinish();
    EXPECT_FALSE(wizard.isVisible());
  });
  m_manager->OnBnClickedAddForm();
  ASSERT_EQ(adding.opened(), 1);
  }
  ASSERT_EQ(designed.size(), 9u);
  EXPECT_EQ(ListedTitles(), QStringList{QStringLiteral("Orders Form")});
  const int32_t first = OnlyLiveForm();
  const QStringList texts = StoredTexts(first);
  ASSERT_EQ(texts.size(), 2 + 2 * 3);
  EXPECT_EQ(texts[0], QStringLiteral("Orders Form"));
  EXPECT_EQ(texts[3], QStringLiteral("Second"));

  // Reopened: every control where it was placed, with its values; finished unchanged, the same
  // texts under a new identifier and the old one marked deleted.
  Edit([&](CNewFormWizard& wizard, CFormDesignerDlg& page) {
    const std::vector<Placed> reopened = Controls(page);
    ASSERT_EQ(reopened.size(), designed.size());
    for (size_t i = 0; i < designed.size(); ++i) {
      SCOPED_TRACE(designed[i].values.Type);
      EXPECT_EQ(reopened[i].tab, designed[i].tab);
      EXPECT_EQ(reopened[i].rect, designed[i].rect);
      EXPECT_TRUE(reopened[i].values == designed[i].values);
    }
    wizard.PressFinish();
    EXPECT_FALSE(wizard.isVisible());
  });
  const int32_t second = OnlyLiveForm();
  EXPECT_GT(second, first);
  EXPECT_EQ(StoredTexts(second), texts);
  EXPECT_EQ(Rows(QStringLiteral("SELECT StatusFlag FROM UserFormStatus WHERE FormID = %1").arg(first)),
            QList<QStringList>{{QStringLiteral("D")}});
  EXPECT_TRUE(StoredTexts(first).isEmpty());

  // A control moved: only its tab's text changes.
  Edit([&](CNewFormWizard& wizard, CFormDesignerDlg& page) {
    QWidget* window = page.WindowOf(*page.GetDocument().GetFormInfo().GetTab(1)->GetControl(0));
    window->move(window->pos() + QPoint(6, 9));
    wizard.PressFinish();
  });
  const QStringList moved = StoredTexts(OnlyLiveForm());
  ASSERT_EQ(moved.size(), texts.size());
  EXPECT_EQ(moved.mid(0, 5), texts.mid(0, 5));
  EXPECT_NE(moved[7], texts[7]);
  EXPECT_EQ(ListedTitles(), QStringList{QStringLiteral("Orders Form")});
}
