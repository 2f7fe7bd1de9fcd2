// The Form Manager module and the new-form wizard on a copy of the settings database, with the
// application object's settings connection and a real SQLite profile source.
#include "admin/forms/DesignerProperties.h"
#include "admin/forms/FormDesignerDlg.h"
#include "admin/forms/FormFieldsDefaultValuesDlg.h"
#include "admin/forms/FormManagerDlg.h"
#include "admin/forms/FormProfileSelectionDlg.h"
#include "admin/forms/FormulaDesignDlg.h"
#include "admin/forms/GoToFormListDialog.h"
#include "admin/forms/NewFormWizard.h"
#include "admin/forms/PropertiesControl.h"
#include "admin/forms/PropertyValue.h"
#include "admin/foundation/FormStatements.h"
#include "admin/foundation/ProfileStatements.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "shared/RegistrySettings.h"
#include "shared/WorkbookFolder.h"
#include "shared/formtext/FormTextWriter.h"
#include "tests/admin/forms/GridKeys.h"
#include "tests/admin/forms/WindowClicks.h"
#include "tests/admin/forms/WizardPlayer.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"
#include "tests/admin/shell/MainDialogClosesAtOnce.h"
#include "tests/support/DialogScreenshot.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTest>
#include <QTimer>

#include <functional>

using Button = CWizardSheet::Button;
using formtests::WizardPlayer;

namespace {

QString Tab(const std::vector<StoredControl>& controls) {
  QString text;
  FormTextWriter writer;
  EXPECT_TRUE(writer.WriteTab(controls, &text));
  return text;
}

// A Button whose Go To Form link opens the form of that title.
StoredControl GoToFormButton(const QString& destination) {
  StoredControl button;
  button.Width = 80;
  button.Height = 25;
  button.Properties.Type = kButton;
  button.Properties.Caption = QStringLiteral("Open");
  button.Properties.Action = kGoToFormAction;
  button.Properties.GoToForms = {{QStringLiteral("OrderID"), destination, QStringLiteral("OrderID")}};
  return button;
}

ProfileRecord Profile(int32_t profileId, const QString& name, const QString& type, const QString& dataSource = {}) {
  ProfileRecord profile;
  profile.ProfileID = profileId;
  profile.DBInfo = name;
  profile.DBType = type;
  profile.DB_DSN = dataSource;
  profile.Query = QStringLiteral("SELECT 1");
  return profile;
}

QString LongOrdersQuery() {
  return QStringLiteral("SELECT OrderID, Customer FROM Orders WHERE Customer <> '%1'").arg(QString(13000, u'x'));
}

// A form-level text longer than any fixed buffer it was read into.
QString FormLevelText() {
  FormLevelInfo form;
  form.DefaultValues = {{QStringLiteral("Customer"), QString(40000, u'c')}};
  form.Height = 500;
  form.Width = 324;
  form.FontSize = 12;
  form.R = 10;
  QString text;
  EXPECT_TRUE(FormTextWriter().WriteFormLevel(form, &text));
  return text;
}

class FormManagerTest : public SettingsDatabaseTest {
 protected:
  void SetUp() override {
    SettingsDatabaseTest::SetUp();
    m_app = std::make_unique<CTarnwickApp>();
    m_app->InitInstance();
    ASSERT_TRUE(m_app->GetSettingsConnection().IsConnected());
  }
  void TearDown() override {
    m_manager.reset();
    m_app.reset();
    SetHelpBalloonOpener({});
    SettingsDatabaseTest::TearDown();
  }

