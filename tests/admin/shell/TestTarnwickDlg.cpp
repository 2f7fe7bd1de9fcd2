#include "admin/shell/BMButton.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/LogReader.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/SettingsStore.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using testsupport::MessageBoxRecorder;

namespace {

class MainDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxRecorder::Global().Clear();
    installation_ = testsupport::InstallAdmin();
    app_ = std::make_unique<CTarnwickApp>();
  }

  static void StorePassword(const QByteArray& password) {
    ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("APas"), password));
  }

  std::unique_ptr<CTarnwickDlg> Open() {
    auto dialog = std::make_unique<CTarnwickDlg>();
    dialog->show();
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    dialog_ = dialog.get();
    return dialog;
  }

  template <typename T>
  T* Control(const char* id) const {
    T* control = dialog_->findChild<T*>(QString::fromLatin1(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
  }
  QLineEdit* Password() const { return Control<QLineEdit>("1003"); }
  CBMButton* Login() const { return Control<CBMButton>("1004"); }
  QTreeWidget* Tree() const { return Control<QTreeWidget>("1000"); }
  QString Label() const { return Control<QLabel>("1002")->text(); }
  bool PanelShown() const { return Control<QGroupBox>("1006")->isVisible() && Login()->isVisible(); }

  QTreeWidgetItem* Item(const QString& text) const {
    const QList<QTreeWidgetItem*> found = Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    EXPECT_EQ(found.size(), 1) << text.toStdString();
    return found.value(0);
  }
  void Select(const QString& text) const { Tree()->setCurrentItem(Item(text)); }
  QString Selected() const { return Tree()->currentItem() ? Tree()->currentItem()->text(0) : QString(); }

  QStringList Boxes() const {
    QStringList texts;
    for (const auto& box : MessageBoxRecorder::Global().shown()) {
      EXPECT_EQ(box.caption, QStringLiteral("Tarnwick Plus Lite"));
      texts.append(box.text);
    }
    MessageBoxRecorder::Global().Clear();
    return texts;
  }

  QList<testsupport::LogEntry> Log() const {
    return testsupport::ReadLogEntries(testsupport::TodaysAdminLog(installation_));
  }

  // The module open in its rectangle, the login panel hidden.
  void ExpectModule(const QString& module, const QRect& rect = QRect(205, 62, 760, 400)) const {
    QWidget* shown = dialog_->GetModuleDialog();
    ASSERT_NE(shown, nullptr) << module.toStdString();
    EXPECT_EQ(shown->objectName(), module);
    EXPECT_EQ(shown->geometry(), rect);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_FALSE(PanelShown());
    EXPECT_TRUE(app_->IsLoggedIn());
  }

  void ExpectLoggedOutPanel() const {
    EXPECT_FALSE(app_->IsLoggedIn());
    EXPECT_TRUE(PanelShown());
    EXPECT_EQ(Login()->text(), QStringLiteral("Login"));
    EXPECT_TRUE(Login()->isEnabled());
    EXPECT_EQ(Label(), QStringLiteral("Enter Administrative Password :"));
    EXPECT_TRUE(Password()->isVisible());
    EXPECT_EQ(dialog_->GetModuleDialog(), nullptr);
  }

  QString installation_;
  std::unique_ptr<CTarnwickApp> app_;
  CTarnwickDlg* dialog_ = nullptr;
};

}  // namespace

