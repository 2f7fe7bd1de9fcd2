// The Preferences module's Start/Stop button and the switch between service and program mode,
// over a recording control: what each case writes, runs and shows, in order.
#include "admin/foundation/AppLog.h"
#include "admin/shell/SyncModeSwitch.h"
#include "admin/shell/SyncToggle.h"
#include "tests/admin/shell/RecordingSyncControl.h"
#include "tests/support/AdminInstallation.h"

#include <gtest/gtest.h>

#include <functional>

using platform::IDNO;

namespace {

const QString kStart = QStringLiteral("Start Synchronization");
const QString kStop = QStringLiteral("Stop Synchronization");
const QString kQuestion = QStringLiteral("box 4: If Synchronization stopped data will not sync with Device. Do you want "
                                         "to stop Synchronization ?");
const QString kStarted = QStringLiteral("box 0: Synchronization Started Successfully.");
const QString kStopped = QStringLiteral("box 0: Synchronization stopped successfully.");

QString UnableToStart(unsigned type) {
  return QStringLiteral("box %1: Unable to start Synchronization. Contact %2 for more information.")
      .arg(type)
      .arg(SupportAddress());
}

QString UnableToStop(unsigned type) {
  return QStringLiteral("box %1: Unable to stop Synchronization. Contact %2 for more information.")
      .arg(type)
      .arg(SupportAddress());
}

const QString kProblemToStop = QStringLiteral("box 16: Problem to Stop Synchronization Service.");

struct ToggleCase {
  const char* name;
  std::function<void(RecordingSyncControl&)> given;
  QStringList steps;
  QString status;
  QString button;
};

}  // namespace

TEST(SyncToggle, StartsAndStopsInEitherMode) {
  const QString unchecked = QStringLiteral("as before");
  const QList<ToggleCase> cases = {
      {"program stopped: switched on, starter launched", [](auto&) {},
       {QStringLiteral("SyncServiceStatus 1"), QStringLiteral("launch starter"), kStarted},
       QStringLiteral("SyncService is Started."), kStop},
      {"program stopped, starter running: not launched again", [](auto& c) { c.starterRunning = 1; },
       {QStringLiteral("SyncServiceStatus 1"), kStarted}, QStringLiteral("SyncService is Started."), kStop},
      {"program stopped, starter unknown: launched all the same", [](auto& c) { c.starterRunning = -1; },
       {QStringLiteral("SyncServiceStatus 1"), QStringLiteral("launch starter"), kStarted},
       QStringLiteral("SyncService is Started."), kStop},
      {"program stopped, switch not written: no launch, no success", [](auto& c) { c.setServiceResult = 0; },
       {QStringLiteral("SyncServiceStatus 1"), UnableToStart(0)}, unchecked, kStart},
      {"program stopped, starter not launched: no success", [](auto& c) { c.launchResult = false; },
       {QStringLiteral("SyncServiceStatus 1"), QStringLiteral("launch starter"), UnableToStart(0)}, unchecked, kStart},
      {"program running, No: nothing", [](auto& c) { c.programRunning = 1; c.answer = IDNO; }, {kQuestion}, unchecked,
       kStart},
      {"program running, Yes: switched off and waited for", [](auto& c) { c.programRunning = 1; },
       {kQuestion, QStringLiteral("SyncServiceStatus 0"), QStringLiteral("wait"), kStopped},
       QStringLiteral("SyncService is Stopped."), kStart},
      {"program running, Yes, still running", [](auto& c) { c.programRunning = 1; c.waitResult = 0; },
       {kQuestion, QStringLiteral("SyncServiceStatus 0"), QStringLiteral("wait"), kProblemToStop}, unchecked, kStart},
      {"program unknown", [](auto& c) { c.programRunning = -1; }, {}, QStringLiteral("Unable to check SyncService status."),
       kStart},
      {"service running, Yes: stopped", [](auto& c) { c.startSyncStatus = 1; c.serviceState = 1; },
       {kQuestion, QStringLiteral("stop service"), kStopped}, QStringLiteral("TarnwickPSyncServiceLite is Stopped."),
       kStart},
      {"service running, Yes, not stopped", [](auto& c) { c.startSyncStatus = 1; c.serviceState = 1; c.stopResult = -9; },
       {kQuestion, QStringLiteral("stop service"), UnableToStop(0)}, unchecked, kStart},
      {"service running, No", [](auto& c) { c.startSyncStatus = 1; c.serviceState = 1; c.answer = IDNO; }, {kQuestion},
       unchecked, kStart},
      {"service stopped: started", [](auto& c) { c.startSyncStatus = 1; },
       {QStringLiteral("start service"), kStarted}, QStringLiteral("TarnwickPSyncServiceLite is Started."), kStop},
      {"service stopped, not started", [](auto& c) { c.startSyncStatus = 1; c.startResult = -3; },
       {QStringLiteral("start service"), UnableToStart(0)}, unchecked, kStart},
      {"service unknown", [](auto& c) { c.startSyncStatus = 1; c.serviceState = -2; }, {},
       QStringLiteral("Unable to check TarnwickPSyncServiceLite status."), kStart},
  };
  for (const ToggleCase& c : cases) {
    RecordingSyncControl control;
    c.given(control);
    SyncStatusView view{unchecked, kStart};
    SyncToggle(control).Toggle(&view);
    EXPECT_EQ(control.steps, c.steps) << c.name;
    EXPECT_EQ(view.status, c.status) << c.name;
    EXPECT_EQ(view.buttonText, c.button) << c.name;
  }
}

