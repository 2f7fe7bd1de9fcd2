// The wizard driven in-process over the built payload, against both services' doubles, from the
// first page to an installation whose programs run.
#include "platform/odbc/OdbcConfig.h"
#include "platform/os/MachineRoot.h"
#include "platform/os/Process.h"
#include "platform/registry/Registry.h"
#include "platform/widgets/DocumentLauncher.h"
#include "setup/installer/FinishPage.h"
#include "setup/installer/PersonalInfoPage.h"
#include "setup/installer/ProxySettingsPage.h"
#include "setup/installer/SelectPathPage.h"
#include "setup/installer/TarnwickInstallWizard.h"
#include "shared/RegistryRecords.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/InstallLayout.h"
#include "shared/contract/RegistryNames.h"
#include "tests/setup/installer/InstallerFixture.h"
#include "tests/support/Eventually.h"
#include "tests/support/TestPaths.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QThread>

#include <functional>
#include <optional>

namespace {

using namespace installlayout;
using testsupport::Eventually;

const QString kUdid = QStringLiteral("0123456789abcdef0123456789abcdef01234567");
constexpr int32_t kArtistProfile = 1;
// ArtistID, Name, Country, BornYear as the device knows their kinds.
const QList<int16_t> kArtistKinds = {4, 1, 1, 4};
// Far above what a step takes on a loaded machine.
constexpr int kGenerousBoundMs = 60'000;

const QStringList kStartedPrograms = {QStringLiteral("TarnwickPlusLite"), QStringLiteral("TarnwickPlusSyncServiceLite"),
                                      QStringLiteral("TarnwickPStartSyncServiceLite")};

bool WaitWhilePumping(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < kGenerousBoundMs) {
    QCoreApplication::processEvents();
    QThread::msleep(10);
  }
  return done();
}

bool Running(const QString& program) {
  QList<qint64> pids;
  return platform::FindProcessesByName(program, &pids) && !pids.isEmpty();
}

