#include "platform/os/MachineRoot.h"
#include "platform/registry/Registry.h"
#include "platform/widgets/DocumentLauncher.h"
#include "setup/common/SettingsRemoval.h"
#include "setup/installer/FinishPage.h"
#include "setup/installer/TarnwickInstallWizard.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/InstallLayout.h"
#include "tests/setup/installer/InstallerFixture.h"
#include "tests/support/FreshMachineRoot.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QAbstractButton>
#include <QCheckBox>
#include <QJsonArray>
#include <QKeyEvent>
#include <QTimer>
#include <QThread>

#include <functional>

namespace {

using installertest::InstallerPageTest;
using namespace installlayout;

const QString kUdid = QStringLiteral("0123456789abcdef0123456789abcdef01234567");

bool AddRemoveEntryExists() {
  platform::RegistryKeyGuard key;
  return platform::RegOpenKeyEx(platform::HKEY_LOCAL_MACHINE, kAddRemoveKey, platform::KEY_READ, key.out()) ==
         platform::ERROR_SUCCESS;
}

// The finish page over a payload of placeholder files named as the copy tables name them (the
// settings database is no database: its fix-up is logged and the installation goes on).
class FinishPageTest : public InstallerPageTest {
 protected:
  void SetUp() override {
    InstallerPageTest::SetUp();
    payload_ = testsupport::CurrentMachineRoot() + QStringLiteral("/payload");
    ASSERT_TRUE(QDir().mkpath(payload_));
    QList<CopyTable> tables = {ProgramTable(), DatabaseTable(kIPhone), SnapshotTable()};
    tables += DeviceTables(kIPhone);
    for (const CopyTable& table : tables) {
      for (const CopyEntry& entry : table.files) {
        QFile file(payload_ + u'/' + entry.source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(entry.source.toUtf8());
      }
    }
    app_.SetPayloadFolder(payload_);
    ChooseIPhoneInDefaultFolder(kUdid);
  }

  void Install(CFinishPage& page) {
    page.OnSetActive();
    QElapsedTimer clock;
    clock.start();
    while ((page.Installing() || !page.isComplete()) && !page.Failed() && clock.elapsed() < 60'000) {
      QCoreApplication::processEvents();
      QThread::msleep(10);
    }
  }

  QStringList AdminOperations() {
    QStringList operations;
    for (const QJsonValue& request : admin_.Requests())
      operations.append(request[QStringLiteral("operation")].toString());
    return operations;
  }

  QString payload_;
};

TEST_F(FinishPageTest, InstallsWithoutLettingTheWizardCloseAndEndsWithFinish) {
  TarnwickInstallWizard wizard(app_);
  wizard.setStartId(wizard.pageIds().last());
  int closeAttempts = 0;
  bool stayedOpen = true;
  // While the sequence runs, Esc and the close box are refused.
  QTimer::singleShot(400, [&] {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&wizard, &escape);
    wizard.close();
    ++closeAttempts;
    stayedOpen = wizard.isVisible() && wizard.FinishPage()->Installing();
  });
  wizard.show();
  CFinishPage& page = *wizard.FinishPage();
  Install(page);
  ASSERT_FALSE(page.Failed()) << page.StatusText().toStdString();
  EXPECT_EQ(closeAttempts, 1);
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(wizard.button(QWizard::FinishButton)->isEnabled());
  EXPECT_FALSE(wizard.button(QWizard::CancelButton)->isEnabled());
  EXPECT_FALSE(wizard.button(QWizard::BackButton)->isVisible());
  EXPECT_EQ(page.StatusText(), QStringLiteral("Tarnwick Plus Lite installed successfully."));
  EXPECT_EQ(GetInstallationPath(), app_.State().installFolder + u'/');
  EXPECT_TRUE(AddRemoveEntryExists());
  EXPECT_EQ(AdminOperations(), QStringList({QStringLiteral("InstallDesktop")}));
  EXPECT_TRUE(admin_.Desktops().contains(kUdid));
  EXPECT_TRUE(web_.Pages().contains(kUdid));
  EXPECT_TRUE(Boxes().isEmpty());

