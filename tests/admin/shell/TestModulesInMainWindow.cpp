// The modules as the administration program shows them, inside its main window on a copy of the
// settings database, and the shell's dialogs: what a user can click and read in each.
#include "admin/forms/FormManagerDlg.h"
#include "admin/profiles/ProfileManagerDlg.h"
#include "admin/shell/AboutDlg.h"
#include "admin/shell/ChangePasswordDlg.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/DBAuthDlg.h"
#include "admin/shell/DeletePropertyValue.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/ExcelConnDlg.h"
#include "admin/shell/HelpDlg.h"
#include "admin/shell/ManageSynchronizationDlg.h"
#include "admin/shell/ModuleFactory.h"
#include "admin/shell/NewUserDlg.h"
#include "admin/shell/ProxySettingsDlg.h"
#include "admin/shell/ProxyUserPassDlg.h"
#include "admin/shell/SetAdministrativePasswordDlg.h"
#include "admin/shell/SetUserOptionsDlg.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "admin/shell/TarnwickOptionsDlg.h"
#include "admin/shell/UserManagerDlg.h"
#include "admin/shell/UserPasswordDlg.h"
#include "admin/shell/WindowsVistaInfoMessageDialog.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"
#include "tests/admin/shell/MainDialogClosesAtOnce.h"
#include "tests/admin/shell/RecordingSyncControl.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WidgetReach.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QRect kModuleArea(205, 62, 760, 400);
// As long as a computer name or a device ID gets.
const QByteArray kLongDesktopName("WORKSTATION-ACCOUNTS-DEPARTMENT-FLOOR-03");
const QByteArray kLongDeviceId("field.engineers.north-region@example.com");

class ModulesInMainWindow : public SettingsDatabaseTest {
 protected:
  void SetUp() override {
    SettingsDatabaseTest::SetUp();
    testsupport::RegisterDesktop(2, kLongDesktopName, kLongDeviceId);
    m_app = std::make_unique<CTarnwickApp>();
    m_app->InitInstance();
    ASSERT_TRUE(m_app->GetSettingsConnection().IsConnected());
    RegisterModuleDialog(u"Profile Manager"_s, [this](QWidget* parent) { return new CProfileManagerDlg(*m_app, parent); });
    RegisterModuleDialog(u"Form Manager"_s, [this](QWidget* parent) { return new CFormManagerDlg(*m_app, parent); });
    // No administrator password: the main window opens logged in, on the Profile Manager.
    m_main = std::make_unique<CTarnwickDlg>();
    m_main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_main.get()));
  }
  void TearDown() override {
    m_main.reset();
    m_app.reset();
    SettingsDatabaseTest::TearDown();
  }

  QWidget& Open(const QString& module) {
    auto* tree = m_main->findChild<QTreeWidget*>(u"1000"_s);
    const QList<QTreeWidgetItem*> items = tree->findItems(module, Qt::MatchExactly | Qt::MatchRecursive);
    EXPECT_EQ(items.size(), 1) << qPrintable(module);
    if (tree->currentItem() != items.value(0)) tree->setCurrentItem(items.value(0));
    QWidget* shown = m_main->GetModuleDialog();
    EXPECT_NE(shown, nullptr) << qPrintable(module);
    QTest::qWait(0);
    return *shown;
  }

  void SaveMainWindow(const QString& fileName) const {
    const QString folder = testsupport::BinaryDir() + u"/screenshots/"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(m_main->window()->grab().save(folder + fileName));
  }

  std::unique_ptr<CTarnwickApp> m_app;
  std::unique_ptr<CTarnwickDlg> m_main;
};

// The colour of the module's background just inside its bottom-right corner, as the main
// window shows it.
QColor BackgroundOf(const QWidget& module) {
  const QPoint corner = module.mapTo(module.window(), QPoint(module.width() - 4, module.height() - 4));
  return module.window()->grab().toImage().pixelColor(corner);
}

}  // namespace

TEST_F(ModulesInMainWindow, EachModuleIsAChildPanelInItsRectangleWithEveryControlReachable) {
  for (const QString& module : {u"Profile Manager"_s, u"Form Manager"_s, u"Preferences"_s}) {
    SCOPED_TRACE(module.toStdString());
    QWidget& shown = Open(module);
    EXPECT_FALSE(shown.isWindow());
    EXPECT_EQ(shown.window(), m_main.get());
    EXPECT_EQ(shown.geometry(), kModuleArea);
    EXPECT_TRUE(m_main->rect().contains(shown.geometry()));
    EXPECT_EQ(BackgroundOf(shown), DialogBrushColor());
    EXPECT_EQ(testsupport::Describe(testsupport::ControlsNotOnTop(*m_main)), "");
    SaveMainWindow(u"main-%1.png"_s.arg(module.toLower().replace(u' ', u'-')));
  }
}

