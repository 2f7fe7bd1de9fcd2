// Preferences with the real sync program, service wrapper and starter in the installation's
// "Desktop Files": start and stop in program mode, the switch to the service and back, and a
// switch that fails for want of the wrapper.
#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/LogFile.h"
#include "admin/foundation/ServiceWrapper.h"
#include "admin/foundation/SyncControl.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/TarnwickOptionsDlg.h"
#include "platform/os/MachineRoot.h"
#include "shared/contract/SyncServiceStatus.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/Eventually.h"
#include "tests/support/LogReader.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QTimer>

#include <functional>
#include <memory>

using testsupport::Eventually;
using testsupport::MessageBoxRecorder;

namespace {

const QString kWrapper = QStringLiteral("TarnwickPWinServiceLite");
const std::chrono::seconds kGenerousBound{60};

int Setting(const QString& name) {
  int value = -1;
  if (name == QStringLiteral("StartSyncStatus")) GetStartSyncStatus(&value);
  if (name == QStringLiteral("SyncServiceStatus")) GetSyncServiceStatus(&value);
  return value;
}

class PreferencesEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxRecorder::Global().Clear();
    installation_ = testsupport::InstallAdmin();
    log_ = std::make_unique<CLogFile>(installation_ + QStringLiteral("Desktop Files/Logs/"), QStringLiteral("Test.log"));
    SetAppLog(log_.get());
    for (const QString& program : {kWrapper, QStringLiteral("TarnwickPStartSyncServiceLite"),
                                   QStringLiteral("TarnwickPlusSyncServiceLite")}) {
      ASSERT_TRUE(QFile::copy(testsupport::ProgramPath(program), DesktopFiles() + program));
    }
  }
  void TearDown() override {
    QProcess wrapper;
    wrapper.start(testsupport::ProgramPath(kWrapper), {QStringLiteral("-u")});
    wrapper.waitForFinished(60000);
    SetSyncServiceStatus(0);
    WaitForSyncProcessExit();
    SetAppLog(nullptr);
  }

  QString DesktopFiles() const { return installation_ + QStringLiteral("Desktop Files/"); }

  QStringList Boxes() {
    QStringList texts;
    for (const auto& box : MessageBoxRecorder::Global().shown()) texts.append(box.text);
    MessageBoxRecorder::Global().Clear();
    return texts;
  }

  // Runs the mode dialog, choosing the mode of `radio`; true when it closed with OK.
  static bool ChooseMode(CTarnwickOptionsDlg& module, const char* radio) {
    bool closed = false;
    QTimer::singleShot(0, [radio, &closed] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      dialog->findChild<QRadioButton*>(QString::fromLatin1(radio))->setChecked(true);
      dialog->findChild<CBMButton*>(QStringLiteral("1"))->click();
      closed = !dialog->isVisible();
      if (!closed) dialog->findChild<CBMButton*>(QStringLiteral("2"))->click();
    });
    module.findChild<CBMButton*>(QStringLiteral("1187"))->click();
    return closed;
  }

  QString installation_;
  std::unique_ptr<CLogFile> log_;
};

}  // namespace