  QStringList opened;
  platform::SetDocumentLauncher([&opened](const QString& path) {
    opened.append(path);
    return true;
  });
  page.findChild<QCheckBox*>(QStringLiteral("1032"))->setChecked(false);
  wizard.button(QWizard::FinishButton)->click();
  platform::SetDocumentLauncher({});
  EXPECT_EQ(wizard.result(), QDialog::Accepted);
  EXPECT_EQ(opened, QStringList({app_.State().installFolder + QStringLiteral("/Desktop Files/Readme.pdf")}));
  EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(FinishPageTest, AReadmeThatNothingCanOpenIsReported) {
  CFinishPage page(app_);
  Install(page);
  ASSERT_FALSE(page.Failed()) << page.StatusText().toStdString();
  page.findChild<QCheckBox*>(QStringLiteral("1032"))->setChecked(false);
  platform::SetDocumentLauncher([](const QString&) { return false; });
  EXPECT_TRUE(page.validatePage());
  platform::SetDocumentLauncher({});
  const QString readme = app_.State().installFolder + QStringLiteral("/Desktop Files/Readme.pdf");
  ASSERT_EQ(Boxes().size(), 1);
  EXPECT_EQ(Boxes()[0].text, QStringLiteral("Unable to open the Readme \"%1\": no program on this computer opens PDF "
                                            "documents. Please install a PDF viewer and open it from the installation "
                                            "folder.")
                                 .arg(readme));
  EXPECT_EQ(Boxes()[0].caption, QStringLiteral("Tarnwick Plus Lite"));
  EXPECT_EQ(Boxes()[0].icon(), platform::MB_ICONWARNING);
}

TEST_F(FinishPageTest, AFailedStepRollsBackAndLeavesCancel) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    QStringList operations;  // sent to the administration service
    QString box;
    QString caption;
  };
  const Case cases[] = {
      {"missing payload file",
       [this] { QFile::remove(payload_ + u'/' + DesktopPrograms().front()); },
       {},
       QString(),
       QString()},
      {"already installed",
       [this] { admin_.Enter(kUdid, QStringLiteral("another")); },
       {QStringLiteral("InstallDesktop")},
       QStringLiteral("Desktop Installation for DeviceID \"%1\" already present.").arg(kUdid),
       QStringLiteral("Tarnwick Plus")},
      {"phase 2 dropped",
       [this] { admin_.SetFault(QStringLiteral("InstallDesktop"), QStringLiteral("drop"), 1); },
       {QStringLiteral("InstallDesktop"), QStringLiteral("UninstallDesktop")},
       QString(),
       QString()},
      {"phase 3 refused",
       [this] { web_.EnterDesktop(kUdid); },
       {QStringLiteral("InstallDesktop"), QStringLiteral("UninstallDesktop")},
       QString(),
       QString()},
      // InstallationPath is written before the web-service address is refused as too long.
      {"settings refused",
       [this] { app_.State().webServiceAddress = web_.Url(QString(300, u'p')); },
       {},
       QString(),
       QString()},
  };
  const QString address = app_.State().webServiceAddress;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    admin_.Command({{QStringLiteral("cmd"), QStringLiteral("reset")}});
    admin_.SetWebServiceUrl(web_.Url(QStringLiteral("/svc/service.asmx")));
    web_.Command({{QStringLiteral("cmd"), QStringLiteral("reset")}});
    testsupport::MessageBoxRecorder::Global().Clear();
    app_.State().webServiceAddress = address;
    c.arrange();

    CFinishPage page(app_);
    Install(page);
    EXPECT_TRUE(page.Failed());
    EXPECT_FALSE(page.isComplete());
    EXPECT_EQ(page.StatusText(), QStringLiteral("Problem while installing Tarnwick Plus Lite"));
    EXPECT_EQ(GetInstallationPath(), QString());
    EXPECT_FALSE(AddRemoveEntryExists());
    EXPECT_EQ(AdminOperations(), c.operations);
    EXPECT_FALSE(admin_.Desktops().contains(kUdid) && QByteArray(c.name) != "already installed");
    if (!c.box.isEmpty()) {
      ASSERT_EQ(Boxes().size(), 1);
      EXPECT_EQ(Boxes()[0].text, c.box);
      EXPECT_EQ(Boxes()[0].caption, c.caption);
      EXPECT_EQ(Boxes()[0].icon(), platform::MB_ICONERROR);
    }
    QFile::copy(payload_ + QStringLiteral("/cdb_1.bin"), payload_ + u'/' + DesktopPrograms().front());
  }
}

}  // namespace