  // A profile on a SQLite file with an Orders table, assigned to a device user when `flag` is
  // live.
  void StoreSqliteProfile(int32_t profileId, const QString& name, const QString& flag) {
    admin::CDatabseConnection source;
    CONNECT_OR_SKIP(odbctest::Engine::Sqlite, &source);
    source.ExecuteStatement(QStringLiteral("CREATE TABLE IF NOT EXISTS Orders (OrderID INTEGER, Customer VARCHAR(40))"));
    source.DisconnectDataSource();
    ProfileRecord profile = Profile(profileId, name, QStringLiteral("1"), QStringLiteral("test.mdb"));
    profile.Path = testsupport::CurrentMachineRoot() + u'/';
    profile.tempPath = profile.Path;
    profile.ProfileType = 1;  // a view: the designer offers no New, Edit or Delete
    // Longer than any fixed buffer a query was read into.
    profile.Query = LongOrdersQuery();
    StoreProfile(profile, flag);
  }
  void StoreProfile(const ProfileRecord& profile, const QString& flag) {
    ASSERT_EQ(SaveProfileInfo(m_settings, profile), 1);
    ASSERT_EQ(SaveUserProfileStatus(m_settings, {QStringLiteral("user01"), profile.ProfileID, flag}), 1);
  }
  // A form with one tab; a status row per flag.
  void StoreForm(int32_t formId, int32_t profileId, const QString& title, const QStringList& flags,
                 const std::vector<StoredControl>& controls = {}) {
    ASSERT_EQ(SaveFormInfo(m_settings, formId, profileId, title, FormLevelText()), 1);
    ASSERT_EQ(SaveFormDetails(m_settings, formId, 0, QStringLiteral("Main"), Tab(controls)), 1);
    for (qsizetype i = 0; i < flags.size(); ++i)
      ASSERT_EQ(SaveUserFormStatus(m_settings, formId, QStringLiteral("user%1").arg(i), flags[i]), 1);
  }

  CFormManagerDlg& OpenManager() {
    m_manager = std::make_unique<CFormManagerDlg>(*m_app);
    m_manager->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_manager.get()));
    return *m_manager;
  }
  CBMButton* ManagerButton(int id) const { return m_manager->findChild<CBMButton*>(QString::number(id)); }
  QStringList ListedTitles() const {
    QStringList titles;
    for (int row = 0; row < m_manager->GetFormList()->GetItemCount(); ++row)
      titles.append(m_manager->GetFormList()->GetItemText(row, 0));
    return titles;
  }
  void Select(const QString& title) {
    const int row = static_cast<int>(ListedTitles().indexOf(title));
    ASSERT_GE(row, 0) << qPrintable(title);
    m_manager->GetFormList()->SetSelectionMark(row);
  }
  QStringList AdminLog() const {
    QStringList texts;
    for (const testsupport::LogEntry& entry : testsupport::ReadLogEntries(testsupport::TodaysAdminLog(GetInstallationPath())))
      texts.append(entry.text);
    return texts;
  }
  static testsupport::MessageBoxRecorder& Boxes() { return testsupport::MessageBoxRecorder::Global(); }

  std::unique_ptr<CTarnwickApp> m_app;
  std::unique_ptr<CFormManagerDlg> m_manager;
};

}  // namespace

