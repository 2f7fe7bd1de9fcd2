#pragma once

#include "setup/common/AdminServiceExchange.h"
#include "setup/common/SetupLog.h"
#include "setup/common/SetupProgressBar.h"
#include "shared/SyncStopBounds.h"

#include <QDialog>
#include <QIcon>
#include <QString>

#include <chrono>
#include <memory>

class QLabel;
class QProgressBar;

// What the uninstaller's dialog is given from outside: the administration service and the bound
// of the wait for the sync program's end.
struct UninstallerOptions {
  AdminEndpoint adminService;
  std::chrono::milliseconds syncStopLimit = syncbounds::kWaitForProgramEnd;
};

// The uninstaller's dialog: no buttons, a status line and a progress bar. Once shown it asks for
// confirmation and runs the whole removal in one pass; every end of the pass ends the program
// with code 0 after its log line.
class CUnInstallerDlg : public QDialog {
 public:
  CUnInstallerDlg(UninstallerOptions options, SetupLogSink log);
  ~CUnInstallerDlg() override;

  // The checks before anything changes, then the sequence's timer; the program ends when a
  // check fails.
  bool OnInitDialog();
  // The sequence.
  void OnTimer();

 private:
  enum class SyncMode { Service, Program, Unknown };

  // Ends the program when the administration program runs: its files are about to go.
  void EndIfDesktopProgramRuns();
  // Both withdrawals; a failure puts back what was withdrawn and ends the program.
  void WithdrawOnline();
  [[noreturn]] void EndUnsuccessful(const QString& problem);
  [[noreturn]] static void EndProgram();
  int ShowBox(const QString& text, unsigned type) const;
  void Status(const QString& text);
  void Wait(std::chrono::milliseconds pause) const;

  void StopSyncByMode();
  int StopSyncService();
  bool StopSynchronization();
  int WaitForSyncStop();
  int StartSyncServiceAgain();
  int UninstallSyncService();
  int UnInstallAdmin();
  int InstallAdmin();
  int DeleteDesktopOnline();
  int PerformLocalUnregistration();
  void RunServiceWrapper(const QString& switchText) const;
  void StartStarterProgram() const;
  void Finish();

  UninstallerOptions options_;
  SetupLogSink log_;
  QString m_strInstallFolder;
  QString m_strDesktopName;
  int m_nDeviceType = -1;
  SyncMode syncMode_ = SyncMode::Unknown;
  QLabel* m_pStatus;
  QProgressBar* m_pProgress;
  std::unique_ptr<SetupProgressBar> progress_;
  QIcon m_hIcon;
};
