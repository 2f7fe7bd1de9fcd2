#pragma once

#include "admin/shell/SyncControlPort.h"

class QWidget;

// The synchronisation control of this machine: the registry, the service manager, the process
// list, the outside programs, the program's message boxes (over `parent`) and its log.
class SystemSyncControl : public SyncControlPort {
 public:
  explicit SystemSyncControl(QWidget* parent) : m_pParent(parent) {}

  int GetStartSyncStatus() override;
  int GetSyncServiceStatus() override;
  int SetStartSyncStatus(int status) override;
  int SetSyncServiceStatus(int status) override;
  int CheckServiceStatus() override;
  int StartWindowsService() override;
  int StopWindowsService() override;
  int IsSyncProcessRunning() override;
  int IsStartSyncProcessRunning() override;
  int WaitForSyncProcessExit() override;
  bool StartupShortCutExists() override;
  bool CreateStartupShortCut() override;
  bool DeleteStartupShortCut() override;
  bool LaunchStartSyncProgram() override;
  bool RunServiceWrapper(const QString& switchText, const QString& workingFolder) override;
  int MessageBox(const QString& text, unsigned type) override;
  void WriteLog(int code, const QString& text) override;

 private:
  QWidget* m_pParent;
};