TEST_F(FormManagerTest, ListsOnlyFormsThatSomeUserHas) {
  StoreProfile(Profile(3, QStringLiteral("Sales"), QStringLiteral("0")), QStringLiteral("A"));
  StoreForm(1, 3, QStringLiteral("Orders"), {QStringLiteral("D"), QStringLiteral("N")});
  StoreForm(2, 3, QStringLiteral("Removed everywhere"), {QStringLiteral("D"), QStringLiteral("D")});
  StoreForm(3, 3, QStringLiteral("Never assigned"), {});
  StoreForm(4, 99, QStringLiteral("Profile gone"), {QStringLiteral("A")});

  CFormManagerDlg& manager = OpenManager();
  EXPECT_EQ(ListedTitles(), QStringList{QStringLiteral("Orders")});
  EXPECT_EQ(manager.GetFormList()->GetItemText(0, 1), QStringLiteral("Sales"));
  const QHeaderView* header = manager.GetFormList()->horizontalHeader();
  EXPECT_EQ(manager.GetFormList()->horizontalHeaderItem(0)->text(), QStringLiteral("Form Title"));
  EXPECT_EQ(manager.GetFormList()->horizontalHeaderItem(1)->text(), QStringLiteral("Profile Name"));
  EXPECT_EQ(header->sectionSize(0), header->sectionSize(1));
  EXPECT_FALSE(ManagerButton(1175)->isEnabled());
  EXPECT_FALSE(ManagerButton(1222)->isEnabled());
  EXPECT_TRUE(AdminLog().contains(QStringLiteral("1 Number of Form's are Available.")));

  Select(QStringLiteral("Orders"));
  EXPECT_TRUE(ManagerButton(1175)->isEnabled());
  EXPECT_TRUE(ManagerButton(1222)->isEnabled());
  EXPECT_TRUE(AdminLog().contains(QStringLiteral("Form with Form Title Orders and FormID 1 is selected.")));

  int topic = 0;
  SetHelpBalloonOpener([&topic](int shown, QPoint) { topic = shown; });
  ManagerButton(1015)->click();
  EXPECT_EQ(topic, 32);
}

TEST_F(FormManagerTest, ScreenshotWithTwoForms) {
  StoreProfile(Profile(3, QStringLiteral("Sales"), QStringLiteral("0")), QStringLiteral("A"));
  StoreForm(1, 3, QStringLiteral("Orders"), {QStringLiteral("A")});
  StoreForm(2, 3, QStringLiteral("Customers"), {QStringLiteral("N")});
  CFormManagerDlg& manager = OpenManager();
  ASSERT_EQ(ListedTitles().size(), 2);
  Select(QStringLiteral("Customers"));
  testsupport::SaveDialogScreenshot(manager, QStringLiteral("FormManager.png"));
}

TEST_F(FormManagerTest, SettingsDatabaseThatCannotBeReconnectedLeavesTheListEmpty) {
  StoreProfile(Profile(3, QStringLiteral("Sales"), QStringLiteral("0")), QStringLiteral("A"));
  StoreForm(1, 3, QStringLiteral("Orders"), {QStringLiteral("A")});
  const QString file = GetInstallationPath() + QStringLiteral("Desktop Files/DB/UserProfileDB.mdb");
  ASSERT_TRUE(QFile::rename(file, file + QStringLiteral(".away")));
  OpenManager();
  EXPECT_TRUE(ListedTitles().isEmpty());
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_EQ(Shown()[0].text, QStringLiteral("Error in Connecting UserProfileDB Database."));
  EXPECT_EQ(Shown()[0].icon(), platform::MB_ICONERROR);
  EXPECT_FALSE(m_app->GetSettingsConnection().IsConnected());
}

TEST_F(FormManagerTest, AddWithoutAnAssignedProfileOnlySaysSo) {
  StoreProfile(Profile(3, QStringLiteral("Sales"), QStringLiteral("0")), QStringLiteral("D"));
  OpenManager();
  WizardPlayer player;
  ManagerButton(1153)->click();
  EXPECT_EQ(player.opened(), 0);
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_EQ(Shown()[0].text, QStringLiteral("No Profile Available, Please Add Profile first."));
  EXPECT_EQ(Shown()[0].icon(), platform::MB_ICONINFORMATION);
  EXPECT_FALSE(AdminLog().contains(QStringLiteral("Add New Form started.")));
}

