// Stored-procedure profiles made through the real profile wizard on the test servers, stored in
// the settings database, and sent by the running sync program to the web-service double's
// device: a PostgreSQL set-returning function and a MariaDB procedure with a quote in a value.
// Then an edit through the Profile Manager that changes nothing, and a procedure without a
// result set, which cannot be finished.
#include "admin/foundation/DBConnManager.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/profiles/NewProfileWizard.h"
#include "admin/profiles/ParameterDialog.h"
#include "admin/profiles/ProfileBuildQueryForProcPage.h"
#include "admin/profiles/ProfileDatabaseConnectionPage.h"
#include "admin/profiles/ProfileManagerDlg.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"
#include "tests/admin/shell/MainDialogClosesAtOnce.h"
#include "tests/support/DialogScreenshot.h"
#include "tests/support/Eventually.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/WebServiceDouble.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <functional>
#include <map>

using namespace Qt::StringLiterals;
using odbctest::Engine;
using testsupport::Eventually;

namespace {

// Far above what a few turns take on a loaded machine.
constexpr std::chrono::seconds kGenerousBound{60};

// Answers the modal dialogs over the wizard by their titles: the login and the parameter values.
class ModalAnswers {
 public:
  using Answer = std::function<void(QDialog*)>;

  ModalAnswers() {
    timer_.callOnTimeout([this] { Look(); });
    timer_.start(5);
  }
  void On(const QString& title, Answer answer) { answers_[title] = std::move(answer); }
  QStringList asked() const { return asked_; }

 private:
  void Look() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible() || qobject_cast<CNewProfileWizard*>(dialog) != nullptr) return;
    asked_.append(dialog->windowTitle());
    const auto answer = answers_.find(dialog->windowTitle());
    if (answer != answers_.end()) {
      answer->second(dialog);
    } else {
      dialog->reject();
    }
  }

  std::map<QString, Answer> answers_;
  QStringList asked_;
  QTimer timer_;
};

ModalAnswers::Answer Login(const odbctest::ServerLogin& login) {
  return [login](QDialog* dialog) {
    dialog->findChild<QLineEdit*>(u"1055"_s)->setText(login.user);
    dialog->findChild<QLineEdit*>(u"1003"_s)->setText(login.password);
    dialog->findChild<CBMButton*>(u"1"_s)->click();
  };
}

ModalAnswers::Answer ParameterValues(const QStringList& values) {
  return [values](QDialog* dialog) {
    auto* list = dialog->findChild<CColoredListCtrl*>(u"1052"_s);
    for (int row = 0; row < values.size(); ++row) list->SetItemText(row, CParameterDialog::kValueColumn, values[row]);
    dialog->findChild<CBMButton*>(u"1"_s)->click();
  };
}

struct EngineCase {
  Engine engine;
  QStringList setup;       // statements that make the procedure
  QString procedure;
  QStringList values;      // typed into the parameter dialog
  QString query;           // the stored call
  QString dbType;
  QStringList deviceRows;  // "value:value" of the device's records, sorted
};

EngineCase PostgreSqlCase() {
  return {Engine::PostgreSql,
          {u"CREATE OR REPLACE FUNCTION tw_items_named(p_prefix VARCHAR, p_minimum INTEGER) "
           "RETURNS TABLE (item VARCHAR, qty INTEGER) LANGUAGE sql AS $$ SELECT t.item::varchar, t.qty FROM (VALUES "
           "('apple', 3), ('apricot', 9), ('banana', 7), ('avocado', 1)) AS t(item, qty) WHERE t.item LIKE "
           "p_prefix || '%' AND t.qty >= p_minimum ORDER BY t.item $$"_s},
          u"tw_items_named"_s,
          {u"ap"_s, u"2"_s},
          u"{call \"tw_items_named\"('ap', 2)}"_s,
          u"0"_s,
          {u"apple:3"_s, u"apricot:9"_s}};
}

