#pragma once

#include "setup/common/SetupProgressBar.h"
#include "setup/installer/InstallerPage.h"

#include <QTimer>

class QCheckBox;
class QLabel;
class QProgressBar;

// The last page: as soon as it shows it installs by itself (files, settings, shortcuts, the
// desktop's entries with both hosted services, synchronisation), rolling back what it made when
// a step fails. It ends with Finish enabled (success) or Cancel enabled (failure).
class CFinishPage : public CInstallerPage {
  Q_OBJECT

 public:
  static const QString kSuccessText;
  static const QString kFailureText;

  explicit CFinishPage(CInstallerApp& app, QWidget* parent = nullptr);

  void OnSetActive() override;
  bool isComplete() const override;
  // Finish: the readme and the administration program when asked for and installed.
  bool validatePage() override;

  bool Installing() const { return m_bInstalling; }
  bool Failed() const { return m_nFailed != 0; }
  QString StatusText() const { return m_bar.StatusText(); }

  // The phases and their rollbacks; each returns 0 on success.
  int PerformOfflineActivities();
  int PerformAdminInstall();
  int PerformAdminUninstall();
  void RollbackInstallation();
  int StartSyncService();

  // A step of the bar, which shows the status text set last.
  void StepProgress(int steps);

 private:
  void OnInitDialog();
  void OnInstallTimer();
  // The phases in order; the text the page ends with.
  QString RunInstallSequence();
  void FailAndRollBack(bool withdrawDesktop);
  void RemoveSettings();
  void EndInstallation();
  void SetStatusText(const QString& text);
  void ShowStatusText(const QString& text);
  void PumpWaitingMessages();
  // Opens the readme, or tells the user that nothing on this machine can.
  void ShowReadme(const QString& path);

  QString InstallFolder() const;

  QProgressBar* m_pProgress;
  QLabel* m_pStatus;
  QCheckBox* m_pReadme;
  QCheckBox* m_pStart;
  SetupProgressBar m_bar;
  QTimer m_timer;
  int32_t m_nFailed = 0;
  bool m_bInitialised = false;
  bool m_bInstalling = false;
  bool m_bDone = false;
};