// Page 1 lists the assigned profiles only; Next waits for a selection, refuses a profile whose
// source cannot be read and hands the designer the profile it loaded.
TEST_F(FormManagerTest, AddChoosesAnAssignedProfileAndHandsItToTheDesigner) {
  StoreSqliteProfile(5, QStringLiteral("Orders Profile"), QStringLiteral("A"));
  StoreProfile(Profile(6, QStringLiteral("Gone Source"), QStringLiteral("0"), QStringLiteral("NoSuchDataSource")),
               QStringLiteral("N"));
  StoreProfile(Profile(7, QStringLiteral("Unassigned"), QStringLiteral("1")),
               QStringLiteral("D"));
  OpenManager();
  int topic = 0;
  SetHelpBalloonOpener([&topic](int shown, QPoint) { topic = shown; });
  const auto step = [&](CNewFormWizard& wizard) {
    CFormProfileSelectionDlg* page = wizard.GetProfileSelectionPage();
    CColoredListCtrl* list = page->GetProfileList();
    EXPECT_EQ(wizard.GetActivePage(), page);
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("New Form : Database Profile Selection"));
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("Orders Profile"));
    EXPECT_EQ(list->GetItemText(0, 1), testsupport::CurrentMachineRoot() + QStringLiteral("/test.mdb"));
    EXPECT_EQ(list->GetItemText(0, 2), LongOrdersQuery());
    EXPECT_EQ(list->GetItemText(1, 1), QStringLiteral("NoSuchDataSource"));
    EXPECT_EQ(list->horizontalHeaderItem(1)->text(), QStringLiteral("Desktop Database Name/DSN Name"));
    EXPECT_FALSE(wizard.GetButton(Button::Next)->isEnabled());
    wizard.GetButton(Button::Help)->click();
    EXPECT_EQ(topic, 30);

    list->SetSelectionMark(1);
    EXPECT_TRUE(wizard.GetButton(Button::Next)->isEnabled());
    wizard.GetButton(Button::Next)->click();
    EXPECT_EQ(wizard.GetActivePage(), page);
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_EQ(Shown()[0].text, QStringLiteral("Problem to Get Profile Details."));
    EXPECT_EQ(Shown()[0].icon(), platform::MB_ICONINFORMATION);

    list->SetSelectionMark(0);
    wizard.GetButton(Button::Next)->click();
    CFormDesignerDlg* designer = wizard.GetFormDesignerPage();
    ASSERT_EQ(wizard.GetActivePage(), designer);
    EXPECT_EQ(designer->GetDocument().GetFormInfo().GetFormName(), QStringLiteral("Orders Profile"));
    EXPECT_EQ(designer->GetDocument().GetFormInfo().ProfileName, QStringLiteral("Orders Profile"));
    EXPECT_EQ(designer->GetDocument().GetFormInfo().ProfileID, 5);
    EXPECT_EQ(designer->GetDocument().GetProfileType(), 1);
    ASSERT_EQ(designer->GetDocument().GetProfileColumns().size(), 2U);
    EXPECT_EQ(designer->GetDocument().GetProfileColumns()[0].Name, QStringLiteral("OrderID"));
    EXPECT_EQ(designer->GetDocument().GetProfileColumns()[0].SqlType, QStringLiteral("SQL_INTEGER"));
    EXPECT_EQ(designer->GetDocument().GetProfileColumns()[1].Name, QStringLiteral("Customer"));
    EXPECT_EQ(designer->GetDocument().GetProfileColumns()[1].SqlType, QStringLiteral("SQL_VARCHAR"));
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("New Form : Form Designer"));
    EXPECT_TRUE(wizard.GetButton(Button::Back)->isVisible());
    EXPECT_TRUE(wizard.GetButton(Button::Apply)->isVisible());
    EXPECT_FALSE(wizard.GetButton(Button::Next)->isVisible());

    wizard.GetButton(Button::Back)->click();
    EXPECT_EQ(wizard.GetActivePage(), page);
    EXPECT_FALSE(wizard.GetButton(Button::Back)->isVisible());
    EXPECT_FALSE(wizard.GetButton(Button::Apply)->isVisible());
    EXPECT_TRUE(wizard.GetButton(Button::Next)->isVisible());
  };
  // The workbook copies go whatever the wizard's end.
  const QString workbookCopy = WorkbookTempFolder() + QStringLiteral("/New_Book.xlsx");
  ASSERT_TRUE(QDir().mkpath(WorkbookTempFolder()));
  QFile copy(workbookCopy);
  ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
  copy.close();
  WizardPlayer player(step);
  ManagerButton(1153)->click();
  EXPECT_EQ(player.opened(), 1);
  EXPECT_FALSE(QFile::exists(workbookCopy));
  const QStringList log = AdminLog();
  EXPECT_TRUE(log.contains(QStringLiteral("<FormProfileSelectionDlg> 2 Number of Profile's are Available.")));
  EXPECT_TRUE(log.contains(QStringLiteral("<FormProfileSelectionDlg> Problem to Get Profile Details.")));
  EXPECT_TRUE(log.contains(
      QStringLiteral("<FormProfileSelectionDlg> Profile Orders Profile with profile ID 5 is selected for Form Design.")));
  EXPECT_EQ(log.indexOf(QStringLiteral("Add New Form started.")) < log.indexOf(QStringLiteral("Add New Form end.")),
            true);
}