EngineCase MariaDbCase() {
  return {Engine::MariaDb,
          {u"DROP PROCEDURE IF EXISTS tw_items_named"_s,
           u"CREATE PROCEDURE tw_items_named(IN p_owner VARCHAR(40), IN p_minimum INT) SELECT CONCAT(p_owner, ' ', "
           "t.item) AS label, t.qty FROM (SELECT 'apple' AS item, 3 AS qty UNION ALL SELECT 'pear', 9 UNION ALL "
           "SELECT 'fig', 1) AS t WHERE t.qty >= p_minimum ORDER BY t.item"_s},
          u"tw_items_named"_s,
          {u"O'Brien"_s, u"2"_s},
          u"call `tw_items_named` ('O''Brien', 2)"_s,
          u"9"_s,
          {u"O'Brien apple:3"_s, u"O'Brien pear:9"_s}};
}

// The servers' own procedure, whose order numbers need 64 bits.
EngineCase ShippedOrdersCase(Engine engine) {
  const bool mariaDb = engine == Engine::MariaDb;
  return {engine,
          {},
          u"orders_of_customer"_s,
          {u"1"_s, u"10"_s},
          mariaDb ? u"call `orders_of_customer` (1, 10)"_s : u"{call \"orders_of_customer\"(1, 10)}"_s,
          mariaDb ? u"9"_s : u"0"_s,
          {u"5000000001:12.40:Alder Outfitters"_s, u"5000000003:15.75:Alder Outfitters"_s}};
}

class ProcedureProfileEndToEnd : public SettingsDatabaseTest {
 protected:
  void SetUp() override {
    SettingsDatabaseTest::SetUp();
    ASSERT_TRUE(service_.Started()) << qPrintable(service_.Error());
    ASSERT_TRUE(QDir().mkpath(GetInstallation() + u"Desktop Files/DB/CDB Files"_s));
    RegisterDevice();
    m_app = std::make_unique<CTarnwickApp>();
    m_app->InitInstance();
    ASSERT_TRUE(m_app->GetSettingsConnection().IsConnected());
    Boxes().Clear();
    Boxes().SetDefaultAnswer(platform::IDYES);
  }
  void TearDown() override {
    if (program_.state() != QProcess::NotRunning) {
      synctest::SetSettingsDword(u"SyncServiceStatus"_s, 0);
      if (!program_.waitForFinished(static_cast<int>(std::chrono::milliseconds(kGenerousBound).count())))
        program_.kill();
    }
    wizard_.reset();
    m_app.reset();
    Boxes().SetDefaultAnswer(0);
    SettingsDatabaseTest::TearDown();
  }

  static QString GetInstallation() { return testsupport::CurrentMachineRoot() + u"/Tarnwick Plus/"_s; }

  // The device user "user01" at the double's address, turns without a pause.
  void RegisterDevice() {
    SyncInfo sync;
    sync.changeDetectionMinutes = sync.backSyncMinutes = 0;
    sync.webServiceUrl = service_.Url().toUtf8();
    DeskInfo desk;
    desk.desktopName = "desk-01";
    desk.deviceId = "user01";
    desk.deviceType = 2;
    synctest::StoreSealedRecord(u"SyncInfo"_s, sync.ToBytes());
    synctest::StoreSealedRecord(u"DeskInfo"_s, desk.ToBytes());
    ASSERT_TRUE(
        testsupport::StoreSealedValue(registrynames::kSettingsKey, u"ConnSettings"_s, ConnSettings().ToBytes()));
    synctest::SetSettingsDword(u"SyncServiceStatus"_s, 1);
    synctest::SetSettingsDword(u"NextProfileID"_s, 3);  // as the installer leaves it
  }

  // Makes the engine's procedure; false (the test skipped) without the server.
  bool PrepareServer(const EngineCase& engine) {
    admin::CDatabseConnection server;
    QString unavailable;
    if (!odbctest::ConnectEngine(engine.engine, &server, &unavailable)) {
      skipped_ = unavailable;
      return false;
    }
    for (const QString& sql : engine.setup) EXPECT_TRUE(SQL_SUCCEEDED(server.ExecuteStatement(sql))) << qPrintable(sql);
    return odbctest::RegisterServerDataSource(engine.engine, &login_, &unavailable);
  }

