#include "admin/shell/SystemSyncControl.h"

#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/ServiceWrapper.h"
#include "admin/foundation/SyncControl.h"
#include "platform/widgets/MessageBox.h"
#include "platform/widgets/WaitCursor.h"
#include "shared/contract/SyncServiceStatus.h"

int SystemSyncControl::GetStartSyncStatus() {
  int status = 0;
  return ::GetStartSyncStatus(&status) == 1 ? status : 0;
}

int SystemSyncControl::GetSyncServiceStatus() {
  int status = 0;
  return ::GetSyncServiceStatus(&status) == 1 ? status : 0;
}

int SystemSyncControl::SetStartSyncStatus(int status) { return ::SetStartSyncStatus(status); }
int SystemSyncControl::SetSyncServiceStatus(int status) { return ::SetSyncServiceStatus(status); }
int SystemSyncControl::CheckServiceStatus() { return ::CheckServiceStatus(); }
int SystemSyncControl::StartWindowsService() { return ::StartWindowsService(kSyncServiceName); }
int SystemSyncControl::StopWindowsService() { return ::StopWindowsService(kSyncServiceName); }
int SystemSyncControl::IsSyncProcessRunning() { return ::IsSyncProcessRunning(); }
int SystemSyncControl::IsStartSyncProcessRunning() { return ::IsStartSyncProcessRunning(); }
int SystemSyncControl::WaitForSyncProcessExit() {
  const platform::WaitCursor busy;
  return ::WaitForSyncProcessExit();
}
bool SystemSyncControl::StartupShortCutExists() { return ::StartupShortCutExists(); }
bool SystemSyncControl::CreateStartupShortCut() { return ::CreateStartupShortCut(); }
bool SystemSyncControl::DeleteStartupShortCut() { return ::DeleteStartupShortCut(); }
bool SystemSyncControl::LaunchStartSyncProgram() { return ::LaunchStartSyncProgram(); }

bool SystemSyncControl::RunServiceWrapper(const QString& switchText, const QString& workingFolder) {
  const platform::WaitCursor busy;
  return RunSyncServiceWrapper(switchText, workingFolder);
}

int SystemSyncControl::MessageBox(const QString& text, unsigned type) {
  return platform::MessageBox(m_pParent, text, ProgramTitle(), type);
}

void SystemSyncControl::WriteLog(int code, const QString& text) { WriteAppLog(code, text); }