TEST_F(FormManagerTest, NextWithoutASelectionStaysOnThePage) {
  StoreSqliteProfile(5, QStringLiteral("Orders Profile"), QStringLiteral("A"));
  CNewFormWizard wizard(CNewFormWizard::kNewMode);
  EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Wizard"));
  EXPECT_EQ(wizard.GetPageCount(), 2);
  wizard.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&wizard));
  wizard.PressNext();
  EXPECT_EQ(wizard.GetActivePage(), wizard.GetProfileSelectionPage());
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_EQ(Shown()[0].text,
            QStringLiteral("Database Profile not selected. Please Select Profile from available Profile List."));
}

TEST_F(FormManagerTest, EditOpensTheDesignerOnTheStoredForm) {
  StoreSqliteProfile(5, QStringLiteral("Orders Profile"), QStringLiteral("A"));
  StoreForm(8, 5, QStringLiteral("Orders"), {QStringLiteral("A")});
  OpenManager();
  Select(QStringLiteral("Orders"));
  const auto step = [](CNewFormWizard& wizard) {
    CFormDesignerDlg* designer = wizard.GetFormDesignerPage();
    EXPECT_EQ(wizard.GetMode(), CNewFormWizard::kEditMode);
    EXPECT_EQ(wizard.GetPageCount(), 1);
    ASSERT_EQ(wizard.GetActivePage(), designer);
    EXPECT_TRUE(designer->GetDocument().IsEditMode());
    EXPECT_TRUE(wizard.GetButton(Button::Apply)->isVisible());
    EXPECT_FALSE(wizard.GetButton(Button::Next)->isVisible());
    EXPECT_FALSE(wizard.GetButton(Button::Back)->isVisible());
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Form Designer"));
    const FormInfo& form = designer->GetDocument().GetFormInfo();
    EXPECT_EQ(form.FormID, 8);
    EXPECT_EQ(form.GetFormName(), QStringLiteral("Orders"));
    EXPECT_EQ(form.ProfileName, QStringLiteral("Orders Profile"));
    EXPECT_EQ(form.ProfileID, 5);
    EXPECT_EQ(form.FormText, FormLevelText());
    EXPECT_EQ(form.GetTabCount(), 1);
    EXPECT_EQ(designer->GetDocument().GetProfileColumns().size(), 2U);
  };
  WizardPlayer player(step);
  ManagerButton(1175)->click();
  EXPECT_EQ(player.opened(), 1);
  const QStringList log = AdminLog();
  EXPECT_TRUE(log.contains(QStringLiteral("Form Title Orders with Form ID : 8.")));
  EXPECT_TRUE(log.contains(QStringLiteral("Edit Form end.")));
}

