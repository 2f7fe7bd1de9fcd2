// The service wrapper, the starter and the administration program's control of the sync
// program, with the real programs in the test's machine root.
#include "admin/foundation/AppLog.h"
#include "admin/foundation/LogFile.h"
#include "admin/foundation/SyncControl.h"
#include "platform/os/MachineRoot.h"
#include "platform/os/ServiceManager.h"
#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/Eventually.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include <memory>

using namespace platform;
using testsupport::Eventually;

namespace {

int RunProgram(const QString& program, const QStringList& arguments, QString* errorOutput = nullptr) {
  QProcess process;
  process.start(testsupport::ProgramPath(program), arguments);
  if (!process.waitForFinished(60000)) return -1;
  if (errorOutput) *errorOutput = QString::fromLocal8Bit(process.readAllStandardError());
  return process.exitCode();
}

int Wrapper(const QString& command, QString* errorOutput = nullptr) {
  return RunProgram(QStringLiteral("TarnwickPWinServiceLite"), {command}, errorOutput);
}

DWORD SyncServiceStatus() {
  RegistryKeyGuard key;
  RegistryValue value;
  DWORD status = 99;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_READ, key.out()) == ERROR_SUCCESS &&
      RegQueryValueEx(key.get(), QStringLiteral("SyncServiceStatus"), &value) == ERROR_SUCCESS)
    value.ToDword(&status);
  return status;
}

void SetSyncServiceStatus(DWORD status) {
  RegistryKeyGuard key;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key.get(), QStringLiteral("SyncServiceStatus"), RegistryValue::FromDword(status)), ERROR_SUCCESS);
}

class ServiceControl : public ::testing::Test {
 protected:
  void SetUp() override {
    installation_ = testsupport::InstallAdmin();
    log_ = std::make_unique<CLogFile>(installation_ + QStringLiteral("Desktop Files/Logs/"), QStringLiteral("Control.log"));
    SetAppLog(log_.get());
    testsupport::MessageBoxRecorder::Global().Clear();
  }
  void TearDown() override {
    Wrapper(QStringLiteral("-u"));
    SetSyncServiceStatus(0);
    WaitForSyncProcessExit();
    SetAppLog(nullptr);
  }

  QString LogText() const {
    QFile file(log_->FilePath());
    if (!file.open(QIODevice::ReadOnly)) return QString();
    const QByteArray bytes = file.readAll().mid(2);  // after the byte-order mark
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
  }

  QString installation_;
  std::unique_ptr<CLogFile> log_;
};

}  // namespace

TEST_F(ServiceControl, TheWrapperInstallsStartsStopsAndRemovesTheServiceEachSwitchTwice) {
  EXPECT_EQ(Wrapper(QStringLiteral("-i")), 0);
  EXPECT_EQ(Wrapper(QStringLiteral("-i")), 0);
  EXPECT_EQ(CheckServiceStatus(), 0) << "installed, stopped";

  EXPECT_EQ(Wrapper(QStringLiteral("-s")), 0);
  EXPECT_EQ(Wrapper(QStringLiteral("-s")), 0);
  ASSERT_TRUE(Eventually([] { return IsSyncProcessRunning() == 1; })) << "the service runs the sync program";
  EXPECT_EQ(SyncServiceStatus(), 1u);
  EXPECT_EQ(CheckServiceStatus(), 1);

  EXPECT_EQ(Wrapper(QStringLiteral("-k")), 0);
  EXPECT_EQ(SyncServiceStatus(), 0u) << "the stopped service switched the program off";
  EXPECT_TRUE(Eventually([] { return IsSyncProcessRunning() == 0; }));
  EXPECT_EQ(Wrapper(QStringLiteral("-k")), 0);

  EXPECT_EQ(Wrapper(QStringLiteral("-u")), 0);
  EXPECT_EQ(Wrapper(QStringLiteral("-u")), 0);
  EXPECT_EQ(CheckServiceStatus(), -2);
  ASSERT_EQ(testsupport::MessageBoxRecorder::Global().shown().size(), 1);
  EXPECT_TRUE(testsupport::MessageBoxRecorder::Global().shown().front().text.startsWith(
      QStringLiteral("Unable to check TarnwickPSyncServiceLite status. Please make sure that windows service "
                     "\"TarnwickPSyncServiceLite\" is installed properly.")));
  EXPECT_TRUE(LogText().contains(QStringLiteral("OpenService Failed, Error Code = 1060.")));

  QString usage;
  EXPECT_EQ(Wrapper(QStringLiteral("-x"), &usage), 2);
  EXPECT_TRUE(usage.contains(QStringLiteral("-i | -s | -k | -u")));
}

TEST_F(ServiceControl, TheAdministrationProgramStartsAndStopsTheService) {
  EXPECT_EQ(StartWindowsService(kSyncServiceName), -2) << "not installed yet";
  ASSERT_EQ(Wrapper(QStringLiteral("-i")), 0);
  EXPECT_EQ(StopWindowsService(kSyncServiceName), 1) << "already stopped";
  EXPECT_TRUE(LogText().contains(QStringLiteral("Service is already stopped")));
  EXPECT_EQ(StartWindowsService(kSyncServiceName), 1);
  ASSERT_TRUE(Eventually([] { return IsSyncProcessRunning() == 1; }));
  EXPECT_EQ(StopWindowsService(kSyncServiceName), 1);
  EXPECT_EQ(IsSyncProcessRunning(), 0) << "the service waited for the sync program";
  const QString log = LogText();
  EXPECT_TRUE(log.contains(QStringLiteral("<125> Starting Windows Service : TarnwickPSyncServiceLite.")));
  EXPECT_TRUE(log.contains(QStringLiteral("<130> Service started successfully")));
  EXPECT_TRUE(log.contains(QStringLiteral("<122> Service stopped successfully")));
}

