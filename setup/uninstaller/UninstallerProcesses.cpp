#include "setup/uninstaller/UninstallerProcesses.h"

#include "platform/os/Process.h"
#include "platform/os/SystemError.h"

#include <QList>

namespace {

// 1, 0, or -1 with the code of the failed process list in `error`.
int FindProgram(const QString& name, int* error) {
  QList<qint64> pids;
  if (!platform::FindProcessesByName(name, &pids, error)) return -1;
  return pids.isEmpty() ? 0 : 1;
}

}  // namespace

QString GetErrorText(int code) { return platform::GetSystemErrorText(code); }

int IsDesktopProgramRunning(const SetupLogSink& log) {
  int error = 0;
  const int found = FindProgram(kDesktopProgramName, &error);
  if (found < 0) log(QStringLiteral("CreateToolhelp32Snapshot failed, error code = %1").arg(error));
  return found;
}

int IsSyncProgramRunning(const SetupLogSink& log) {
  int error = 0;
  const int found = FindProgram(kSyncProgramName, &error);
  if (found < 0) {
    log(QStringLiteral("CreateToolhelp32Snapshot failed, error code = %1 : <%2>").arg(error).arg(GetErrorText(error)));
  }
  return found;
}

bool KillStartSyncProgram(const SetupLogSink& log) {
  QList<qint64> pids;
  int error = 0;
  if (!platform::FindProcessesByName(kStartSyncProgramName, &pids, &error)) {
    log(QStringLiteral("<Stop Sync Error> Error to get process handle (Error Code : %1).").arg(error));
    return false;
  }
  for (const qint64 pid : pids) {
    if (!platform::CanEndProcess(pid)) continue;
    if (platform::TerminateProcess(pid)) {
      log(QStringLiteral("Successfull in KP."));
    } else {
      const int code = platform::GetLastError();
      log(QStringLiteral("<Stop Sync Error> Problem in KP."));
      log(QStringLiteral("<Stop Sync Error> Error to get process handle (Error Code : %1)|").arg(code) +
          GetErrorText(code));
    }
    return true;
  }
  return false;
}