// The selected form was removed after the list was read: Edit finds no form of its title and
// opens nothing (not the last form read, whose save would replace it).
TEST_F(FormManagerTest, EditOfAFormRemovedMeanwhileOpensNothing) {
  StoreSqliteProfile(5, QStringLiteral("Orders Profile"), QStringLiteral("A"));
  StoreForm(8, 5, QStringLiteral("Orders"), {QStringLiteral("A")});
  StoreForm(9, 5, QStringLiteral("Customers"), {QStringLiteral("A")});
  OpenManager();
  Select(QStringLiteral("Orders"));
  ASSERT_EQ(DeleteForm(m_settings, 8), 1);
  WizardPlayer player;
  ManagerButton(1175)->click();
  EXPECT_EQ(player.opened(), 0);
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_EQ(Shown()[0].text, QStringLiteral("No Form is Selected."));
  EXPECT_EQ(Shown()[0].type, platform::MB_OK);
}

TEST_F(FormManagerTest, EditOfAFormWhoseProfileCannotBeReadOpensNothing) {
  StoreProfile(Profile(6, QStringLiteral("Gone Source"), QStringLiteral("0"), QStringLiteral("NoSuchDataSource")),
               QStringLiteral("A"));
  StoreForm(8, 6, QStringLiteral("Orders"), {QStringLiteral("A")});
  OpenManager();
  Select(QStringLiteral("Orders"));
  WizardPlayer player;
  ManagerButton(1175)->click();
  EXPECT_EQ(player.opened(), 0);
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_EQ(Shown()[0].text, QStringLiteral("Problem to Get Profile Details."));
}

TEST_F(FormManagerTest, AFormThatLinksToItselfCannotBeRemoved) {
  StoreProfile(Profile(3, QStringLiteral("Sales"), QStringLiteral("0")), QStringLiteral("A"));
  StoreForm(1, 3, QStringLiteral("Orders"), {QStringLiteral("A")}, {GoToFormButton(QStringLiteral("Orders"))});
  OpenManager();
  Select(QStringLiteral("Orders"));
  ManagerButton(1222)->click();
  ASSERT_EQ(Shown().size(), 2);
  EXPECT_EQ(Shown()[0].text, QStringLiteral("Are you sure to remove Form with Form Title : Orders ?"));
  EXPECT_EQ(Shown()[0].type, platform::MB_YESNO | platform::MB_DEFBUTTON2);
  EXPECT_EQ(Shown()[1].text,
            QStringLiteral("You can not delete this Form, Form \"Orders\" is used in another Form for \"Go To Form\" option."));
  EXPECT_EQ(Shown()[1].icon(), platform::MB_ICONERROR);
  EXPECT_EQ(Rows(QStringLiteral("Select FormID from FormInfo")).size(), 1);
  EXPECT_EQ(Rows(QStringLiteral("Select StatusFlag from UserFormStatus")), QList<QStringList>{{QStringLiteral("A")}});
  EXPECT_EQ(ListedTitles(), QStringList{QStringLiteral("Orders")});
}

TEST_F(FormManagerTest, RemoveMarksTheStatusRowsAndDeletesTheForm) {
  StoreProfile(Profile(3, QStringLiteral("Sales"), QStringLiteral("0")), QStringLiteral("A"));
  StoreForm(1, 3, QStringLiteral("Orders"), {QStringLiteral("A"), QStringLiteral("N")});
  StoreForm(2, 3, QStringLiteral("Customers"), {QStringLiteral("A")}, {GoToFormButton(QStringLiteral("Elsewhere"))});
  OpenManager();
  Select(QStringLiteral("Orders"));

  Boxes().ScriptAnswers({platform::IDNO});
  ManagerButton(1222)->click();
  EXPECT_EQ(Rows(QStringLiteral("Select FormID from FormInfo")).size(), 2);

  ManagerButton(1222)->click();  // Yes this time
  EXPECT_EQ(Rows(QStringLiteral("Select FormID from FormInfo")), QList<QStringList>{{QStringLiteral("2")}});
  EXPECT_EQ(Rows(QStringLiteral("Select FormID from FormDetails")), QList<QStringList>{{QStringLiteral("2")}});
  EXPECT_EQ(Rows(QStringLiteral("Select StatusFlag from UserFormStatus Where FormID = 1")),
            (QList<QStringList>{{QStringLiteral("D")}, {QStringLiteral("D")}}));
  EXPECT_EQ(ListedTitles(), QStringList{QStringLiteral("Customers")});
  EXPECT_FALSE(ManagerButton(1222)->isEnabled());
  const QStringList log = AdminLog();
  EXPECT_TRUE(log.contains(QStringLiteral("Remove Form with Form Title Orders and FormID 1.")));
  EXPECT_TRUE(log.contains(QStringLiteral("Form with Form Title Orders and FormID 1 is removed.")));
  EXPECT_TRUE(m_app->GetSettingsConnection().IsConnected());

  Boxes().Clear();
  m_manager->OnBnClickedRemoveForm();  // nothing selected after the reload
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_EQ(Shown()[0].text, QStringLiteral("No Form is Selected."));
}