TEST_F(ServiceControl, AServiceAlreadyStoppingCountsAsStoppedOnceItHas) {
  ASSERT_EQ(Wrapper(QStringLiteral("-i")), 0);
  ASSERT_EQ(StartWindowsService(kSyncServiceName), 1);
  ASSERT_TRUE(Eventually([] { return IsSyncProcessRunning() == 1; }));
  ServiceManager manager;
  ServiceStatus status;
  ASSERT_EQ(manager.ControlStop(kSyncServiceName, &status), 0);
  EXPECT_EQ(StopWindowsService(kSyncServiceName), 1) << "the stop the caller wanted";
  EXPECT_TRUE(LogText().contains(QStringLiteral("<117> Service stopped successfully")));
}

// The service's program finds no sync program beside it: it says so, leaves the switch off and
// the service ends, stopped.
TEST_F(ServiceControl, AServiceWithoutTheSyncProgramBesideItEnds) {
  const QString lonely = installation_ + QStringLiteral("lonely/");
  ASSERT_TRUE(QDir().mkpath(lonely));
  ASSERT_TRUE(QFile::copy(testsupport::ProgramPath(QStringLiteral("TarnwickPWinServiceLite")),
                          lonely + QStringLiteral("TarnwickPWinServiceLite")));
  QProcess install;
  install.start(lonely + QStringLiteral("TarnwickPWinServiceLite"), {QStringLiteral("-i")});
  ASSERT_TRUE(install.waitForFinished(60000));
  ASSERT_EQ(install.exitCode(), 0);
  EXPECT_EQ(StartWindowsService(kSyncServiceName), 1);
  EXPECT_TRUE(Eventually([] { return CheckServiceStatus() == 0; }, std::chrono::seconds(30)));
  EXPECT_EQ(SyncServiceStatus(), 0u);
  EXPECT_EQ(IsSyncProcessRunning(), 0);
}

TEST_F(ServiceControl, AStartupFolderThatCannotHoldTheEntryIsReported) {
  const QString startup = SpecialFolderPath(SpecialFolder::Startup);
  ASSERT_TRUE(QDir(startup).removeRecursively());
  QFile blocker(startup);  // a file where the folder belongs
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  EXPECT_FALSE(CreateStartupShortCut());
  EXPECT_TRUE(LogText().contains(QStringLiteral("<1> <CreateStartupShortCut> Problem in creating shortcut : ")));
  QFile::remove(startup);
}

TEST_F(ServiceControl, TheConnectorServiceIsNotInstalledHere) {
  EXPECT_EQ(RestartConnectorService(), -1);
  const QString log = LogText();
  EXPECT_TRUE(log.contains(QStringLiteral("<113> OpenService Failed (1060).")));
  EXPECT_TRUE(log.contains(QStringLiteral("<135> Problem in Stopping TarnwickConnectorService: -2")));
}

TEST_F(ServiceControl, TheStarterStartsTheProgramAndTheWaitEndsWhenItStops) {
  EXPECT_EQ(WaitForSyncProcessExit(), 1) << "nothing runs";
  SetSyncServiceStatus(1);
  EXPECT_EQ(RunProgram(QStringLiteral("TarnwickPStartSyncServiceLite"), {}), 0);
  ASSERT_TRUE(Eventually([] { return IsSyncProcessRunning() == 1; }));
  EXPECT_EQ(IsStartSyncProcessRunning(), 0) << "the starter ends at once";
  EXPECT_EQ(WaitForSyncProcessExit(std::chrono::milliseconds(300)), 0) << "a program that does not stop";
  EXPECT_TRUE(LogText().contains(QStringLiteral("still running")));
  SetSyncServiceStatus(0);
  EXPECT_EQ(WaitForSyncProcessExit(), 1);
}

TEST(ShellLink, WritesALauncherOfTheTargetInItsWorkingFolderOrFails) {
  const QString folder = testsupport::CurrentMachineRoot() + QStringLiteral("/links");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString link = folder + QStringLiteral("/Start Here.desktop");
  EXPECT_EQ(CreateShellLink(QStringLiteral("/opt/app/Desktop Files/Tool.exe"), link, QStringLiteral("/opt/app/Desktop Files/")),
            0);
  QFile entry(link);
  ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(entry.readAll());
  EXPECT_TRUE(text.contains(QStringLiteral("\nName=Start Here\n"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"/opt/app/Desktop Files/Tool\"\n"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("\nPath=/opt/app/Desktop Files/\n"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("Comment="))) << text.toStdString();
  EXPECT_EQ(CreateShellLink(QStringLiteral("/opt/app/Tool.exe"), folder + QStringLiteral("/missing/Tool.desktop"),
                            QStringLiteral("/opt/app/")),
            static_cast<long>(0x80004005));
}

TEST_F(ServiceControl, TheStartupEntryStartsTheStarterOfTheInstallation) {
  ASSERT_TRUE(CreateStartupShortCut());
  const QString path = SpecialFolderPath(SpecialFolder::Startup) + QStringLiteral("/Start TarnwickPSyncServiceLite.desktop");
  QFile entry(path);
  ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(entry.readAll());
  EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"") + installation_ +
                            QStringLiteral("Desktop Files/TarnwickPStartSyncServiceLite\"\n")))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("\nPath=") + installation_ + QStringLiteral("Desktop Files/\n")));
  entry.close();
  EXPECT_TRUE(DeleteStartupShortCut());
  EXPECT_FALSE(QFile::exists(path));
}