  CNewProfileWizard& OpenWizard() {
    wizard_ = std::make_unique<CNewProfileWizard>(CNewProfileWizard::kNewMode, CNewProfileWizard::kTableKind);
    wizard_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(wizard_.get()));
    return *wizard_;
  }
  CProfileBuildQueryForProcPage& ProcPage() const { return *wizard_->GetBuildQueryForProcPage(); }

  // The data-source page on the server's name with Stored Procedure ticked, then Next.
  void ChooseServerProcedures() {
    CProfileDatabaseConnectionPage& page = *wizard_->m_DatabaseConnectionPage;
    QTest::mouseClick(page.findChild<QAbstractButton*>(u"1054"_s), Qt::LeftButton);
    auto* names = page.findChild<QComboBox*>(u"1259"_s);
    const int index = names->findText(login_.dataSourceName);
    ASSERT_GE(index, 0);
    names->setCurrentIndex(index);
    Q_EMIT names->activated(index);
    ASSERT_TRUE(page.GetConnManager()->IsConnected());
    page.findChild<QCheckBox*>(u"1260"_s)->setChecked(true);
    wizard_->PressNext();
    ASSERT_EQ(wizard_->GetActivePage(), &ProcPage());
  }

  void SelectProcedure(const QString& name) {
    const QList<QListWidgetItem*> found = ProcPage().GetProcedureList()->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << qPrintable(name);
    found.front()->setSelected(true);
  }

  QStringList DeviceRows(int32_t profileId) {
    const QJsonObject profile =
        service_.Device()[u"profiles"_s].toObject()[QString::number(profileId)].toObject();
    QStringList rows;
    for (const QJsonValue& record : profile[u"records"_s].toArray()) {
      QStringList values;
      for (const QJsonValue& field : record.toObject()[u"values"_s].toArray()) values << field.toVariant().toString();
      rows << values.join(u':');
    }
    rows.sort();
    return rows;
  }

  void StartSyncProgram() {
    program_.setStandardOutputFile(QProcess::nullDevice());
    program_.start(QStringLiteral(SYNC_PROGRAM), {});
    ASSERT_TRUE(program_.waitForStarted());
  }

  static DWORD RecordIndex(int32_t profileId) {
    DWORD value = 0;
    const std::optional<platform::RegistryValue> stored =
        testsupport::StoredValue(registrynames::kRecordIndexKey, QString::number(profileId));
    if (stored) stored->ToDword(&value);
    return value;
  }

  // The engine's profile made in the wizard; the sync program then carries its rows to the device.
  void ExpectRowsOnDevice(const EngineCase& engine);
  // Makes the engine's profile through the wizard and checks what is stored; its number.
  int32_t MakeProfile(const EngineCase& engine);
  QList<QStringList> StoredProfile(int32_t profileId) {
    return Rows(u"SELECT DBInfo, DBType, DB_DSN, Query, ProfileType, SyncDestination, IsPrimaryKeySelected, "
                "SortColumnsInfo, FiltersInfo, UserList FROM ProfileInfo WHERE ProfileID = %1"_s.arg(profileId));
  }
  QList<QStringList> StatusRows(int32_t profileId) {
    return Rows(u"SELECT UserID, StatusFlag FROM UserProfileStatus WHERE ProfileID = %1"_s.arg(profileId));
  }

  static testsupport::MessageBoxRecorder& Boxes() { return testsupport::MessageBoxRecorder::Global(); }

  testsupport::WebServiceDouble service_;
  odbctest::ServerLogin login_;
  QString skipped_;
  std::unique_ptr<CTarnwickApp> m_app;
  std::unique_ptr<CNewProfileWizard> wizard_;
  QProcess program_;
};