namespace {

StoredControl Stored(int type, int y, const QString& caption) {
  StoredControl control;
  control.X = 20;
  control.Y = y;
  control.Width = 100;
  control.Height = 25;
  control.Properties.Type = type;
  control.Properties.Caption = caption;
  return control;
}

QPoint CentreOfRow(const CColoredListCtrl& list, int row) {
  return list.viewport()->mapTo(&list, list.visualRect(list.model()->index(row, 0)).center());
}

}  // namespace

// A click on a row, through the window, selects it and enables Edit Form and Remove Form; a
// double-click opens that form in the designer.
TEST_F(FormManagerTest, RowsAreChosenWithTheMouse) {
  StoreSqliteProfile(5, QStringLiteral("Orders Profile"), QStringLiteral("A"));
  StoreForm(8, 5, QStringLiteral("Orders"), {QStringLiteral("A")});
  StoreForm(9, 5, QStringLiteral("Customers"), {QStringLiteral("A")});
  OpenManager();
  CColoredListCtrl& list = *m_manager->GetFormList();
  const int customers = static_cast<int>(ListedTitles().indexOf(QStringLiteral("Customers")));
  ASSERT_GE(customers, 0);
  EXPECT_FALSE(ManagerButton(1175)->isEnabled());
  testsupport::ClickAsUser(list, CentreOfRow(list, customers));
  EXPECT_EQ(list.GetSelectionMark(), customers);
  EXPECT_TRUE(ManagerButton(1175)->isEnabled());
  EXPECT_TRUE(ManagerButton(1222)->isEnabled());

  QString opened;
  WizardPlayer player([&opened](CNewFormWizard& wizard) {
    opened = wizard.GetFormDesignerPage()->GetDocument().GetFormInfo().GetFormName();
  });
  testsupport::DoubleClickAsUser(list, CentreOfRow(list, customers));
  EXPECT_EQ(player.opened(), 1);
  EXPECT_EQ(opened, QStringLiteral("Customers"));
}