std::optional<platform::RegistryValue> SettingsValue(const QString& name) {
  platform::RegistryKeyGuard key;
  platform::RegistryValue value;
  if (platform::RegOpenKeyEx(platform::HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, platform::KEY_READ,
                             key.out()) != platform::ERROR_SUCCESS ||
      platform::RegQueryValueEx(key.get(), name, &value) != platform::ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

// A request as the test names it: the SOAP operation of a POST, the request line of a GET.
QStringList Described(const QJsonArray& requests) {
  QStringList described;
  for (const QJsonValue& request : requests) {
    const QString operation = request[QStringLiteral("operation")].toString();
    QString line = request[QStringLiteral("requestLine")].toString();
    line = line.left(line.indexOf(u'?') < 0 ? line.lastIndexOf(u' ') : line.indexOf(u'?'));
    described.append(operation.isEmpty() ? line : operation);
  }
  return described;
}

class InstallerEndToEnd : public installertest::InstallerPageTest {
 protected:
  void SetUp() override {
    InstallerPageTest::SetUp();
    qputenv("TARNWICK_ADMIN_SERVICE", QStringLiteral("127.0.0.1:%1").arg(admin_.Port()).toUtf8());
    app_.SetPayloadFolder(testsupport::BinaryDir() + QStringLiteral("/payload"));
  }

  void TearDown() override {
    qunsetenv("TARNWICK_ADMIN_SERVICE");
    for (const QString& program : kStartedPrograms) {
      QList<qint64> pids;
      platform::FindProcessesByName(program, &pids);
      for (const qint64 pid : pids) platform::TerminateProcess(pid);
    }
    InstallerPageTest::TearDown();
  }

  static void Next(TarnwickInstallWizard& wizard) { wizard.button(QWizard::NextButton)->click(); }

  // Welcome, edition, the connection (`connect` once the automatic test has ended), an iPhone
  // with its UDID typed twice, the default folder; then the installation to its end.
  static void WalkToTheEnd(TarnwickInstallWizard& wizard, const std::function<void()>& connect) {
    wizard.show();
    Next(wizard);
    Next(wizard);
    ASSERT_EQ(wizard.currentPage(), wizard.ProxyPage());
    ASSERT_TRUE(WaitWhilePumping(
        [&] { return !wizard.ProxyPage()->StatusText().contains(QStringLiteral("Checking internet connection...")); }));
    connect();
    ASSERT_TRUE(wizard.ProxyPage()->Connected()) << wizard.ProxyPage()->StatusText().toStdString();
    Next(wizard);
    ASSERT_EQ(wizard.currentPage(), wizard.DevicePage());
    wizard.DevicePage()->findChild<QRadioButton*>(QStringLiteral("1050"))->click();
    wizard.DevicePage()->findChild<QLineEdit*>(QStringLiteral("1012"))->setText(kUdid);
    wizard.DevicePage()->findChild<QLineEdit*>(QStringLiteral("1036"))->setText(kUdid);
    Next(wizard);
    ASSERT_EQ(wizard.currentPage(), static_cast<QWizardPage*>(wizard.PathPage()));
    Next(wizard);
    CFinishPage& finish = *wizard.FinishPage();
    ASSERT_EQ(wizard.currentPage(), &finish);
    ASSERT_TRUE(WaitWhilePumping([&] { return !finish.Installing() && finish.isComplete(); }))
        << finish.StatusText().toStdString();
  }
};

TEST_F(InstallerEndToEnd, FromTheWelcomePageToARunningInstallation) {
  // The device already holds the Artist profile, in step with the payload's snapshot.
  web_.SeedProfile(kArtistProfile, kArtistKinds, {});
  TarnwickInstallWizard wizard(app_);
  WalkToTheEnd(wizard, [] {});
  const CFinishPage& finish = *wizard.FinishPage();
  EXPECT_EQ(finish.StatusText(), QStringLiteral("Tarnwick Plus Lite installed successfully."));
  EXPECT_TRUE(Boxes().isEmpty());

  const QString folder =
      platform::SpecialFolderPath(platform::SpecialFolder::ProgramFiles) + QStringLiteral("/Tarnwick Plus Lite/");
  EXPECT_EQ(GetInstallationPath(), folder);
  QList<CopyTable> tables = {ProgramTable(), DatabaseTable(kIPhone), SnapshotTable()};
  tables += DeviceTables(kIPhone);
  for (const CopyTable& table : tables) {
    for (const CopyEntry& entry : table.files) {
      EXPECT_TRUE(QFileInfo::exists(folder + table.folder + entry.destination)) << entry.destination.toStdString();
    }
  }
  for (const QString& program : DesktopPrograms()) {
    EXPECT_TRUE(QFileInfo(folder + kDesktopFiles + program).isExecutable()) << program.toStdString();
  }
  const std::optional<platform::RegistryValue> syncStatus = SettingsValue(QStringLiteral("SyncServiceStatus"));
  platform::DWORD syncStatusValue = 0;
  ASSERT_TRUE(syncStatus.has_value() && syncStatus->ToDword(&syncStatusValue));
  EXPECT_EQ(syncStatusValue, 1u);
  EXPECT_FALSE(QDir(platform::SpecialFolderPath(platform::SpecialFolder::Startup))
                   .entryList({QStringLiteral("*.desktop")}, QDir::Files)
                   .isEmpty());
  for (const QString& program : DesktopPrograms()) {
    QFile source(app_.PayloadFolder() + u'/' + program);
    QFile installed(folder + kDesktopFiles + program);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly) && installed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(source.readAll() == installed.readAll()) << program.toStdString();
  }
  // The settings database points at the installation and gives the samples to the device.
  QProcess settings;
  settings.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), folder + kDbFolder + kSettingsDatabase,
                                             QStringLiteral("SELECT DISTINCT Path || '|' || UserList FROM ProfileInfo;"
                                                            "SELECT DISTINCT UserID FROM UserProfileStatus")});
  ASSERT_TRUE(settings.waitForFinished());
  EXPECT_EQ(QString::fromUtf8(settings.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
            QStringList({folder + kDbFolder + u'|' + kUdid + u',', kUdid}));
  platform::RegistryKeyGuard service;
  EXPECT_NE(platform::RegOpenKeyEx(platform::HKEY_LOCAL_MACHINE,
                                   QStringLiteral("SYSTEM\\CurrentControlSet\\Services\\TarnwickPWinServiceLite"),
                                   platform::KEY_READ, service.out()),
            platform::ERROR_SUCCESS);
  QFile ini(platform::OdbcIniPath());
  EXPECT_FALSE(ini.open(QIODevice::ReadOnly) && ini.readAll().contains("TempTarnwickPlusWPDSN"));

  EXPECT_EQ(Described(admin_.Requests()),
            QStringList({QStringLiteral("GET /AdminService/service.asmx/GetDataTest"), QStringLiteral("GetDataTest"),
                         QStringLiteral("GetWebUrl"), QStringLiteral("InstallDesktop")}));
  // The installed sync program talks to the web service after these.
  EXPECT_EQ(Described(web_.Requests()).mid(0, 3),
            QStringList({QStringLiteral("GET /svc/service.asmx/GetDataTest"), QStringLiteral("POST /svc/service.asmx"),
                         QStringLiteral("GET /iPhoneSTarnwickPWPLite/AddNewDesktop.asp")}));
  EXPECT_TRUE(admin_.Desktops().contains(kUdid));
  EXPECT_TRUE(web_.Pages().contains(kUdid));
  const QStringList log = installertest::InstallLogLines();
  for (const QString& line : {QStringLiteral("<OT> Connection Test Successfull."),
                              QStringLiteral("Successfully Install Desktop on Admin Service."),
                              QStringLiteral("Performing online activities... << Start")}) {
    EXPECT_TRUE(log.contains(line)) << line.toStdString();
  }
  EXPECT_TRUE(Eventually([] { return Running(QStringLiteral("TarnwickPlusSyncServiceLite")); },
                         std::chrono::milliseconds(kGenerousBoundMs)));

  // A row added to the installed sample database is the one record the synchronisation sends.
  QProcess sqlite;
  sqlite.start(QStringLiteral("sqlite3"), {folder + kDbFolder + QStringLiteral("SampleDB.mdb"),
                                           QStringLiteral("INSERT INTO Artist VALUES (25, 'Added', 'Here', 1999)")});
  ASSERT_TRUE(sqlite.waitForFinished());
  ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
  const auto artistRecords = [this] {
    return web_.Device()[QStringLiteral("profiles")]
        .toObject()[QString::number(kArtistProfile)]
        .toObject()[QStringLiteral("records")]
        .toArray();
  };
  // The first turn comes a change-detection period (a minute) after the start at the latest.
  EXPECT_TRUE(Eventually([&] { return !artistRecords().isEmpty(); }, std::chrono::seconds(150)));
  const QJsonArray records = artistRecords();
  ASSERT_EQ(records.size(), 1);
  EXPECT_EQ(records[0][QStringLiteral("source")].toInt(), 1);
  EXPECT_EQ(records[0][QStringLiteral("index")].toInt(), 25);
  EXPECT_EQ(web_.DeviceErrors(), QStringList());

  QStringList opened;
  platform::SetDocumentLauncher([&opened](const QString& path) {
    opened.append(path);
    return true;
  });
  wizard.button(QWizard::FinishButton)->click();
  platform::SetDocumentLauncher({});
  EXPECT_EQ(opened, QStringList({folder + QStringLiteral("Desktop Files/Readme.pdf")}));
  EXPECT_TRUE(Eventually([] { return Running(QStringLiteral("TarnwickPlusLite")); },
                         std::chrono::milliseconds(kGenerousBoundMs)));
}

