#include "admin/shell/SyncModeSwitch.h"

#include "admin/foundation/ServiceWrapper.h"
#include "admin/shell/SyncControlPort.h"
#include "admin/shell/SyncMessages.h"
#include "platform/widgets/MessageBox.h"

using namespace syncmessages;

bool SyncModeSwitch::Switch(int current, int chosen) {
  if ((chosen != 0) == (current != 0)) return true;
  return chosen != 0 ? ToService() : ToApplication();
}

bool SyncModeSwitch::Fail(int code, const char16_t* line, const QString& box) {
  m_port.WriteLog(code, QString::fromUtf16(line));
  m_port.MessageBox(box, platform::MB_ICONERROR);
  return false;
}

bool SyncModeSwitch::ToService() {
  const int syncServiceStatus = m_port.GetSyncServiceStatus();
  const bool hadShortcut = m_port.StartupShortCutExists();
  m_port.SetSyncServiceStatus(0);
  if (m_port.WaitForSyncProcessExit() == 0) {
    RestoreProgramMode(syncServiceStatus, hadShortcut);
    return Fail(1, u"<ManageSyncDlg> Problem Sync stop<1>", ProblemToStop());
  }
  m_port.DeleteStartupShortCut();
  if (m_port.SetStartSyncStatus(1) != 1) {
    RestoreProgramMode(syncServiceStatus, hadShortcut);
    return Fail(2, u"<ManageSyncDlg> Problem to Set Start Sync Status Settings.", ProblemToStop());
  }
  const auto run = [this](const QString& switchText, const QString& folder) {
    return m_port.RunServiceWrapper(switchText, folder);
  };
  if (InstallAndStartSyncWindowsService(run) != 1) {
    RestoreProgramMode(syncServiceStatus, hadShortcut);
    return Fail(3, u"<ManageSyncDlg> Problem to Start Sync Service.", UnableToStart());
  }
  return true;
}

void SyncModeSwitch::RestoreProgramMode(int syncServiceStatus, bool hadShortcut) {
  m_port.SetStartSyncStatus(0);
  if (hadShortcut) m_port.CreateStartupShortCut();
  m_port.SetSyncServiceStatus(syncServiceStatus);
}

bool SyncModeSwitch::ToApplication() {
  const auto run = [this](const QString& switchText, const QString& folder) {
    return m_port.RunServiceWrapper(switchText, folder);
  };
  if (StopSyncWindowsService(run) != 1) return Fail(4, u"<ManageSyncDlg> Problem to Stop Sync Service.", UnableToStop());
  if (m_port.WaitForSyncProcessExit() == 0) return Fail(5, u"<ManageSyncDlg> Problem Sync stop<2>", ProblemToStop());
  if (UninstallSyncWindowsService(run) != 1) {
    return Fail(6, u"<ManageSyncDlg> Problem to Uninstall Sync Service.", UnableToStop());
  }
  if (m_port.SetStartSyncStatus(0) != 1) {
    m_port.WriteLog(7, QStringLiteral("<ManageSyncDlg> Problem to Set Start Sync Status Settings."));
  }
  m_port.SetSyncServiceStatus(1);
  m_port.LaunchStartSyncProgram();
  m_port.CreateStartupShortCut();
  return true;
}