TEST_F(MainDialog, HasItsTreeAndItsLookAtStart) {
  StorePassword("Secret1");
  const auto dialog = Open();
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Tarnwick Plus Lite - Personal Edition"));
  QTreeWidgetItem* root = Tree()->topLevelItem(0);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Tree()->topLevelItemCount(), 1);
  EXPECT_EQ(root->text(0), QStringLiteral("TarnwickPlus"));
  EXPECT_TRUE(root->isExpanded());
  QStringList modules;
  for (int i = 0; i < root->childCount(); ++i) modules.append(root->child(i)->text(0));
  EXPECT_EQ(modules, (QStringList{QStringLiteral("Profile Manager"), QStringLiteral("Form Manager"), QStringLiteral("Preferences")}));
  EXPECT_EQ(Control<QLabel>("1214")->text(), QStringLiteral("Version : 4.2 (Build 181110A)"));
  EXPECT_EQ(Control<QLabel>("1215")->text(), QStringLiteral("        Tarnwick Plus Lite"));
  EXPECT_FALSE(Control<CBMButton>("1005")->isVisible());
  EXPECT_EQ(dialog->palette().color(QPalette::Window), QColor(210, 210, 255));
  ExpectLoggedOutPanel();
  const auto started = testsupport::EntriesContaining(Log(), QStringLiteral("Tarnwick Plus Lite Started..."));
  ASSERT_EQ(started.size(), 1);
  EXPECT_EQ(started[0].code, 10);
}

// An absent password and a stored empty one both mean "no password".
TEST_F(MainDialog, WithoutAPasswordItOpensOnTheProfileManagerWithLoginDisabled) {
  for (const bool storedEmpty : {false, true}) {
    SCOPED_TRACE(storedEmpty ? "stored empty" : "absent");
    app_->SetLoggedIn(false);
    if (storedEmpty) StorePassword("");
    const auto dialog = Open();
    EXPECT_EQ(Selected(), QStringLiteral("Profile Manager"));
    ExpectModule(QStringLiteral("Profile Manager"));
    EXPECT_FALSE(Login()->isEnabled());
    EXPECT_TRUE(Boxes().isEmpty());
  }
  const auto selected = testsupport::EntriesContaining(Log(), QStringLiteral("Module Profile Manager is selected."));
  ASSERT_EQ(selected.size(), 2);
  EXPECT_EQ(selected[0].code, 21);
}

TEST_F(MainDialog, RefusesWrongPasswordsAndKeepsTheText) {
  StorePassword("Secret1");
  const auto dialog = Open();
  for (const QString& wrong : {QStringLiteral("secret1"), QStringLiteral("SECRET1"), QStringLiteral("Secret"),
                              QStringLiteral("Secret12"), QString()}) {
    SCOPED_TRACE(wrong.toStdString());
    Password()->setText(wrong);
    QTest::mouseClick(Login(), Qt::LeftButton);
    EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Invalid Password, Please Try again..")});
    EXPECT_EQ(Password()->text(), wrong);
    ExpectLoggedOutPanel();
  }
}

TEST_F(MainDialog, TheRightPasswordMovesTheFocusToLoginAndEnterLogsInThere) {
  StorePassword("Secret1");
  const auto dialog = Open();
  Password()->setFocus();
  QTest::keyClicks(Password(), QStringLiteral("Secret"));
  EXPECT_EQ(QApplication::focusWidget(), Password());
  QTest::keyClick(Password(), Qt::Key_Return);
  EXPECT_TRUE(dialog->isVisible()) << "Enter never closes the main window";
  EXPECT_TRUE(Boxes().isEmpty());
  ExpectLoggedOutPanel();

  QTest::keyClick(Password(), Qt::Key_1);
  EXPECT_EQ(QApplication::focusWidget(), Login());
  QTest::keyClick(Login(), Qt::Key_Enter);
  EXPECT_EQ(Selected(), QStringLiteral("Profile Manager"));
  ExpectModule(QStringLiteral("Profile Manager"));
}

TEST_F(MainDialog, AModuleWhileLoggedOutIsRefusedAndTheRootIsAlwaysSelectable) {
  StorePassword("Secret1");
  const auto dialog = Open();
  for (const QString& module : {QStringLiteral("Form Manager"), QStringLiteral("Preferences"), QStringLiteral("Profile Manager")}) {
    Select(module);
    EXPECT_EQ(Boxes(), QStringList{QStringLiteral("You have not Logged in Tarnwick Plus")});
    EXPECT_EQ(Selected(), module) << "the item stays selected";
    ExpectLoggedOutPanel();
  }
  Select(QStringLiteral("TarnwickPlus"));
  EXPECT_TRUE(Boxes().isEmpty());
  ExpectLoggedOutPanel();
}

