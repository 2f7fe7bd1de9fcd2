#include "setup/installer/AccountInfoPage.h"
#include "setup/installer/AdminPasswordDlg.h"
#include "setup/installer/ModifyPage.h"
#include "tests/setup/installer/InstallerFixture.h"

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>

namespace {

using installertest::InstallerPageTest;

const QString kInvalidName = QStringLiteral(
    "Computer Name should not be less than 6 characters and do not use special charcters such as / \\ * ? : \" < > |");

class UnshownPagesTest : public InstallerPageTest {
 protected:
  void UseWebDouble() {
    WebServiceAddress& address = app_.State().service.webService;
    address.host = QStringLiteral("127.0.0.1");
    address.port = web_.Port();
  }
  QString OnlyBox() const {
    return Boxes().size() == 1 ? Boxes()[0].text : QStringLiteral("<%1 boxes>").arg(Boxes().size());
  }
};

TEST_F(UnshownPagesTest, AccountPageChecksNameAndPasswords) {
  CAccountInfoPage page(app_);
  auto* name = Control<QLineEdit>(&page, "1005");
  auto* password = Control<QLineEdit>(&page, "1006");
  auto* confirmation = Control<QLineEdit>(&page, "1007");
  struct Case {
    QString name;
    QString password;
    QString confirmation;
    QString box;  // empty: accepted
  };
  const Case cases[] = {
      {QStringLiteral("  "), QStringLiteral("secret1"), QStringLiteral("secret1"),
       QStringLiteral("Please enter Computer Name.")},
      {QStringLiteral("a b c"), QStringLiteral("secret1"), QStringLiteral("secret1"), kInvalidName},
      {QStringLiteral("office|pc"), QStringLiteral("secret1"), QStringLiteral("secret1"), kInvalidName},
      {QStringLiteral("officepc"), QStringLiteral("   "), QStringLiteral("   "),
       QStringLiteral("Please enter Password.")},
      {QStringLiteral("officepc"), QStringLiteral("short"), QStringLiteral("short"),
       QStringLiteral("Password should be at least 6 characters long.")},
      {QStringLiteral("officepc"), QStringLiteral("secret1"), QStringLiteral("secret2"),
       QStringLiteral("Password and Confirm Password do not match.")},
      {QStringLiteral("office pc 1"), QStringLiteral("secret1"), QStringLiteral("secret1"), QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    testsupport::MessageBoxRecorder::Global().Clear();
    name->setText(c.name);
    password->setText(c.password);
    confirmation->setText(c.confirmation);
    EXPECT_EQ(page.validatePage(), c.box.isEmpty());
    EXPECT_EQ(c.box.isEmpty() ? QString() : OnlyBox(), c.box);
  }
  EXPECT_EQ(app_.State().service.desktopName, QStringLiteral("officepc1"));
  EXPECT_EQ(app_.State().devicePassword, QStringLiteral("secret1"));
}

TEST_F(UnshownPagesTest, AvailabilityCheckLogsAndAnswersInOneBox) {
  CAccountInfoPage page(app_);
  auto* name = Control<QLineEdit>(&page, "1005");
  UseWebDouble();
  web_.EnterDesktop(QStringLiteral("takenpc"));
  struct Case {
    QString typed;
    bool connected;
    QString box;
    unsigned icon;
  };
  const Case cases[] = {
      {QStringLiteral(" "), true, QStringLiteral("Please enter Computer Name."), platform::MB_ICONINFORMATION},
      {QStringLiteral("pc1"), true, kInvalidName, platform::MB_ICONERROR},
      {QStringLiteral("my?office"), true, kInvalidName, platform::MB_ICONERROR},
      {QStringLiteral("taken pc"), true, QStringLiteral("Computer Name \"takenpc\" not available."),
       platform::MB_ICONINFORMATION},
      {QStringLiteral("freepc"), true, QStringLiteral("Computer Name \"freepc\" is available."),
       platform::MB_ICONINFORMATION},
      {QStringLiteral("freepc"), false,
       QStringLiteral("Unable to verify information you have specified, Please check internet Connection."),
       platform::MB_ICONERROR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString() + (c.connected ? "" : " (no answer)"));
    testsupport::MessageBoxRecorder::Global().Clear();
    QFile::remove(InstallLogPath());
    if (!c.connected) web_.SetFault(QStringLiteral("UniqueDesktopName.asp"), QStringLiteral("status"), {{QStringLiteral("status"), 500}});
    name->setText(c.typed);
    page.OnCheckAvailability();
    ASSERT_EQ(OnlyBox(), c.box);
    EXPECT_EQ(Boxes()[0].icon(), c.icon);
    EXPECT_EQ(Boxes()[0].caption, QStringLiteral("Tarnwick Plus Lite"));
    EXPECT_EQ(installertest::InstallLogLines().value(0), QStringLiteral("Account info : Check validity start"));
  }
}

TEST_F(UnshownPagesTest, ModifyPageSetsTheFlag) {
  CModifyPage page(app_);
  Control<QRadioButton>(&page, "1028")->click();
  EXPECT_EQ(app_.State().modify, 1);
  Control<QRadioButton>(&page, "1027")->click();
  EXPECT_EQ(app_.State().modify, 0);
  const QStringList lines = installertest::InstallLogLines();
  EXPECT_TRUE(lines.contains(QStringLiteral("SELECT VERSION")));
  EXPECT_TRUE(lines.contains(QStringLiteral("Select version : Modify version")));
  EXPECT_TRUE(lines.contains(QStringLiteral("Select version : New version")));
}

TEST_F(UnshownPagesTest, AdminPasswordDialogStoresAConfirmedPassword) {
  CAdminPasswordDlg dialog(app_);
  const QList<QLineEdit*> edits = dialog.findChildren<QLineEdit*>();
  ASSERT_EQ(edits.size(), 2);
  struct Case {
    QString password;
    QString confirmation;
    QString box;
  };
  const Case cases[] = {
      {QStringLiteral("admin"), QStringLiteral("admin"),
       QStringLiteral("Password should be at least 6 characters long.")},
      {QStringLiteral("admin12"), QStringLiteral("admin13"),
       QStringLiteral("Password and Confirm Password do not match.")},
      {QStringLiteral("admin12"), QStringLiteral("admin12"), QString()},
  };
  for (const Case& c : cases) {
    testsupport::MessageBoxRecorder::Global().Clear();
    edits[0]->setText(c.password);
    edits[1]->setText(c.confirmation);
    dialog.OnOK();
    EXPECT_EQ(c.box.isEmpty() ? QString() : OnlyBox(), c.box);
  }
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(app_.State().adminPassword, QStringLiteral("admin12"));
}

}  // namespace
