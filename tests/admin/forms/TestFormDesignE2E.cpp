// A form designed through the Form Manager reaches the device: the sync program runs its
// change-detection turns against the web-service double, whose device model must hold every
// control with its type, place, size and values as designed. An edit that renames the form and
// a control in the grids and moves the control, finished while the program runs, replaces the
// form on the device: Delete Form for the old identifier, Add Form for the new.
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
#include "shared/RegistryRecords.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "tests/admin/forms/GridKeys.h"
#include "tests/admin/forms/WindowClicks.h"
#include "tests/admin/forms/WizardPlayer.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"
#include "tests/admin/shell/MainDialogClosesAtOnce.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/Eventually.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/WebServiceDouble.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <chrono>

using formtests::Choose;
using formtests::Type;
using formtests::WizardPlayer;
using testsupport::Eventually;

namespace {

constexpr int kAddForm = 21;
constexpr int kDeleteForm = 22;
constexpr int kProgramStopMs = 30'000;

// A control as the device should hold it.
struct Designed {
  int tab;
  QRect rect;  // on the canvas
  FormControlProperties values;
};

class FormDesignE2E : public SettingsDatabaseTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_service.Started()) << m_service.Error().toStdString();
    SettingsDatabaseTest::SetUp();
    testsupport::RegisterDesktop(2);
    SyncInfo sync;
    sync.webServiceUrl = m_service.Url().toUtf8();
    sync.changeDetectionMinutes = 0;
    sync.backSyncMinutes = 60;
    synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), sync.ToBytes());
    ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"),
                                              ConnSettings().ToBytes()));
    QDir().mkpath(GetInstallationPath() + QStringLiteral("Desktop Files/DB/CDB Files"));
    m_app = std::make_unique<CTarnwickApp>();
    m_app->InitInstance();
    ASSERT_TRUE(m_app->GetSettingsConnection().IsConnected());
  }
  void TearDown() override {
    StopProgram();
    m_manager.reset();
    m_app.reset();
    SettingsDatabaseTest::TearDown();
  }

  // A table profile on a SQLite file with an Orders table of one row, assigned to the desktop's
  // user.
  void StoreOrdersProfile() {
    admin::CDatabseConnection source;
    CONNECT_OR_SKIP(odbctest::Engine::Sqlite, &source);
    source.ExecuteStatement(
        QStringLiteral("CREATE TABLE Orders (OrderID INTEGER PRIMARY KEY, Customer VARCHAR(40), Placed DATE)"));
    source.ExecuteStatement(QStringLiteral("INSERT INTO Orders VALUES (1, 'Ann', '2024-01-02')"));
    source.DisconnectDataSource();
    ProfileRecord profile;
    profile.ProfileID = 5;
    profile.DBInfo = QStringLiteral("Orders Profile");
    profile.DBType = QStringLiteral("1");
    profile.DB_DSN = QStringLiteral("test.mdb");
    profile.Query = QStringLiteral("Select * From Orders Order By OrderID");
    profile.Path = testsupport::CurrentMachineRoot() + u'/';
    profile.tempPath = profile.Path;
    profile.UserList = QStringLiteral("user01");
    profile.SyncDestination = QStringLiteral("MainMemory");
    profile.ProfileType = 0;
    profile.IsPrimaryKeySelected = 1;
    ASSERT_EQ(SaveProfileInfo(m_settings, profile), 1);
    ASSERT_EQ(SaveUserProfileStatus(m_settings, {QStringLiteral("user01"), 5, QStringLiteral("A")}), 1);
    // The record index the profile's rows start from, as the Profile Manager leaves it.
    ASSERT_TRUE(testsupport::StoreValue(registrynames::kRecordIndexKey, QStringLiteral("5"),
                                        platform::RegistryValue::FromDword(1)));
  }

  void StartProgram() {
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 1);
    m_program = std::make_unique<QProcess>();
    m_program->setStandardOutputFile(QProcess::nullDevice());
    m_program->start(QStringLiteral(SYNC_PROGRAM), {});
    ASSERT_TRUE(m_program->waitForStarted());
  }
  void StopProgram() {
    if (!m_program) return;
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 0);
    EXPECT_TRUE(m_program->waitForFinished(kProgramStopMs));
    m_program.reset();
  }
  static QString SyncLog() { return synctest::ReadLog(QStringLiteral("SyncServiceLog.log")); }

  QJsonObject DeviceForm(int32_t formId) {
    return m_service.Device().value(QStringLiteral("forms")).toObject().value(QString::number(formId)).toObject();
  }
  bool Finished(int32_t formId) {
    return DeviceForm(formId).value(QStringLiteral("state")).toString() == QStringLiteral("finished");
  }
  int32_t LiveForm() {
    const auto rows = Rows(QStringLiteral("SELECT FormID FROM UserFormStatus WHERE StatusFlag <> 'D'"));
    return rows.size() == 1 ? rows[0][0].toInt() : -1;
  }
  QList<std::pair<int, int>> FormMessages() {
    QList<std::pair<int, int>> messages;
    for (const QJsonValue& entry : m_service.Device().value(QStringLiteral("log")).toArray()) {
      const int type = entry[0].toInt();
      if (type == kAddForm || type == kDeleteForm) messages.append({type, entry[1].toInt()});
    }
    return messages;
  }

  // Every designed control, in tab and control order, is on the device where it was placed.
  void ExpectOnDevice(int32_t formId, const std::vector<Designed>& designed) {
    const QJsonArray tabs = DeviceForm(formId).value(QStringLiteral("tabs")).toArray();
    ASSERT_EQ(tabs.size(), 2);
    std::vector<QJsonObject> controls;
    for (const QJsonValue& tab : tabs)
      for (const QJsonValue& control : tab[QStringLiteral("controls")].toArray()) controls.push_back(control.toObject());
    ASSERT_EQ(controls.size(), designed.size());
    for (size_t i = 0; i < designed.size(); ++i) {
      const Designed& want = designed[i];
      const QJsonObject& held = controls[i];
      SCOPED_TRACE(want.values.Type);
      EXPECT_EQ(held[QStringLiteral("type")].toInt(), want.values.Type);
      EXPECT_EQ(QRect(held[QStringLiteral("x")].toInt(), held[QStringLiteral("y")].toInt(),
                      held[QStringLiteral("width")].toInt(), held[QStringLiteral("height")].toInt()),
                want.rect);
      if (held.contains(QStringLiteral("caption")) && want.values.Type != kDateTime) {
        EXPECT_EQ(held[QStringLiteral("caption")].toString(), want.values.Caption);
      }
      if (held.contains(QStringLiteral("column"))) {
        EXPECT_EQ(held[QStringLiteral("column")].toString(), want.values.DataColumn);
      }
      if (held.contains(QStringLiteral("action"))) {
        EXPECT_EQ(held[QStringLiteral("action")].toString(), want.values.Action);
      }
      if (held.contains(QStringLiteral("format"))) {
        EXPECT_EQ(held[QStringLiteral("format")].toInt(), want.values.Format);
      }
    }
  }

  testsupport::WebServiceDouble m_service;
  std::unique_ptr<CTarnwickApp> m_app;
  std::unique_ptr<CFormManagerDlg> m_manager;
  std::unique_ptr<QProcess> m_program;
};

