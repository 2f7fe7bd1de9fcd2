// The Profile Manager module on a copy of the settings database with the application object's
// settings connection: what it lists and paints red, Edit and Remove through its buttons, the
// sync program warning, and the 15-second refresh.
#include "admin/foundation/ProfileStatements.h"
#include "admin/profiles/NewProfileWizard.h"
#include "admin/profiles/ProfileManagerDlg.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "shared/RegistrySettings.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"
#include "tests/admin/shell/MainDialogClosesAtOnce.h"
#include "tests/support/DialogScreenshot.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString kStopped =
    u"Synchronization Service is Stopped, \r\nto Start go to \"Preferences -> Start Synchronization\"."_s;
const QString kConnectError = u"Error in Connecting UserProfileDB Database."_s;

// Cancels every profile wizard that opens, after looking at it.
class WizardWatcher {
 public:
  using Look = std::function<void(CNewProfileWizard&)>;

  explicit WizardWatcher(Look look = {}) : look_(std::move(look)) {
    timer_.callOnTimeout([this] {
      auto* wizard = qobject_cast<CNewProfileWizard*>(QApplication::activeModalWidget());
      if (wizard == nullptr || !wizard->isVisible()) return;
      ++opened_;
      if (look_) look_(*wizard);
      wizard->PressCancel();
    });
    timer_.start(5);
  }
  int opened() const { return opened_; }

 private:
  Look look_;
  QTimer timer_;
  int opened_ = 0;
};

class ProfileManagerDlgTest : public SettingsDatabaseTest {
 protected:
  void SetUp() override {
    SettingsDatabaseTest::SetUp();
    testsupport::RegisterDesktop(2);
    m_app = std::make_unique<CTarnwickApp>();
    m_app->InitInstance();
    ASSERT_TRUE(m_app->GetSettingsConnection().IsConnected());
    Boxes().Clear();
    Boxes().SetDefaultAnswer(platform::IDYES);
  }
  void TearDown() override {
    m_manager.reset();
    m_app.reset();
    Boxes().SetDefaultAnswer(0);
    SetHelpBalloonOpener({});
    SettingsDatabaseTest::TearDown();
  }

  void StoreProfile(int32_t id, const QString& name, const QStringList& flags, int32_t type = 0) {
    Execute(u"INSERT INTO ProfileInfo (ProfileID, DBInfo, DBType, DB_DSN, Path, Query, ProfileType) VALUES "
            "(%1, '%2', '0', 'NoSuchSource', '', 'Select \"a\" from \"t\"', %3)"_s.arg(id)
                .arg(name)
                .arg(type));
    for (const QString& flag : flags)
      Execute(u"INSERT INTO UserProfileStatus VALUES ('user01', %1, '%2')"_s.arg(id).arg(flag));
  }

  CProfileManagerDlg& OpenManager() {
    m_manager = std::make_unique<CProfileManagerDlg>(*m_app);
    m_manager->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_manager.get()));
    return *m_manager;
  }
  CColoredListCtrl& List() const { return *m_manager->GetProfileList(); }
  CBMButton* Button(int id) const { return m_manager->findChild<CBMButton*>(QString::number(id)); }
  QStringList Listed() const {
    QStringList names;
    for (int row = 0; row < List().GetItemCount(); ++row) names.append(List().GetItemText(row, 0));
    return names;
  }
  void Select(const QString& name) {
    const int row = static_cast<int>(Listed().indexOf(name));
    ASSERT_GE(row, 0) << qPrintable(name);
    List().SetSelectionMark(row);
  }
  QColor RowPixel(int row) const {
    const QRect cell = List().visualItemRect(List().item(row, 2));
    return List().viewport()->grab().toImage().pixelColor(cell.right() - 3, cell.center().y());
  }
  QStringList BoxTexts() const {
    QStringList texts;
    for (const platform::MessageBoxRequest& request : Shown()) texts.append(request.text);
    return texts;
  }
  QStringList AdminLog() const {
    QStringList texts;
    for (const testsupport::LogEntry& entry :
         testsupport::ReadLogEntries(testsupport::TodaysAdminLog(GetInstallationPath())))
      texts.append(entry.text);
    return texts;
  }
  static testsupport::MessageBoxRecorder& Boxes() { return testsupport::MessageBoxRecorder::Global(); }

  std::unique_ptr<CTarnwickApp> m_app;
  std::unique_ptr<CProfileManagerDlg> m_manager;
};

}  // namespace