TEST_F(ModulesInMainWindow, ProfileManagerShowsItsColumnsAndNamesWhole) {
  QWidget& manager = Open(u"Profile Manager"_s);
  const auto* list = manager.findChild<CColoredListCtrl*>(u"1024"_s);
  const int third = list->viewport()->width() / 3;
  EXPECT_NEAR(list->horizontalHeader()->sectionSize(0), third, 1);
  EXPECT_NEAR(list->horizontalHeader()->sectionSize(1), third, 1);
  EXPECT_EQ(list->horizontalHeader()->sectionSize(2), list->horizontalHeader()->sectionSize(0) + 2);
  EXPECT_EQ(manager.findChild<QLabel*>(u"1166"_s)->text(), QString::fromLatin1(kLongDesktopName));
  EXPECT_EQ(manager.findChild<QLabel*>(u"1178"_s)->text(), QString::fromLatin1(kLongDeviceId));
  EXPECT_EQ(testsupport::Describe(testsupport::ClippedLabels(manager)), "");
  for (const char* id : {"1165", "1166", "1177", "1178"}) {
    const QWidget* label = manager.findChild<QLabel*>(QString::fromLatin1(id));
    EXPECT_TRUE(manager.rect().contains(label->geometry())) << id;
  }
}

TEST_F(ModulesInMainWindow, PreferencesShowsItsLabelsWhole) {
  EXPECT_EQ(testsupport::Describe(testsupport::ClippedLabels(Open(u"Preferences"_s))), "");
}

// Esc and Enter in a module do not take the module away from the main window.
TEST_F(ModulesInMainWindow, KeysInAModuleKeepItShown) {
  for (const QString& module : {u"Profile Manager"_s, u"Form Manager"_s, u"Preferences"_s}) {
    QWidget& shown = Open(module);
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
      QWidget* target = shown.focusWidget() != nullptr ? shown.focusWidget() : &shown;
      QTest::keyClick(target, key);
      EXPECT_TRUE(shown.isVisible()) << module.toStdString() << " " << key;
      EXPECT_TRUE(m_main->isVisible()) << module.toStdString() << " " << key;
    }
  }
}

// Every dialog the shell opens, shown alone: each of its buttons, boxes and lists takes a click,
// and each of its labels shows its text whole.
TEST_F(ModulesInMainWindow, EveryControlOfTheShellsDialogsTakesAClick) {
  using Make = std::function<std::unique_ptr<QWidget>()>;
  const QList<std::pair<const char*, Make>> dialogs = {
      {"About", [] { return std::make_unique<CAboutDlg>(); }},
      {"Change password", [] { return std::make_unique<CChangePasswordDlg>(); }},
      {"Set password", [] { return std::make_unique<CSetAdministrativePasswordDlg>(); }},
      {"Database login", [] { return std::make_unique<CDBAuthDlg>(); }},
      {"Workbook connection", [] { return std::make_unique<CExcelConnDlg>(); }},
      {"Help", [] { return std::make_unique<CHelpDlg>(); }},
      {"Connection settings", [] { return std::make_unique<CProxySettingsDlg>(); }},
      {"Proxy login", [] { return std::make_unique<CProxyUserPassDlg>(); }},
      {"Delete value", [] { return std::make_unique<CDeletePropertyValue>(QStringList{u"one"_s, u"two"_s}); }},
      {"Vista information", [] { return std::make_unique<CWindowsVistaInfoMessageDialog>(); }},
      {"Manage synchronization",
       [] {
         static RecordingSyncControl port;
         return std::make_unique<CManageSynchronizationDlg>(port);
       }},
      {"Preferences",
       [] { return std::make_unique<CTarnwickOptionsDlg>(nullptr, std::make_unique<RecordingSyncControl>()); }},
      {"User manager", [this] { return std::make_unique<CUserManagerDlg>(m_settings); }},
      {"New user", [this] { return std::make_unique<CNewUserDlg>(m_settings); }},
      {"User options", [this] { return std::make_unique<CSetUserOptionsDlg>(m_settings, u"1234"_s); }},
      {"User password", [this] { return std::make_unique<CUserPasswordDlg>(m_settings, 0, u"1234"_s); }},
      {"Profile manager", [this] { return std::make_unique<CProfileManagerDlg>(*m_app); }},
  };
  for (const auto& [name, make] : dialogs) {
    const std::unique_ptr<QWidget> dialog = make();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get())) << name;
    EXPECT_EQ(testsupport::Describe(testsupport::ControlsNotOnTop(*dialog)), "") << name;
    EXPECT_EQ(testsupport::Describe(testsupport::ClippedLabels(*dialog)), "") << name;
  }
}
