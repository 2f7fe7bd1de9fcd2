#include "admin/foundation/SyncControl.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/Failure.h"
#include "admin/foundation/FailureSink.h"
#include "platform/os/MachineRoot.h"
#include "platform/os/Process.h"
#include "platform/os/ServiceManager.h"
#include "platform/os/ShellLink.h"
#include "platform/os/SystemError.h"
#include "shared/RegistrySettings.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <thread>

using namespace std::chrono;

namespace {

constexpr milliseconds kStopLimit{30000};

int IsProgramRunning(const QString& executableName) {
  QList<qint64> pids;
  int error = 0;
  if (!platform::FindProcessesByName(executableName, &pids, &error)) {
    WriteAppLog(-1, QStringLiteral("%1 : <%2>")
                        .arg(QStringLiteral("CreateToolhelp32Snapshot failed, error code = %1").arg(error),
                             platform::GetSystemErrorText(error)));
    return -1;
  }
  return pids.isEmpty() ? 0 : 1;
}

void Sleep(milliseconds duration) { std::this_thread::sleep_for(duration); }

// Waits while the service is stopping: each look follows the whole wait hint.
int WaitWhileStopPending(platform::ServiceManager& manager, const QString& name, platform::ServiceStatus* status,
                         const QElapsedTimer& clock) {
  while (status->currentState == platform::SERVICE_STOP_PENDING) {
    std::fputs("Service stop pending...\n", stdout);
    Sleep(milliseconds(status->waitHint));
    if (const int error = manager.QueryServiceStatus(name, status)) {
      WriteAppLog(116, QStringLiteral("QueryServiceStatusEx Failed (%1).").arg(error));
      return -4;
    }
    if (status->currentState == platform::SERVICE_STOPPED) {
      // It was already stopping and has stopped now: the stop the caller wanted.
      WriteAppLog(117, QStringLiteral("Service stopped successfully"));
      return 1;
    }
    if (clock.elapsed() > kStopLimit.count()) {
      WriteAppLog(118, QStringLiteral("Service Stop Timed Out."));
      return -6;
    }
  }
  return 0;
}

int WaitUntilStopped(platform::ServiceManager& manager, const QString& name, platform::ServiceStatus* status,
                     const QElapsedTimer& clock) {
  while (status->currentState != platform::SERVICE_STOPPED) {
    Sleep(milliseconds(status->waitHint));
    if (const int error = manager.QueryServiceStatus(name, status)) {
      WriteAppLog(120, QStringLiteral("QueryServiceStatusEx Failed (%1).").arg(error));
      return -8;
    }
    if (status->currentState != platform::SERVICE_STOPPED && clock.elapsed() > kStopLimit.count()) {
      WriteAppLog(121, QStringLiteral("Wait Timed Out."));
      return -9;
    }
  }
  WriteAppLog(122, QStringLiteral("Service stopped successfully"));
  return 1;
}

}  // namespace

int IsSyncProcessRunning() { return IsProgramRunning(kSyncProgramName); }

int IsStartSyncProcessRunning() { return IsProgramRunning(kStartSyncProgramName); }

int WaitForSyncProcessExit(milliseconds limit) {
  QElapsedTimer clock;
  clock.start();
  int failures = 0;
  for (;;) {
    const int running = IsSyncProcessRunning();
    if (running == 0) return 1;
    if (running < 0) {
      if (++failures == 4) return 0;
      WriteAppLog(-1, QStringLiteral("Failed to check sync status <%1>.").arg(failures));
    }
    if (clock.elapsed() > limit.count()) {
      WriteAppLog(-1, QStringLiteral("The sync program is still running after %1 seconds.").arg(limit.count() / 1000));
      return 0;
    }
    Sleep(running < 0 ? milliseconds(1000) : milliseconds(500));
  }
}

int StartWindowsService(const QString& name) {
  WriteAppLog(125, QStringLiteral("Starting Windows Service : %1.").arg(name));
  platform::ServiceManager manager;
  if (const int error = manager.Open()) {
    WriteAppLog(126, QStringLiteral("OpenSCManager Failed (%1).").arg(error));
    return -1;
  }
  if (const int error = manager.OpenService(name)) {
    WriteAppLog(127, QStringLiteral("OpenService Failed (%1).").arg(error));
    return -2;
  }
  if (const int error = manager.StartService(name)) {
    WriteAppLog(128, QStringLiteral("StartService Failed (%1).").arg(error));
    return -3;
  }
  platform::ServiceStatus status;
  if (const int error = manager.QueryServiceStatus(name, &status)) {
    WriteAppLog(129, QStringLiteral("QueryServiceStatusEx Failed (%1).").arg(error));
    return -4;
  }
  if (status.currentState == platform::SERVICE_RUNNING) {
    WriteAppLog(130, QStringLiteral("Service started successfully"));
    return 1;
  }
  WriteAppLog(131, QStringLiteral("Service not started"));
  return 0;
}

