#include "platform/os/MachineRoot.h"
#include "platform/registry/Registry.h"
#include "setup/installer/FinishPage.h"
#include "setup/installer/HelpDlg.h"
#include "setup/installer/InstallerApp.h"
#include "setup/installer/PersonalInfoPage.h"
#include "setup/installer/ProxySettingsPage.h"
#include "setup/installer/SelectEditionPage.h"
#include "setup/installer/SelectPathPage.h"
#include "setup/installer/TarnwickInstallWizard.h"
#include "setup/installer/WelComePage.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "tests/setup/installer/InstallLogLines.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace {

using installertest::InstallLogLines;

const QList<platform::MessageBoxRequest>& Boxes() { return testsupport::MessageBoxRecorder::Global().shown(); }

void StoreInstallationPath(const std::optional<QString>& path) {
  platform::RegistryKeyGuard key;
  platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, platform::KEY_ALL_ACCESS,
                           key.out());
  platform::RegDeleteValue(key.get(), QStringLiteral("InstallationPath"));
  if (path) {
    platform::RegSetValueEx(key.get(), QStringLiteral("InstallationPath"), platform::RegistryValue::FromString(*path));
  }
}

TEST(InstallerApp, RefusesAnInstalledMachineAndTakesAStaleValueForAClean) {
  const QString root = testsupport::CurrentMachineRoot();
  const QString installed = root + QStringLiteral("/installed");
  const QString file = root + QStringLiteral("/a-file");
  ASSERT_TRUE(QDir().mkpath(installed));
  QFile stale(file);
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();
  struct Case {
    std::optional<QString> stored;
    bool refused;
  };
  const Case cases[] = {
      {installed, true},
      {file, false},
      {root + QStringLiteral("/nothing"), false},
      {std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.value_or(QStringLiteral("<none>")).toStdString());
    testsupport::MessageBoxRecorder::Global().Clear();
    QFile::remove(InstallLogPath());
    StoreInstallationPath(c.stored);
    int wizards = 0;
    CInstallerApp::SetWizardRunner([&wizards](TarnwickInstallWizard&) { ++wizards; });
    CInstallerApp app;
    EXPECT_FALSE(app.InitInstance());
    const QStringList lines = InstallLogLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], QStringLiteral("**** TarnwickInstaller started <iPhone><V3>*****"));
    if (c.refused) {
      EXPECT_EQ(wizards, 0);
      ASSERT_EQ(Boxes().size(), 1);
      EXPECT_EQ(Boxes()[0].text, QStringLiteral("Please unintall previous version of Tarnwick Plus."));
      EXPECT_EQ(Boxes()[0].caption, QStringLiteral("Tarnwick Plus Lite"));
      EXPECT_EQ(Boxes()[0].icon(), platform::MB_ICONERROR);
      EXPECT_TRUE(lines.contains(QStringLiteral("Previous installation exists.")));
    } else {
      EXPECT_EQ(wizards, 1);
      EXPECT_TRUE(Boxes().isEmpty());
      EXPECT_TRUE(lines.contains(QStringLiteral("New Version")));
      EXPECT_TRUE(app.GetInstallFolder().isEmpty());
    }
  }
  CInstallerApp::SetWizardRunner({});
}

TEST(InstallerWizard, SixPagesInOrderWithTheirHelpTopics) {
  CInstallerApp app;
  TarnwickInstallWizard wizard(app);
  EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Tarnwick Plus Lite"));
  const QList<int> ids = wizard.pageIds();
  ASSERT_EQ(ids.size(), 6);
  const QList<QWizardPage*> expected = {
      static_cast<QWizardPage*>(wizard.WelcomePage()), static_cast<QWizardPage*>(wizard.EditionPage()),
      static_cast<QWizardPage*>(wizard.ProxyPage()),   static_cast<QWizardPage*>(wizard.DevicePage()),
      static_cast<QWizardPage*>(wizard.PathPage()),    static_cast<QWizardPage*>(wizard.FinishPage())};
  QList<int> topics;
  for (int index = 0; index < ids.size(); ++index) {
    EXPECT_EQ(wizard.page(ids[index]), expected[index]) << index;
    topics.append(qobject_cast<CInstallerPage*>(wizard.page(ids[index]))->HelpTopic());
  }
  EXPECT_EQ(topics, QList<int>({3, 3, 0, 2, 3, 0}));

  QList<int> shown;
  TarnwickInstallWizard::SetHelpRunner([&shown](int topic) { shown.append(topic); });
  wizard.show();
  wizard.button(QWizard::HelpButton)->click();
  EXPECT_EQ(shown, QList<int>({3}));
  EXPECT_FALSE(wizard.button(QWizard::BackButton)->isVisible());
  TarnwickInstallWizard::SetHelpRunner({});

  // The proxy page has no topic and shows no Help button (the finish page, which would start
  // installing, is left out).
  QList<bool> helpShown;
  for (const int id : ids.mid(0, 5)) {
    wizard.setStartId(id);
    wizard.restart();
    helpShown.append(wizard.button(QWizard::HelpButton)->isVisible());
  }
  EXPECT_EQ(helpShown, QList<bool>({true, true, false, true, true}));
}