TEST(SyncToggle, TheStateReadNamesTheModeOnlyAtStartUp) {
  RecordingSyncControl control;
  control.programRunning = 1;
  SyncStatusView view;
  SyncToggle(control).ReadState(true, &view);
  EXPECT_EQ(view.status, QStringLiteral("SyncService is Started."));
  EXPECT_EQ(view.buttonText, kStop);
  control.startSyncStatus = 1;
  SyncToggle(control).ReadState(false, &view);
  EXPECT_EQ(view.status, QStringLiteral("TarnwickPSyncServiceLite is Stopped."));
  EXPECT_EQ(view.buttonText, kStart);
  EXPECT_EQ(control.log, QStringList{QStringLiteral("<-1> SyncService As Application is Enabled.")});
  EXPECT_TRUE(control.steps.isEmpty());
}

namespace {

struct SwitchCase {
  const char* name;
  int current;
  int chosen;
  std::function<void(RecordingSyncControl&)> given;
  QStringList steps;
  bool closes;
  int startSyncStatus;
  int syncServiceStatus;
  bool shortcut;
};

}  // namespace

TEST(SyncModeSwitch, SwitchesOrLeavesTheOldModeWhole) {
  const QString installation = testsupport::InstallAdmin();
  const QString desktopFiles = installation + QStringLiteral("Desktop Files/");
  const auto wrapper = [](const char* switchText, const QString& folder) {
    return QStringLiteral("wrapper %1 in %2").arg(QLatin1String(switchText), folder);
  };
  const QStringList toServiceStart = {QStringLiteral("SyncServiceStatus 0"), QStringLiteral("wait")};
  const QStringList restore = {QStringLiteral("StartSyncStatus 0"), QStringLiteral("create shortcut"),
                               QStringLiteral("SyncServiceStatus 1")};
  const QStringList afterWait = {QStringLiteral("delete shortcut"), QStringLiteral("StartSyncStatus 1")};
  const QStringList install = {wrapper("-i", desktopFiles), wrapper("-s", desktopFiles)};
  const QStringList uninstall = {wrapper("-k", installation), wrapper("-u", installation)};
  const QStringList toApplicationEnd = {QStringLiteral("StartSyncStatus 0"), QStringLiteral("SyncServiceStatus 1"),
                                        QStringLiteral("launch starter"), QStringLiteral("create shortcut")};
  const auto none = [](auto&) {};
  const QList<SwitchCase> cases = {
      {"program mode kept", 0, 0, none, {}, true, 0, 1, true},
      {"service mode kept", 1, 1, [](auto& c) { c.startSyncStatus = 1; c.shortcut = false; }, {}, true, 1, 1, false},
      {"to the service", 0, 1, none, toServiceStart + afterWait + install, true, 1, 0, false},
      {"to the service, the program does not stop", 0, 1, [](auto& c) { c.waitResult = 0; },
       toServiceStart + restore + QStringList{kProblemToStop}, false, 0, 1, true},
      {"to the service, the program does not stop, no shortcut before", 0, 1,
       [](auto& c) { c.waitResult = 0; c.shortcut = false; c.syncServiceStatus = 0; },
       toServiceStart + QStringList{QStringLiteral("StartSyncStatus 0"), QStringLiteral("SyncServiceStatus 0"),
                                    kProblemToStop},
       false, 0, 0, false},
      {"to the service, the mode not written", 0, 1, [](auto& c) { c.setStartResult = 0; },
       toServiceStart + afterWait + QStringList{QStringLiteral("StartSyncStatus 0"), QStringLiteral("create shortcut"),
                                                QStringLiteral("SyncServiceStatus 1"), kProblemToStop},
       false, 0, 1, true},
      {"to the service, not installed", 0, 1, [](auto& c) { c.failingSwitches = {QStringLiteral("-i")}; },
       toServiceStart + afterWait + install.mid(0, 1) + restore + QStringList{UnableToStart(16)}, false, 0, 1, true},
      {"to the service, not started", 0, 1, [](auto& c) { c.failingSwitches = {QStringLiteral("-s")}; },
       toServiceStart + afterWait + install + restore + QStringList{UnableToStart(16)}, false, 0, 1, true},
      {"to the application", 1, 0, [](auto& c) { c.startSyncStatus = 1; c.shortcut = false; c.syncServiceStatus = 0; },
       QStringList{wrapper("-k", installation), QStringLiteral("wait")} + uninstall + toApplicationEnd, true, 0, 1, true},
      {"to the application, the service does not stop", 1, 0,
       [](auto& c) { c.startSyncStatus = 1; c.shortcut = false; c.failingSwitches = {QStringLiteral("-k")}; },
       {wrapper("-k", installation), UnableToStop(16)}, false, 1, 1, false},
      {"to the application, the program does not stop", 1, 0,
       [](auto& c) { c.startSyncStatus = 1; c.shortcut = false; c.waitResult = 0; },
       {wrapper("-k", installation), QStringLiteral("wait"), kProblemToStop}, false, 1, 1, false},
      {"to the application, the service not removed", 1, 0,
       [](auto& c) { c.startSyncStatus = 1; c.shortcut = false; c.failingSwitches = {QStringLiteral("-u")}; },
       QStringList{wrapper("-k", installation), QStringLiteral("wait")} + uninstall + QStringList{UnableToStop(16)}, false,
       1, 1, false},
      {"to the application, the mode not written: logged, the switch goes on", 1, 0,
       [](auto& c) { c.startSyncStatus = 1; c.shortcut = false; c.setStartResult = 0; c.syncServiceStatus = 0; },
       QStringList{wrapper("-k", installation), QStringLiteral("wait")} + uninstall + toApplicationEnd, true, 1, 1, true},
  };
  for (const SwitchCase& c : cases) {
    RecordingSyncControl control;
    c.given(control);
    EXPECT_EQ(SyncModeSwitch(control).Switch(c.current, c.chosen), c.closes) << c.name;
    EXPECT_EQ(control.steps, c.steps) << c.name;
    EXPECT_EQ(control.startSyncStatus, c.startSyncStatus) << c.name;
    EXPECT_EQ(control.syncServiceStatus, c.syncServiceStatus) << c.name;
    EXPECT_EQ(control.shortcut, c.shortcut) << c.name;
  }
}

TEST(SyncModeSwitch, AModeNotWrittenInTheSwitchToTheApplicationIsLogged) {
  testsupport::InstallAdmin();
  RecordingSyncControl control;
  control.startSyncStatus = 1;
  control.setStartResult = 0;
  EXPECT_TRUE(SyncModeSwitch(control).Switch(1, 0));
  EXPECT_EQ(control.log, QStringList{QStringLiteral("<7> <ManageSyncDlg> Problem to Set Start Sync Status Settings.")});
}
