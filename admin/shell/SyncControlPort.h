#pragma once

#include <QString>

// What the Preferences module's synchronisation control needs of the machine: the two registry
// values, the service and the sync program, the Startup shortcut, the outside programs, the
// message box and the log. The real one is SystemSyncControl; tests drive the control with a
// recording one.
class SyncControlPort {
 public:
  virtual ~SyncControlPort() = default;

  // StartSyncStatus, 0 (program mode) when it cannot be read.
  virtual int GetStartSyncStatus() = 0;
  // SyncServiceStatus, 0 when it cannot be read.
  virtual int GetSyncServiceStatus() = 0;
  virtual int SetStartSyncStatus(int status) = 0;    // 1 written, 0 not
  virtual int SetSyncServiceStatus(int status) = 0;  // 1 written, 0 not

  virtual int CheckServiceStatus() = 0;       // 1 running, 0 not, negative unknown (a box was shown)
  virtual int StartWindowsService() = 0;      // 1 started
  virtual int StopWindowsService() = 0;       // 1 stopped
  virtual int IsSyncProcessRunning() = 0;     // 1, 0, or negative when unknown
  virtual int IsStartSyncProcessRunning() = 0;
  virtual int WaitForSyncProcessExit() = 0;   // 1 ended, 0 not

  virtual bool StartupShortCutExists() = 0;
  virtual bool CreateStartupShortCut() = 0;
  virtual bool DeleteStartupShortCut() = 0;

  virtual bool LaunchStartSyncProgram() = 0;
  // One run of the service wrapper, waited for: true when it succeeded.
  virtual bool RunServiceWrapper(const QString& switchText, const QString& workingFolder) = 0;

  virtual int MessageBox(const QString& text, unsigned type) = 0;
  virtual void WriteLog(int code, const QString& text) = 0;
};