std::vector<Designed> Controls(CFormDesignerDlg& page) {
  std::vector<Designed> controls;
  const FormInfo& form = page.GetDocument().GetFormInfo();
  for (int t = 0; t < form.GetTabCount(); ++t)
    for (int c = 0; c < form.GetTab(t)->GetControlCount(); ++c) {
      const FormControlInfo& control = *form.GetTab(t)->GetControl(c);
      const QRect rect = page.WindowOf(control)->geometry().translated(-page.GetCanvasRect().topLeft());
      controls.push_back({t, rect, control});
    }
  return controls;
}

FormControlInfo* Place(CFormDesignerDlg& page, int tab, int type) {
  auto control = std::make_unique<FormControlInfo>();
  control->Type = type;
  FormTabInfo* on = page.GetDocument().GetFormInfo().GetTab(tab);
  const QRect canvas = page.GetCanvasRect();
  const int left = canvas.left() + 10 + 5 * type;
  const int top = canvas.top() + 40 + 40 * on->GetControlCount();
  page.PlaceCtrl(control.get(), left, top, left + 100, top + 25 + type);
  return on->GetControl(on->AddControl(std::move(control)));
}

}  // namespace

TEST_F(FormDesignE2E, AFormDesignedInTheFormManagerReachesTheDeviceAndAnEditReplacesIt) {
  StoreOrdersProfile();
  m_manager = std::make_unique<CFormManagerDlg>(*m_app);
  m_manager->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(m_manager.get()));

  std::vector<Designed> designed;
  {
    WizardPlayer adding([&](CNewFormWizard& wizard) {
      wizard.GetProfileSelectionPage()->GetProfileList()->SetSelectionMark(0);
      wizard.PressNext();
      CFormDesignerDlg& page = *wizard.GetFormDesignerPage();
      ASSERT_EQ(wizard.GetActivePage(), &page);
      page.GetDocument().BuildActionList(page.GetDocument().GetProfileType());
      page.AddPage();  // the page opened on its first tab
      for (int type = kLabel; type <= kConditionalField; ++type) {
        FormControlInfo* control = Place(page, type <= 4 ? 0 : 1, type);
        page.ShowControlProperties(control);
        CPropertiesControl& grid = *page.GetProperties()->GetControlGrid();
        if (type == kLabel) Type(grid, kPropCaption, QStringLiteral("Customer"));
        if (type == kTextBox) Choose(grid, kPropDataColumn, QStringLiteral("Customer"));
        if (type == kButton) Choose(grid, kPropAction, QStringLiteral("Next"));
        if (type == kDateTime) Choose(grid, kPropDataColumn, QStringLiteral("Placed"));
      }
      page.ShowControlProperties(nullptr);
      Type(*page.GetProperties()->GetFormGrid(), kPropFormName, QStringLiteral("Orders Form"));
      designed = Controls(page);
      wizard.PressFinish();
      EXPECT_FALSE(wizard.isVisible());
    });
    m_manager->OnBnClickedAddForm();
    ASSERT_EQ(adding.opened(), 1);
  }
  const int32_t first = LiveForm();
  ASSERT_GT(first, 0);
  ASSERT_EQ(designed.size(), 9u);

  StartProgram();
  ASSERT_TRUE(Eventually([&] { return Finished(first); }, std::chrono::seconds(60))) << SyncLog().toStdString();
  EXPECT_EQ(DeviceForm(first)[QStringLiteral("title")].toString(), QStringLiteral("Orders Form"));
  ExpectOnDevice(first, designed);

  // Edit Form: rename the form and the Label in the grids the page shows, move the Label, Finish.
  m_manager->GetFormList()->SetSelectionMark(0);
  {
    WizardPlayer editing([&](CNewFormWizard& wizard) {
      CFormDesignerDlg& page = *wizard.GetFormDesignerPage();
      QWidget* label = page.WindowOf(*page.GetDocument().GetFormInfo().GetTab(0)->GetControl(0));
      testsupport::ClickAsUser(*label, label->rect().center());
      CPropertiesControl& formGrid = *page.GetProperties()->GetFormGrid();
      CPropertiesControl& controlGrid = *page.GetProperties()->GetControlGrid();
      for (const CPropertiesControl* grid : {&formGrid, &controlGrid}) {
        EXPECT_TRUE(grid->isVisible());
        ASSERT_GT(grid->GetRowCount(), 1);
      }
      EXPECT_TRUE(formtests::Box(formGrid, kPropFormName)->isVisible());
      EXPECT_TRUE(formtests::Box(controlGrid, kPropCaption)->isVisible());
      Type(formGrid, kPropFormName, QStringLiteral("Orders by Customer"));
      Type(controlGrid, kPropCaption, QStringLiteral("Customer Name"));
      label->move(label->pos() + QPoint(12, 30));
      designed = Controls(page);
      wizard.PressFinish();
      EXPECT_FALSE(wizard.isVisible());
    });
    m_manager->OnBnClickedEditForm();
    ASSERT_EQ(editing.opened(), 1);
  }
  const int32_t second = LiveForm();
  ASSERT_GT(second, first);
  ASSERT_TRUE(Eventually([&] { return Finished(second) && DeviceForm(first).isEmpty(); }, std::chrono::seconds(60)))
      << SyncLog().toStdString();
  EXPECT_EQ(DeviceForm(second)[QStringLiteral("title")].toString(), QStringLiteral("Orders by Customer"));
  ExpectOnDevice(second, designed);
  const QList<std::pair<int, int>> messages = FormMessages();
  ASSERT_EQ(messages.size(), 3);
  EXPECT_EQ(messages[0], std::make_pair(kAddForm, first));
  // The turn sends its added forms before its deleted ones, in one buffer.
  EXPECT_TRUE(messages.mid(1).contains(std::make_pair(kDeleteForm, first)));
  EXPECT_TRUE(messages.mid(1).contains(std::make_pair(kAddForm, second)));
  EXPECT_TRUE(m_service.DeviceErrors().isEmpty()) << m_service.DeviceErrors().join(u'\n').toStdString();
}