TEST(InstallerFolderPage, DefaultsUnderProgramFilesAndRefusesARelativeFolder) {
  CInstallerApp app;
  QString title;
  CSelectPathPage::SetFolderChooser([&title](QWidget*, const QString& caption) {
    title = caption;
    return QStringLiteral("/srv/apps");
  });
  CSelectPathPage page(app);
  auto* folder = page.findChild<QLineEdit*>(QStringLiteral("1020"));
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->text(),
            platform::SpecialFolderPath(platform::SpecialFolder::ProgramFiles) + QStringLiteral("/Tarnwick Plus Lite"));
  page.findChild<QPushButton*>(QStringLiteral("1021"))->click();
  EXPECT_EQ(title, QStringLiteral("Choose Installation folder"));
  EXPECT_EQ(folder->text(), QStringLiteral("/srv/apps/Tarnwick Plus Lite"));

  for (const QString& refused : {QString(), QStringLiteral("Tarnwick Plus Lite"), QStringLiteral(" /opt/x")}) {
    testsupport::MessageBoxRecorder::Global().Clear();
    folder->setText(refused);
    EXPECT_FALSE(page.validatePage());
    ASSERT_EQ(Boxes().size(), 1);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Please enter a full installation folder path."));
    EXPECT_TRUE(app.State().installFolder.isEmpty());
  }
  folder->setText(QStringLiteral("/opt/deep/new/Tarnwick Plus Lite"));
  page.findChild<QCheckBox*>(QStringLiteral("1022"))->setChecked(false);
  ASSERT_TRUE(page.validatePage());
  EXPECT_EQ(app.State().installFolder, QStringLiteral("/opt/deep/new/Tarnwick Plus Lite"));
  EXPECT_EQ(app.State().createFolder, 0);
  CSelectPathPage::SetFolderChooser({});
}

TEST(InstallerHelpBalloon, LightYellowWithMaskedCorners) {
  installer::CHelpDlg balloon;
  balloon.SetTopic(3);
  EXPECT_EQ(balloon.Text(),
            QStringLiteral("\n\rThis setup will install Tarnwick Plus Lite on this computer. \n\rPlease "
                           "click Next to continue."));
  QImage image(balloon.size(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  balloon.render(&image);
  const QRegion mask = balloon.mask();
  const int w = balloon.width();
  const int h = balloon.height();
  for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)}) {
    EXPECT_FALSE(mask.contains(corner)) << corner.x() << "," << corner.y();
  }
  EXPECT_TRUE(mask.contains(QPoint(w / 2, h / 2)));
  EXPECT_EQ(image.pixelColor(w / 2, h - 6), QColor(255, 255, 224));
  EXPECT_EQ(image.pixelColor(4, h / 2), QColor(255, 255, 224));
  bool textDrawn = false;
  for (int y = 15; y < h - 15 && !textDrawn; ++y) {
    for (int x = 15; x < w - 15 && !textDrawn; ++x) textDrawn = image.pixelColor(x, y) == QColor(55, 55, 55);
  }
  EXPECT_TRUE(textDrawn);

  balloon.SetTopic(2);
  EXPECT_TRUE(balloon.Text().startsWith(QStringLiteral("\n\rPlease Select Device Type properly from DropDown.")));
  EXPECT_GT(balloon.height(), h);
}

}  // namespace