TEST_F(PreferencesEndToEnd, StartsStopsAndSwitchesBetweenProgramAndService) {
  const QString started = QStringLiteral("Synchronization Started Successfully.");
  const QString stopped = QStringLiteral("Synchronization stopped successfully.");
  CTarnwickOptionsDlg module;
  CBMButton* toggle = module.findChild<CBMButton*>(QStringLiteral("1160"));
  ASSERT_EQ(toggle->text(), QStringLiteral("Start Synchronization"));

  toggle->click();
  EXPECT_EQ(Boxes(), QStringList{started});
  EXPECT_EQ(Setting(QStringLiteral("SyncServiceStatus")), 1);
  ASSERT_TRUE(Eventually([] { return IsSyncProcessRunning() == 1; }, kGenerousBound)) << "the starter ran it";
  toggle->click();
  EXPECT_EQ(Boxes().last(), stopped);
  EXPECT_EQ(Setting(QStringLiteral("SyncServiceStatus")), 0);
  EXPECT_EQ(IsSyncProcessRunning(), 0);
  EXPECT_EQ(toggle->text(), QStringLiteral("Start Synchronization"));

  toggle->click();
  ASSERT_TRUE(Eventually([] { return IsSyncProcessRunning() == 1; }, kGenerousBound));
  ASSERT_TRUE(CreateStartupShortCut());
  Boxes();
  ASSERT_TRUE(ChooseMode(module, "1190")) << Boxes().join(u'\n').toStdString();
  EXPECT_EQ(Setting(QStringLiteral("StartSyncStatus")), 1);
  EXPECT_FALSE(StartupShortCutExists());
  EXPECT_TRUE(Eventually([] { return Setting(QStringLiteral("SyncServiceStatus")) == 1; }, kGenerousBound))
      << "the service switched the program on";
  EXPECT_TRUE(Eventually([] { return IsSyncProcessRunning() == 1; }, kGenerousBound));
  EXPECT_EQ(toggle->text(), QStringLiteral("Stop Synchronization"));

  toggle->click();
  EXPECT_EQ(Boxes().last(), stopped);
  EXPECT_EQ(IsSyncProcessRunning(), 0);
  toggle->click();
  EXPECT_EQ(Boxes(), QStringList{started});
  EXPECT_TRUE(Eventually([] { return IsSyncProcessRunning() == 1; }, kGenerousBound));

  ASSERT_TRUE(ChooseMode(module, "1191")) << Boxes().join(u'\n').toStdString();
  EXPECT_EQ(Setting(QStringLiteral("StartSyncStatus")), 0);
  EXPECT_EQ(Setting(QStringLiteral("SyncServiceStatus")), 1);
  EXPECT_TRUE(StartupShortCutExists());
  EXPECT_TRUE(Eventually([] { return IsSyncProcessRunning() == 1; }, kGenerousBound)) << "the starter ran it";
  EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(PreferencesEndToEnd, WithoutTheWrapperTheSwitchFailsAndTheProgramModeStays) {
  ASSERT_TRUE(QFile::remove(DesktopFiles() + kWrapper));
  ASSERT_TRUE(CreateStartupShortCut());
  ASSERT_EQ(SetSyncServiceStatus(1), 1);
  CTarnwickOptionsDlg module;
  EXPECT_FALSE(ChooseMode(module, "1190"));
  ASSERT_EQ(MessageBoxRecorder::Global().shown().size(), 1);
  EXPECT_EQ(MessageBoxRecorder::Global().shown()[0].icon(), platform::MB_ICONERROR);
  EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Unable to start Synchronization. Contact %1 for more information.")
                                     .arg(SupportAddress())});
  EXPECT_EQ(Setting(QStringLiteral("StartSyncStatus")), 0);
  EXPECT_EQ(Setting(QStringLiteral("SyncServiceStatus")), 1);
  EXPECT_TRUE(StartupShortCutExists());
}

// Each wrapper run is waited for and its exit code counts: the runs after a failed one are not
// made. A stand-in wrapper notes each switch with its working folder.
TEST_F(PreferencesEndToEnd, TheWrapperRunsInTheirFoldersAndAFailureEndsTheSteps) {
  const QString wrapper = DesktopFiles() + kWrapper;
  const QString runs = installation_ + QStringLiteral("runs.txt");
  ASSERT_TRUE(QFile::remove(wrapper));
  QFile script(wrapper);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(QStringLiteral("#!/bin/sh\necho \"$1 $(pwd)/\" >> '%1'\n"
                              "[ \"$1\" = -s ] && { echo 'Starting the service failed (5).' >&2; exit 3; }\nexit 0\n")
                   .arg(runs)
                   .toUtf8());
  script.close();
  ASSERT_TRUE(script.setPermissions(script.permissions() | QFile::ExeOwner));

  EXPECT_EQ(InstallAndStartSyncWindowsService(), 0);
  EXPECT_EQ(UninstallSyncWindowsService(), 1);
  EXPECT_EQ(StopSyncWindowsService(), 1);
  QFile noted(runs);
  ASSERT_TRUE(noted.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(noted.readAll()).split(u'\n', Qt::SkipEmptyParts),
            (QStringList{QStringLiteral("-i ") + DesktopFiles(), QStringLiteral("-s ") + DesktopFiles(),
                         QStringLiteral("-k ") + installation_, QStringLiteral("-u ") + installation_,
                         QStringLiteral("-k ") + installation_}));
  EXPECT_EQ(testsupport::EntriesContaining(testsupport::ReadLogEntries(log_->FilePath()),
                                           QStringLiteral("<ServiceWrapper> -s failed with exit code 3: Starting the "
                                                          "service failed (5)."))
                .size(),
            1);
}