TEST_F(InstallerEndToEnd, ThroughTheProxyTheInstallationKeepsItsRecord) {
  admin_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("http500"), 1);
  {
    platform::RegistryKeyGuard key;
    platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER,
                             QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"),
                             platform::KEY_ALL_ACCESS, key.out());
    platform::RegSetValueEx(key.get(), QStringLiteral("ProxyServer"),
                            platform::RegistryValue::FromString(QStringLiteral("127.0.0.1:%1").arg(web_.Port())));
  }
  TarnwickInstallWizard wizard(app_);
  WalkToTheEnd(wizard, [&wizard] {
    wizard.ProxyPage()->findChild<QCheckBox*>(QStringLiteral("1040"))->click();
    wizard.ProxyPage()->findChild<QPushButton*>(QStringLiteral("1033"))->click();
  });
  EXPECT_EQ(wizard.FinishPage()->StatusText(), QStringLiteral("Tarnwick Plus Lite installed successfully."));

  ConnSettings record;
  ASSERT_EQ(ReadSealedRecord(registrynames::kSettingsKey, QStringLiteral("ConnSettings"), &record), 0);
  EXPECT_EQ(record.useProxy, 1);
  EXPECT_EQ(record.proxyServer, QByteArray("127.0.0.1"));
  EXPECT_EQ(record.proxyPort, web_.Port());
  // The administration service's exchanges went through the proxy too.
  QStringList proxied;
  for (const QJsonValue& request : web_.Requests()) {
    if (request[QStringLiteral("proxied")].toBool()) proxied.append(request[QStringLiteral("requestLine")].toString());
  }
  for (const QString& path : {QStringLiteral("/AdminService/service.asmx/GetDataTest"),
                              QStringLiteral("/iPhoneSTarnwickPWPLite/AddNewDesktop.asp")}) {
    EXPECT_TRUE(proxied.filter(path).size() >= 1) << path.toStdString();
  }
  EXPECT_TRUE(admin_.Desktops().contains(kUdid));
}

}  // namespace
