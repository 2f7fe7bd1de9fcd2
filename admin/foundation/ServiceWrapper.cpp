#include "admin/foundation/ServiceWrapper.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/SyncControl.h"
#include "platform/os/DetachedProcess.h"
#include "platform/os/SystemError.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/InstallLayout.h"

#include <QProcess>

#include <chrono>

namespace {

QString DesktopFilesFolder() { return GetInstallationPath() + installlayout::kDesktopFiles; }

constexpr std::chrono::milliseconds kWrapperLimit = std::chrono::seconds(90);

QString ProgramFile(const QString& windowsName) {
  return DesktopFilesFolder() + (windowsName.endsWith(QStringLiteral(".exe")) ? windowsName.chopped(4) : windowsName);
}

}  // namespace

bool RunSyncServiceWrapper(const QString& switchText, const QString& workingFolder) {
  QProcess wrapper;
  wrapper.setWorkingDirectory(workingFolder);
  wrapper.setStandardOutputFile(QProcess::nullDevice());
  wrapper.start(ProgramFile(kServiceWrapperName), {switchText});
  if (!wrapper.waitForStarted(static_cast<int>(kWrapperLimit.count()))) {
    WriteAppLog(-1, QStringLiteral("<ServiceWrapper> %1 cannot be started: %2").arg(switchText, wrapper.errorString()));
    return false;
  }
  if (!wrapper.waitForFinished(static_cast<int>(kWrapperLimit.count()))) {
    wrapper.kill();
    wrapper.waitForFinished();
    WriteAppLog(-1, QStringLiteral("<ServiceWrapper> %1 did not end within %2 seconds.").arg(switchText).arg(kWrapperLimit.count() / 1000));
    return false;
  }
  if (wrapper.exitStatus() != QProcess::NormalExit || wrapper.exitCode() != 0) {
    WriteAppLog(-1, QStringLiteral("<ServiceWrapper> %1 failed with exit code %2: %3")
                        .arg(switchText)
                        .arg(wrapper.exitCode())
                        .arg(QString::fromLocal8Bit(wrapper.readAllStandardError()).trimmed()));
    return false;
  }
  return true;
}

int InstallAndStartSyncWindowsService(const ServiceWrapperRun& run) {
  return run(QStringLiteral("-i"), DesktopFilesFolder()) && run(QStringLiteral("-s"), DesktopFilesFolder()) ? 1 : 0;
}

int StopSyncWindowsService(const ServiceWrapperRun& run) {
  return run(QStringLiteral("-k"), GetInstallationPath()) ? 1 : 0;
}

int UninstallSyncWindowsService(const ServiceWrapperRun& run) {
  return run(QStringLiteral("-k"), GetInstallationPath()) && run(QStringLiteral("-u"), GetInstallationPath()) ? 1 : 0;
}

bool LaunchStartSyncProgram() {
  const QString program = ProgramFile(kStartSyncProgramName);
  if (const int error = platform::StartDetached(program, {}, GetInstallationPath())) {
    WriteAppLog(-1, QStringLiteral("<LaunchStartSyncProgram> %1 cannot be started: %2")
                        .arg(program, platform::GetSystemErrorText(error)));
    return false;
  }
  return true;
}
