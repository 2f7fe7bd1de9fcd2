// The device-password dialogs: the button rule, setting, changing and removing a password, and
// where the main window would open them.
#include "admin/foundation/AppLog.h"
#include "admin/shell/ModuleFactory.h"
#include "admin/shell/SetUserPasswordDlg.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickOptionsDlg.h"
#include "admin/shell/UserManagerDlg.h"
#include "admin/shell/UserPasswordDlg.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "shared/data/SourceKinds.h"
#include "tests/admin/shell/DeviceUserTest.h"
#include "tests/support/SettingsStore.h"

#include <QLabel>
#include <QTest>

#include <memory>

namespace {

using namespace deviceusers;

class UserPasswordTest : public DeviceUserTest {
 protected:
  void StorePassword(const QString& pin, const QString& password, const QString& flag) {
    Execute(QStringLiteral("INSERT INTO UserPasswordStatus VALUES (%1, %2, %3)")
                .arg(Quoted(pin), Quoted(password), Quoted(flag)));
  }
  QList<QStringList> Passwords(const QString& pin) {
    return Rows(QStringLiteral("SELECT UserID, Password, StatusFlag FROM UserPasswordStatus WHERE UserID = %1")
                    .arg(Quoted(pin)));
  }
  static QString ButtonStates(const QWidget& dialog) {
    QString states;
    for (const char* id : {"1087", "1088", "1089"}) states += Button(dialog, id)->isEnabled() ? u'1' : u'0';
    return states;
  }
  static void SetNew(QDialog& dialog, const QString& password, const QString& confirmation) {
    Type(dialog, "1010", password);
    Type(dialog, "1012", confirmation);
    Button(dialog, "1047")->click();
  }
};

}  // namespace

TEST_F(UserPasswordTest, TheButtonsFollowTheSelectedUsersPasswordRow) {
  StoreUser(QStringLiteral("none"), QStringLiteral("No Row"), QStringLiteral("A"));
  StoreUser(QStringLiteral("set"), QStringLiteral("Has One"), QStringLiteral("A"));
  StoreUser(QStringLiteral("removed"), QStringLiteral("Removed One"), QStringLiteral("A"));
  StoreUser(QStringLiteral("gone"), QStringLiteral("Gone"), QStringLiteral("D"));
  StorePassword(QStringLiteral("set"), QStringLiteral("pw"), QStringLiteral("U"));
  StorePassword(QStringLiteral("removed"), QStringLiteral("pw"), QStringLiteral("D"));
  SetUserPasswordDlg dialog(m_settings);
  auto* list = Control<CColoredListCtrl>(dialog, "1018");
  EXPECT_EQ(Column(*list, 0), (QStringList{QStringLiteral("none"), QStringLiteral("set"), QStringLiteral("removed")}));
  EXPECT_EQ(ButtonStates(dialog), QStringLiteral("000"));
  for (const auto& [pin, states] : {std::pair{"none", "100"}, std::pair{"set", "011"}, std::pair{"removed", "100"}}) {
    SelectUser(list, QString::fromLatin1(pin));
    EXPECT_EQ(ButtonStates(dialog), QString::fromLatin1(states)) << pin;
  }
}

TEST_F(UserPasswordTest, APasswordIsSetChangedRemovedAndSetAgainInItsOneRow) {
  const QString pin = QStringLiteral("O'Neil's");
  const QString first = QStringLiteral("it's \"one\"");
  StoreUser(pin, QStringLiteral("Quoted"), QStringLiteral("A"));
  SetUserPasswordDlg dialog(m_settings);
  auto* list = Control<CColoredListCtrl>(dialog, "1018");
  SelectUser(list, pin);

  ClickAndAnswer(Button(dialog, "1087"), [&](QDialog& set) {
    EXPECT_EQ(Control<QLabel>(set, "1093")->text(), pin);
    EXPECT_FALSE(Control<QLineEdit>(set, "1007")->isVisibleTo(&set));
    EXPECT_TRUE(Control<QLabel>(set, "1094")->isVisibleTo(&set));
    SetNew(set, QString(), QString());
    SetNew(set, first, first + u'x');
    EXPECT_TRUE(set.isVisible());
    SetNew(set, first, first);
  });
  EXPECT_EQ(Boxes(), (QStringList{QStringLiteral("Specify New Password, Please Try Again !"),
                                  QStringLiteral("New and Confirm Password Not Equals, Please Try Again !")}));
  EXPECT_EQ(Passwords(pin), (QList<QStringList>{{pin, first, QStringLiteral("A")}}));
  EXPECT_EQ(ButtonStates(dialog), QStringLiteral("011"));

  // The current password is the user's, or the administrator's; anything else is refused.
  ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("APas"), "Admin123"));
  struct Change {
    QString current;
    bool accepted;
    QString next;
  };
  for (const Change& change :
       {Change{QStringLiteral("wrong"), false, QStringLiteral("x")}, Change{first, true, QStringLiteral("second")},
        Change{QStringLiteral("Admin123"), true, QStringLiteral("third")}}) {
    SCOPED_TRACE(qPrintable(change.current));
    const QString before = Passwords(pin).first().at(1);
    ClickAndAnswer(Button(dialog, "1088"), [&](QDialog& changing) {
      EXPECT_TRUE(Control<QLineEdit>(changing, "1007")->isVisibleTo(&changing));
      EXPECT_FALSE(Control<QLabel>(changing, "1094")->isVisibleTo(&changing));
      EXPECT_FALSE(Control<QLineEdit>(changing, "1010")->isEnabled());
      Type(changing, "1007", change.current);
      EXPECT_EQ(Control<QLineEdit>(changing, "1010")->isEnabled(), change.accepted);
      SetNew(changing, change.next, change.next);
    });
    if (change.accepted) {
      EXPECT_TRUE(Boxes().isEmpty());
      EXPECT_EQ(Passwords(pin), (QList<QStringList>{{pin, change.next, QStringLiteral("U")}}));
    } else {
      EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Admin/User Current Password is wrong, Please Try Again !")});
      EXPECT_EQ(Passwords(pin), (QList<QStringList>{{pin, before, QStringLiteral("A")}}));
    }
  }

  testsupport::MessageBoxRecorder::Global().ScriptAnswers({platform::IDNO});
  Button(dialog, "1089")->click();
  EXPECT_EQ(Shown().first().text, QStringLiteral("Are You Sure to Remove Password for User %1 ?").arg(pin));
  EXPECT_EQ(Shown().first().defaultButton(), platform::MB_DEFBUTTON2);
  Boxes();
  EXPECT_EQ(Passwords(pin).first().at(2), QStringLiteral("U"));
  Button(dialog, "1089")->click();
  Boxes();
  EXPECT_EQ(Passwords(pin), (QList<QStringList>{{pin, QStringLiteral("third"), QStringLiteral("D")}}));
  EXPECT_EQ(ButtonStates(dialog), QStringLiteral("100"));

  ClickAndAnswer(Button(dialog, "1087"),
                 [](QDialog& set) { SetNew(set, QStringLiteral("again"), QStringLiteral("again")); });
  EXPECT_EQ(Passwords(pin), (QList<QStringList>{{pin, QStringLiteral("again"), QStringLiteral("A")}}));
  EXPECT_EQ(ButtonStates(dialog), QStringLiteral("011"));
}