int32_t ProcedureProfileEndToEnd::MakeProfile(const EngineCase& engine) {
  ModalAnswers answers;
  answers.On(u"Database Authentication"_s, Login(login_));
  answers.On(u"Parameter Values"_s, ParameterValues(engine.values));
  OpenWizard();
  ChooseServerProcedures();
  SelectProcedure(engine.procedure);
  EXPECT_EQ(ProcPage().GetCallText(), engine.query);
  EXPECT_GT(ProcPage().GetResultList()->GetItemCount(), 0);
  EXPECT_EQ(ProcPage().GetNameEdit()->text(), engine.procedure);
  EXPECT_EQ(ProcPage().GetParameterList()->horizontalHeaderItem(1)->text(), u"Dataypes"_s);
  ProcPage().TogglePreview();
  EXPECT_EQ(ProcPage().GetRecordCount()->text(), u"Number of Records:%1"_s.arg(engine.deviceRows.size()));
  if (engine.engine == Engine::PostgreSql) testsupport::SaveDialogScreenshot(*wizard_, u"ProcedurePage.png"_s);
  ProcPage().TogglePreview();

  Boxes().Clear();
  wizard_->PressFinish();
  EXPECT_EQ(wizard_->result(), CWizardSheet::kFinishResult)
      << qPrintable(Boxes().shown().isEmpty() ? QString() : Boxes().shown().last().text);
  const int32_t profileId = GetProfileIDByName(m_settings, engine.procedure);
  EXPECT_EQ(StoredProfile(profileId),
            (QList<QStringList>{{engine.procedure, engine.dbType, login_.dataSourceName, engine.query, u"2"_s,
                                 u"MainMemory"_s, u"0"_s, u"0#"_s, u"0#"_s, u"user01,"_s}}));
  EXPECT_EQ(StatusRows(profileId), (QList<QStringList>{{u"user01"_s, u"A"_s}}));
  EXPECT_EQ(RecordIndex(profileId), 1U);
  return profileId;
}

QColor RowColourOf(CColoredListCtrl& list, int row) {
  const QRect cell = list.visualItemRect(list.item(row, 2));
  return list.viewport()->grab().toImage().pixelColor(cell.right() - 3, cell.center().y());
}

}  // namespace

TEST_F(ProcedureProfileEndToEnd, PostgreSqlSetReturningFunctionReachesTheDevice) {
  ExpectRowsOnDevice(PostgreSqlCase());
}

TEST_F(ProcedureProfileEndToEnd, MariaDbProcedureWithAQuoteInAValueReachesTheDevice) {
  ExpectRowsOnDevice(MariaDbCase());
}

void ProcedureProfileEndToEnd::ExpectRowsOnDevice(const EngineCase& engine) {
  if (!PrepareServer(engine)) GTEST_SKIP() << qPrintable(skipped_);
  const int32_t profileId = MakeProfile(engine);
  ASSERT_FALSE(HasFailure());
  StartSyncProgram();
  EXPECT_TRUE(Eventually([&] { return DeviceRows(profileId) == engine.deviceRows; }, kGenerousBound))
      << qPrintable(DeviceRows(profileId).join(u" | "));
}

TEST_F(ProcedureProfileEndToEnd, MariaDbOrderNumbersBeyond32BitsReachTheDeviceWhole) {
  ExpectRowsOnDevice(ShippedOrdersCase(Engine::MariaDb));
}

TEST_F(ProcedureProfileEndToEnd, PostgreSqlOrderNumbersBeyond32BitsReachTheDeviceWhole) {
  ExpectRowsOnDevice(ShippedOrdersCase(Engine::PostgreSql));
}