// Logged out, the refused Profile Manager stays selected; logging in selects it again, which is
// no change of selection: it must open all the same.
TEST_F(MainDialog, LoggingInWhileTheRefusedProfileManagerIsSelectedOpensIt) {
  StorePassword("Secret1");
  const auto dialog = Open();
  Select(QStringLiteral("Profile Manager"));
  EXPECT_EQ(Boxes().size(), 1);
  Password()->setText(QStringLiteral("Secret1"));
  QTest::mouseClick(Login(), Qt::LeftButton);
  ExpectModule(QStringLiteral("Profile Manager"));
  EXPECT_FALSE(Login()->isVisible()) << "the next click must not log out";
}

TEST_F(MainDialog, TheRootShowsTheLoggedInPanelAndLogoutClearsThePassword) {
  StorePassword("Secret1");
  const auto dialog = Open();
  Password()->setText(QStringLiteral("Secret1"));
  QTest::mouseClick(Login(), Qt::LeftButton);
  Select(QStringLiteral("TarnwickPlus"));
  EXPECT_EQ(dialog->GetModuleDialog(), nullptr);
  EXPECT_TRUE(PanelShown());
  EXPECT_EQ(Label(), QStringLiteral("Administrator Logged in."));
  EXPECT_EQ(Login()->text(), QStringLiteral("Logout"));
  EXPECT_TRUE(Login()->isEnabled());
  EXPECT_FALSE(Password()->isVisible());
  EXPECT_TRUE(app_->IsLoggedIn());

  QTest::mouseClick(Login(), Qt::LeftButton);
  EXPECT_TRUE(Password()->text().isEmpty());
  ExpectLoggedOutPanel();
  EXPECT_EQ(Selected(), QStringLiteral("TarnwickPlus")) << "logout leaves the selection";
}

TEST_F(MainDialog, EverySelectionBuildsTheModuleAnew) {
  const auto dialog = Open();  // no password: logged in at once
  Select(QStringLiteral("Form Manager"));
  ExpectModule(QStringLiteral("Form Manager"));
  const QPointer<QWidget> first = dialog->GetModuleDialog();
  Select(QStringLiteral("Preferences"));
  ExpectModule(QStringLiteral("Preferences"));
  EXPECT_TRUE(first.isNull()) << "the Form Manager went with the switch";
  Select(QStringLiteral("Form Manager"));
  ExpectModule(QStringLiteral("Form Manager"));
  EXPECT_EQ(dialog->findChildren<QWidget*>(QStringLiteral("Form Manager")).size(), 1);
  EXPECT_EQ(dialog->findChildren<QWidget*>(QStringLiteral("Preferences")).size(), 0);

  // The User Manager has no item of its own; given one, it opens in its own rectangle.
  Item(QStringLiteral("TarnwickPlus"))->addChild(new QTreeWidgetItem(QStringList{QStringLiteral("User Manager")}));
  Select(QStringLiteral("User Manager"));
  ExpectModule(QStringLiteral("User Manager"), QRect(190, 65, 660, 480));
}

// A stored value that cannot be read is no "no password": the panel stays, every password is
// refused, and the log tells why.
TEST_F(MainDialog, AnUnreadablePasswordKeepsTheLoginAndRefusesEveryPassword) {
  ASSERT_TRUE(testsupport::StoreValue(registrynames::RecordKeyName(), QStringLiteral("APas"),
                                      platform::RegistryValue::FromBinary(QByteArray("\x01\x02\x03", 3))));
  const auto dialog = Open();
  ExpectLoggedOutPanel();
  for (const QString& attempt : {QString(), QStringLiteral("Secret1")}) {
    Password()->setText(attempt);
    QTest::mouseClick(Login(), Qt::LeftButton);
    EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Invalid Password, Please Try again..")});
    ExpectLoggedOutPanel();
  }
  Select(QStringLiteral("TarnwickPlus"));
  EXPECT_TRUE(Login()->isEnabled());
  EXPECT_FALSE(testsupport::EntriesContaining(Log(), QStringLiteral("administrator password cannot be read")).isEmpty());
}