TEST_F(UserPasswordTest, WithoutASelectionNothingOpensAndPasswordsRefuseThePastTheFieldCharacter) {
  SetUserPasswordDlg list(m_settings);
  for (const char* id : {"1087", "1088", "1089"}) {
    Button(list, id)->setEnabled(true);
    Button(list, id)->click();
  }
  EXPECT_EQ(Boxes(), QStringList(3, QStringLiteral("No User is Selected.")));

  CUserPasswordDlg dialog(m_settings, CUserPasswordDlg::kChange, QStringLiteral("u1"));
  for (const char* id : {"1007", "1010", "1012"}) {
    auto* edit = Control<QLineEdit>(dialog, id);
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    edit->setEnabled(true);
    edit->setText(QString(1023, u'p'));
    QTest::keyClick(edit, Qt::Key_Q);
    EXPECT_EQ(edit->text().size(), 1023) << id;
  }
}

namespace {

// The program's own application object with its settings connection, as the main window has it.
class WiredUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_installation = testsupport::InstallAdmin();
    const QString file = testsupport::InstallSettingsDatabase(m_installation);
    testsupport::MessageBoxRecorder::Global().Clear();
    m_app = std::make_unique<CTarnwickApp>();
    QString error;
    ASSERT_EQ(m_app->GetSettingsConnection().ConnectDataSource(QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"),
                                                               sourcekind::kMdb, file, QString(),
                                                               QStringLiteral("pondGarue58"), &error, false),
              1)
        << qPrintable(error);
    ASSERT_TRUE(SQL_SUCCEEDED(m_app->GetSettingsConnection().ExecuteStatement(
        QStringLiteral("INSERT INTO UserInfo VALUES ('dev1', 'Device One', '', '', 'A', 0, 0, 1)"))));
  }

  QString m_installation;
  std::unique_ptr<CTarnwickApp> m_app;
};

}  // namespace

TEST_F(WiredUpTest, TheUserManagerModuleListsTheApplicationsUsers) {
  QWidget parent;
  QWidget* module = CreateModuleDialog(QStringLiteral("User Manager"), &parent);
  auto* manager = qobject_cast<CUserManagerDlg*>(module);
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->objectName(), QStringLiteral("User Manager"));
  EXPECT_EQ(Column(*Control<CColoredListCtrl>(*manager, "1018"), 0), QStringList{QStringLiteral("dev1")});
}

TEST_F(WiredUpTest, TheHiddenPreferencesButtonRunsTheDevicePasswordList) {
  CTarnwickOptionsDlg preferences;
  QStringList listed;
  ClickAndAnswer(Button(preferences, "1086"), [&listed](QDialog& dialog) {
    EXPECT_NE(qobject_cast<SetUserPasswordDlg*>(&dialog), nullptr);
    listed = Column(*Control<CColoredListCtrl>(dialog, "1018"), 0);
  });
  EXPECT_EQ(listed, QStringList{QStringLiteral("dev1")});
  QList<int> codes;
  for (const auto& entry : testsupport::ReadLogEntries(testsupport::TodaysAdminLog(m_installation)))
    if (entry.code == 66 || entry.code == 74) codes.append(entry.code);
  EXPECT_EQ(codes, (QList<int>{66, 74}));
}