int StopWindowsService(const QString& name) {
  QElapsedTimer clock;
  clock.start();
  platform::ServiceManager manager;
  if (const int error = manager.Open()) {
    WriteAppLog(112, QStringLiteral("OpenSCManager Failed (%1).").arg(error));
    return -1;
  }
  if (const int error = manager.OpenService(name)) {
    WriteAppLog(113, QStringLiteral("OpenService Failed (%1).").arg(error));
    return -2;
  }
  platform::ServiceStatus status;
  if (const int error = manager.QueryServiceStatus(name, &status)) {
    WriteAppLog(114, QStringLiteral("QueryServiceStatusEx Failed (%1).").arg(error));
    return -3;
  }
  if (status.currentState == platform::SERVICE_STOPPED) {
    WriteAppLog(115, QStringLiteral("Service is already stopped"));
    return 1;
  }
  if (status.currentState == platform::SERVICE_STOP_PENDING) return WaitWhileStopPending(manager, name, &status, clock);
  if (const int error = manager.ControlStop(name, &status)) {
    WriteAppLog(119, QStringLiteral("ControlService Failed (%1).").arg(error));
    return -7;
  }
  return WaitUntilStopped(manager, name, &status, clock);
}

int CheckServiceStatus() {
  const auto fail = [](int code, const QString& line, int result) {
    WriteAppLog(code, line);
    admin::RaiseFailure({result, std::nullopt,
                         QStringLiteral("Unable to check %1 status. Please make sure that windows service \"%1\" is "
                                        "installed properly. If the problem persists, please contact product support.")
                             .arg(kSyncServiceName),
                         admin::FailureLook::Plain, std::nullopt});
    return result;
  };
  platform::ServiceManager manager;
  if (const int error = manager.Open()) return fail(108, QStringLiteral("OpenSCManager Failed, Error Code = %1.").arg(error), -1);
  if (const int error = manager.OpenService(kSyncServiceName))
    return fail(109, QStringLiteral("OpenService Failed, Error Code = %1.").arg(error), -2);
  platform::ServiceStatus status;
  if (const int error = manager.QueryServiceStatus(kSyncServiceName, &status))
    return fail(110, QStringLiteral("QueryServiceStatusEx Failed, Error Code = %1.").arg(error), -3);
  WriteAppLog(111, QStringLiteral("%1 Status Code : %2.").arg(kSyncServiceName).arg(status.currentState));
  return status.currentState == platform::SERVICE_RUNNING ? 1 : 0;
}

int RestartConnectorService() {
  WriteAppLog(134, QStringLiteral("Restarting TarnwickConnectorService "));
  const int stopped = StopWindowsService(kConnectorServiceName);
  if (stopped != 1) {
    WriteAppLog(135, QStringLiteral("Problem in Stopping TarnwickConnectorService: %1").arg(stopped));
    return -1;
  }
  Sleep(milliseconds(1000));
  const int started = StartWindowsService(kConnectorServiceName);
  if (started != 1) {
    WriteAppLog(136, QStringLiteral("Problem in Starting TarnwickConnectorService: %1").arg(started));
    return -2;
  }
  WriteAppLog(137, QStringLiteral("TarnwickConnectorService Restarted Successfully."));
  return 1;
}

long CreateShellLink(const QString& targetPath, const QString& linkPath, const QString& workingFolder) {
  return platform::CreateShellLink(linkPath, {targetPath, workingFolder, QString(), QString()}) ? platform::S_OK
                                                                                                 : platform::E_FAIL;
}

bool CreateStartupShortCut() {
  const QString link = StartupShortcutPath();
  const QString folder = StartupShortcutFolder(GetInstallationPath());
  if (CreateShellLink(folder + kStartSyncProgramName, link, folder) == platform::S_OK) return true;
  WriteAppLog(1, QStringLiteral("<CreateStartupShortCut> Problem in creating shortcut : %1").arg(link));
  return false;
}

bool StartupShortCutExists() { return QFileInfo::exists(StartupShortcutPath()); }

bool DeleteStartupShortCut() {
  const QString link = StartupShortcutPath();
  if (QFile::remove(link) || !QFileInfo::exists(link)) return true;
  WriteAppLog(1, QStringLiteral("<DeleteStartupShortCut> Problem in deleting shortcut : %1").arg(link));
  return false;
}