// An edited form shows both grids filled; the editor ends of its Form Selection and Formula
// rows open their dialogs on a click through the window.
TEST_F(FormManagerTest, EditShowsTheGridsAndTheirEditorsOpen) {
  StoreSqliteProfile(5, QStringLiteral("Orders Profile"), QStringLiteral("A"));
  StoreForm(7, 5, QStringLiteral("Customers"), {QStringLiteral("A")});
  StoredControl button = GoToFormButton(QStringLiteral("Customers"));
  button.X = 20;
  button.Y = 80;
  StoredControl formula = Stored(kFormulaField, 120, QString());
  formula.Properties.Formula = QStringLiteral("OrderID+1");
  StoreForm(8, 5, QStringLiteral("Orders"), {QStringLiteral("A")},
            {Stored(kLabel, 40, QStringLiteral("Customer")), button, formula});
  OpenManager();
  Select(QStringLiteral("Orders"));
  const auto step = [](CNewFormWizard& wizard) {
    CFormDesignerDlg& page = *wizard.GetFormDesignerPage();
    CDesignerProperties& properties = *page.GetProperties();
    const auto expectShown = [](const CPropertiesControl& grid, const char* what) {
      EXPECT_TRUE(grid.isVisible()) << what;
      EXPECT_GT(grid.GetRowCount(), 1) << what;
      for (int row = 1; row < grid.GetRowCount(); ++row) EXPECT_TRUE(grid.GetValueBox(row)->isVisible()) << what;
    };
    expectShown(*properties.GetFormGrid(), "form grid");
    EXPECT_EQ(formtests::Shown(*properties.GetFormGrid(), kPropFormName), QStringLiteral("Orders"));
    const FormTabInfo& tab = *page.GetDocument().GetFormInfo().GetTab(0);
    const auto select = [&](int index) {
      const QWidget& preview = *page.WindowOf(*tab.GetControl(index));
      testsupport::ClickAsUser(preview, preview.rect().center());
      QCoreApplication::processEvents();
      EXPECT_EQ(properties.GetSelectedControl(), tab.GetControl(index));
    };
    select(0);
    expectShown(*properties.GetControlGrid(), "control grid");
    EXPECT_EQ(formtests::Shown(*properties.GetControlGrid(), kPropCaption), QStringLiteral("Customer"));
    EXPECT_EQ(formtests::UnreachableWidgets(&wizard), QStringList());

    const auto pressEditorEnd = [&](int propertyId) {
      const QWidget* box = formtests::Box(*properties.GetControlGrid(), propertyId);
      EXPECT_NE(box, nullptr);
      const std::shared_ptr<QString> opened = formtests::CloseNextModal();
      if (box != nullptr) testsupport::ClickAsUser(*box, QPoint(box->width() - 8, box->height() / 2));
      return *opened;
    };
    select(1);
    EXPECT_EQ(pressEditorEnd(kPropFormSelection), QStringLiteral("CGoToFormListDialog"));
    select(2);
    EXPECT_EQ(pressEditorEnd(kPropFormula), QStringLiteral("CFormulaDesignDlg"));
  };
  WizardPlayer player(step);
  ManagerButton(1175)->click();
  EXPECT_EQ(player.opened(), 1);
}

// Every enabled button, box and list of the Form Manager and of the form dialogs is the topmost
// widget at its centre, so a click there reaches it.
TEST_F(FormManagerTest, EveryControlOfTheFormDialogsCanBeClicked) {
  StoreSqliteProfile(5, QStringLiteral("Orders Profile"), QStringLiteral("A"));
  StoreForm(8, 5, QStringLiteral("Orders"), {QStringLiteral("A")});
  OpenManager();
  const QStringList columns = {QStringLiteral("OrderID"), QStringLiteral("Customer")};
  CNewFormWizard wizard(CNewFormWizard::kNewMode);
  CFormulaDesignDlg formula({columns, {QStringLiteral("SQL_INTEGER"), QStringLiteral("SQL_VARCHAR")}},
                            QStringLiteral("OrderID+1"));
  CFormFieldsDefaultValuesDlg defaults({{QStringLiteral("Customer"), QStringLiteral("SQL_VARCHAR"), {}}});
  CPropertyValue value;
  CGoToFormListDialog goToForm(m_app->GetSettingsConnection(),
                               {{QStringLiteral("OrderID"), QStringLiteral("Orders"), QStringLiteral("OrderID")}},
                               columns, QString());
  const std::pair<const char*, QWidget*> windows[] = {{"Form Manager", m_manager.get()},
                                                      {"new-form wizard", &wizard},
                                                      {"formula editor", &formula},
                                                      {"default values", &defaults},
                                                      {"property value", &value},
                                                      {"Go To Form", &goToForm}};
  for (const auto& [what, window] : windows) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << what;
    EXPECT_EQ(formtests::UnreachableWidgets(window), QStringList()) << what;
    window->hide();
  }
}
