#include "setup/installer/AccountInfoPage.h"
#include "setup/installer/AdminPasswordDlg.h"
#include "setup/installer/ModifyPage.h"
#include "tests/setup/installer/InstallerFixture.h"

#include <QLineEdit>
#include <QRadioButton>

namespace {

using installertest::InstallerPageTest;

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

TEST_F(UnshownPagesTest, AccountPageChecksNameAndPasswordsAndAsksForTheName) {
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
      {QStringLiteral("a b c"), QStringLiteral("secret1"), QStringLiteral("secret1"),
       QStringLiteral("Computer Name should be at least 6 characters long.")},
      {QStringLiteral("office|pc"), QStringLiteral("secret1"), QStringLiteral("secret1"),
       QStringLiteral("Computer Name should not contain any of /\\*?:\"<>|")},
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

  UseWebDouble();
  web_.EnterDesktop(QStringLiteral("takenpc"));
  for (const auto& [typed, answer] :
       {std::pair{QStringLiteral("taken pc"), QStringLiteral("Computer Name is already in use.")},
        std::pair{QStringLiteral("freepc"), QStringLiteral("Computer Name is available.")}}) {
    testsupport::MessageBoxRecorder::Global().Clear();
    name->setText(typed);
    page.OnCheckAvailability();
    EXPECT_EQ(OnlyBox(), answer);
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