TEST_F(ProfileManagerDlgTest, ListsLiveProfilesWithPendingOnesInRed) {
  StoreProfile(3, u"Settled"_s, {u""_s});
  StoreProfile(4, u"Gone"_s, {u"D"_s, u"D"_s});
  StoreProfile(5, u"Pending"_s, {u"D"_s, u"A"_s});
  CProfileManagerDlg& manager = OpenManager();
  EXPECT_EQ(Listed(), (QStringList{u"Settled"_s, u"Pending"_s}));
  EXPECT_EQ(List().GetItemText(1, 1), u"NoSuchSource"_s);
  EXPECT_EQ(List().GetItemText(1, 2), u"Select \"a\" from \"t\""_s);
  EXPECT_EQ(RowPixel(1), CColoredListCtrl::MarkedRowColour());
  EXPECT_NE(RowPixel(0), CColoredListCtrl::MarkedRowColour());
  EXPECT_EQ(List().horizontalHeaderItem(1)->text(), u"Desktop Database Name/DSN Name"_s);
  EXPECT_EQ(List().horizontalHeader()->sectionSize(2), List().horizontalHeader()->sectionSize(0) + 2);
  EXPECT_FALSE(manager.findChild<QWidget*>(u"1018"_s)->isVisible());
  EXPECT_FALSE(manager.findChild<QWidget*>(u"1026"_s)->isVisible());
  EXPECT_EQ(manager.findChild<QLabel*>(u"1178"_s)->text(), u"user01"_s);
  for (const char* id : {"1165", "1166", "1177", "1178"}) {
    const QFont font = manager.findChild<QLabel*>(QString::fromLatin1(id))->font();
    EXPECT_TRUE(font.bold() && font.pixelSize() == 14) << id;
  }
  EXPECT_TRUE(AdminLog().contains(u"2 Number of Profile's are Available."_s));
  EXPECT_TRUE(Button(1029)->isEnabled() && Button(1030)->isEnabled());
  testsupport::SaveDialogScreenshot(manager, u"ProfileManager.png"_s);

  std::vector<int> topics;
  SetHelpBalloonOpener([&topics](int topic, QPoint) { topics.push_back(topic); });
  Button(1015)->click();
  Button(1153)->click();
  EXPECT_EQ(topics, (std::vector<int>{9, 17}));
}

TEST_F(ProfileManagerDlgTest, EditIsRefusedWhereItWouldGoWrong) {
  StoreProfile(1, u"SampleProfile_Artist"_s, {u""_s});
  StoreProfile(5, u"Pending"_s, {u"A"_s});
  StoreProfile(6, u"Removed meanwhile"_s, {u""_s});
  OpenManager();
  Execute(u"UPDATE UserProfileStatus SET StatusFlag = 'D' WHERE ProfileID = 6"_s);
  Execute(u"DELETE FROM ProfileInfo WHERE ProfileID = 6"_s);
  const WizardWatcher watcher;
  const struct {
    const char* name;
    const char* refusal;
  } cases[] = {
      {"SampleProfile_Artist", "You Can not Edit Sample Profile."},
      {"Pending",
       "Profile is in syncing process, please wait. You will able to edit the profile, when profile's red color "
       "changes to normal color.."},
      {"Removed meanwhile", "No Profile is Selected."},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.name);
    Boxes().Clear();
    Select(QString::fromUtf8(entry.name));
    Button(1029)->click();
    EXPECT_EQ(BoxTexts(), QStringList{QString::fromUtf8(entry.refusal)});
  }
  EXPECT_EQ(watcher.opened(), 0);
}

TEST_F(ProfileManagerDlgTest, EditOpensTheWizardWithTheStoredProfileAndNoRefreshMeanwhile) {
  StoreProfile(7, u"Calls"_s, {u""_s}, 2);
  CProfileManagerDlg& manager = OpenManager();
  Select(u"Calls"_s);
  bool refreshRunning = true;
  ProfileRecord seen;
  int kind = -1;
  const WizardWatcher watcher([&](CNewProfileWizard& wizard) {
    refreshRunning = manager.GetRefreshTimer().isActive();
    seen = wizard.GetProfileRecord();
    kind = wizard.GetKind();
  });
  Button(1029)->click();
  EXPECT_EQ(watcher.opened(), 1);
  EXPECT_FALSE(refreshRunning);
  EXPECT_TRUE(manager.GetRefreshTimer().isActive());
  EXPECT_EQ(manager.GetRefreshTimer().interval(), CProfileManagerDlg::kRefreshIntervalMs);
  EXPECT_EQ(kind, CNewProfileWizard::kProcedureKind);
  EXPECT_EQ(seen.ProfileID, 7);
  EXPECT_EQ(seen.DBInfo, u"Calls"_s);
  const QStringList log = AdminLog();
  EXPECT_TRUE(log.contains(u"Edit Profile started."_s));
  EXPECT_TRUE(log.contains(u"Profile Calls with Profile ID :7."_s));
  EXPECT_TRUE(log.contains(u"<ProfileManagerDlg> Profile Type is the STORED PROOCEDURE."_s));
  EXPECT_TRUE(log.contains(u"Edit Profile end."_s));
}