// Edit in the Profile Manager, Apply with nothing changed: the same number and texts, the old
// status row "D" beside a new "A" one, and the record index back at 1.
TEST_F(ProcedureProfileEndToEnd, AnUnchangedEditKeepsTheProfile) {
  const EngineCase engine = PostgreSqlCase();
  if (!PrepareServer(engine)) GTEST_SKIP() << qPrintable(skipped_);
  const int32_t profileId = MakeProfile(engine);
  ASSERT_FALSE(HasFailure());
  wizard_.reset();
  const QList<QStringList> stored = StoredProfile(profileId);
  Execute(u"UPDATE UserProfileStatus SET StatusFlag = '' WHERE ProfileID = %1"_s.arg(profileId));  // synced
  ASSERT_TRUE(testsupport::StoreValue(registrynames::kRecordIndexKey, QString::number(profileId),
                                      platform::RegistryValue::FromDword(9)));

  CProfileManagerDlg manager(*m_app);
  manager.show();
  CColoredListCtrl* list = manager.GetProfileList();
  ASSERT_EQ(list->GetItemCount(), 1);
  list->SetSelectionMark(0);
  ModalAnswers answers;
  answers.On(u"Database Authentication"_s, Login(login_));
  QStringList callsShown;
  QTimer applier;
  applier.callOnTimeout([&] {
    auto* wizard = qobject_cast<CNewProfileWizard*>(QApplication::activeModalWidget());
    if (wizard == nullptr || !wizard->isVisible()) return;
    callsShown.append(wizard->GetBuildQueryForProcPage()->GetCallText());
    wizard->PressFinish();
    if (wizard->isVisible()) wizard->PressCancel();
  });
  applier.start(5);
  Boxes().Clear();
  manager.findChild<CBMButton*>(u"1029"_s)->click();
  EXPECT_EQ(callsShown, QStringList{engine.query});
  EXPECT_EQ(StoredProfile(profileId), stored);
  EXPECT_EQ(StatusRows(profileId), (QList<QStringList>{{u"user01"_s, u"D"_s}, {u"user01"_s, u"A"_s}}));
  EXPECT_EQ(RecordIndex(profileId), 1U);
  QStringList texts;
  for (const platform::MessageBoxRequest& box : Boxes().shown()) texts.append(box.text);
  EXPECT_TRUE(texts.contains(u"Current profile: tw_items_named has changed. Do you want to save the changes?"_s))
      << qPrintable(texts.join(u'|'));
  list->clearSelection();
  EXPECT_EQ(RowColourOf(*list, 0), CColoredListCtrl::MarkedRowColour()) << "red until the sync program takes it";
}

// A procedure that gives no result set leaves nothing to finish.
TEST_F(ProcedureProfileEndToEnd, AProcedureWithoutAResultSetCannotBeFinished) {
  EngineCase engine = MariaDbCase();
  engine.setup = {u"DROP PROCEDURE IF EXISTS tw_no_result"_s,
                  u"CREATE PROCEDURE tw_no_result() BEGIN DECLARE x INT DEFAULT 1; SET x = x + 1; END"_s};
  if (!PrepareServer(engine)) GTEST_SKIP() << qPrintable(skipped_);
  ModalAnswers answers;
  answers.On(u"Database Authentication"_s, Login(login_));
  OpenWizard();
  ChooseServerProcedures();
  Boxes().Clear();
  SelectProcedure(u"tw_no_result"_s);
  EXPECT_EQ(ProcPage().GetResultList()->GetItemCount(), 0);
  EXPECT_FALSE(wizard_->GetButton(CWizardSheet::Button::Apply)->isEnabled());
  EXPECT_FALSE(ProcPage().GetPreviewButton()->isEnabled());
  wizard_->PressFinish();
  EXPECT_TRUE(wizard_->isVisible());
  QStringList texts;
  for (const platform::MessageBoxRequest& box : Boxes().shown()) texts.append(box.text);
  EXPECT_EQ(texts.last(), u"Please, Select Procedure from available procedures list."_s)
      << qPrintable(texts.join(u'|'));
  EXPECT_EQ(GetProfileIDByName(m_settings, u"tw_no_result"_s), 0);

  int topic = 0;
  SetHelpBalloonOpener([&topic](int shown, QPoint) { topic = shown; });
  wizard_->PressHelp();
  SetHelpBalloonOpener({});
  EXPECT_EQ(topic, 27);
}