TEST_F(ProfileManagerDlgTest, RemovesAPendingProfileAndKeepsOneWhoseDeletionFailed) {
  StoreProfile(5, u"Pending"_s, {u"A"_s});
  StoreProfile(6, u"Locked"_s, {u""_s});
  OpenManager();
  Select(u"Pending"_s);
  Button(1030)->click();
  EXPECT_EQ(Listed(), QStringList{u"Locked"_s});
  EXPECT_EQ(BoxTexts(), QStringList{u"Are you sure to remove Profile : Pending ?"_s});

  Boxes().Clear();
  Refuse(u"UPDATE"_s, u"UserProfileStatus"_s);
  Select(u"Locked"_s);
  Button(1030)->click();
  EXPECT_EQ(Listed(), QStringList{u"Locked"_s});
  EXPECT_EQ(BoxTexts(),
            (QStringList{u"Are you sure to remove Profile : Locked ?"_s, u"Failed to remove Profile : Locked."_s}));

  Boxes().Clear();
  Allow(u"UPDATE"_s, u"UserProfileStatus"_s);
  Execute(u"DELETE FROM UserProfileStatus"_s);
  m_manager->RefreshProfileList();
  EXPECT_TRUE(Listed().isEmpty());
  EXPECT_FALSE(Button(1029)->isEnabled() || Button(1030)->isEnabled());
}

TEST_F(ProfileManagerDlgTest, RefreshKeepsTheSelectionAndShowsOneBoxUntilTheDatabaseIsBack) {
  StoreProfile(3, u"First"_s, {u""_s});
  StoreProfile(4, u"Second"_s, {u""_s});
  CProfileManagerDlg& manager = OpenManager();
  Select(u"Second"_s);
  StoreProfile(2, u"Earlier"_s, {u"A"_s});
  manager.OnRefreshTimer();
  EXPECT_EQ(Listed(), (QStringList{u"First"_s, u"Second"_s, u"Earlier"_s}));
  EXPECT_EQ(List().GetSelectionMark(), 1);

  const QString database = GetInstallationPath() + u"Desktop Files/DB/UserProfileDB.mdb"_s;
  m_settings.DisconnectDataSource();
  m_app->GetSettingsConnection().DisconnectDataSource();
  ASSERT_TRUE(QFile::rename(database, database + u".away"_s));
  Boxes().Clear();
  manager.OnRefreshTimer();
  manager.OnRefreshTimer();
  EXPECT_EQ(BoxTexts(), QStringList{kConnectError}) << "one box, however many ticks fail";
  EXPECT_TRUE(Listed().isEmpty());

  ASSERT_TRUE(QFile::rename(database + u".away"_s, database));
  manager.OnRefreshTimer();
  EXPECT_EQ(Listed().size(), 3);
  m_app->GetSettingsConnection().DisconnectDataSource();
  ASSERT_TRUE(QFile::rename(database, database + u".away"_s));
  manager.OnRefreshTimer();
  EXPECT_EQ(BoxTexts(), (QStringList{kConnectError, kConnectError})) << "after a success a failure is told again";
  ASSERT_TRUE(QFile::rename(database + u".away"_s, database));
}

TEST_F(ProfileManagerDlgTest, WarnsOnceWhenTheSyncProgramDoesNotRun) {
  OpenManager();
  EXPECT_TRUE(m_manager->GetWarningTimer().isActive());
  QTest::qWait(CProfileManagerDlg::kWarningDelayMs + 200);
  EXPECT_FALSE(m_manager->GetWarningTimer().isActive());
  EXPECT_EQ(BoxTexts(), QStringList{kStopped});
  EXPECT_EQ(Shown().front().type & platform::MB_ICONERROR, platform::MB_ICONERROR);
  EXPECT_TRUE(AdminLog().contains(kStopped));

  // With the sync program running nothing is shown.
  const QString program = testsupport::CurrentMachineRoot() + u"/TarnwickPlusSyncServiceLite"_s;
  ASSERT_TRUE(QFile::copy(u"/bin/sleep"_s, program));
  QProcess running;
  running.start(program, {u"30"_s});
  ASSERT_TRUE(running.waitForStarted());
  Boxes().Clear();
  OpenManager();
  QTest::qWait(CProfileManagerDlg::kWarningDelayMs + 200);
  running.kill();
  running.waitForFinished();
  EXPECT_TRUE(BoxTexts().isEmpty()) << qPrintable(BoxTexts().join(u'|'));
}
