#pragma once

#include <QDialog>
#include <QFont>
#include <QString>
#include <QTimer>

class CBMButton;
class CColoredListCtrl;
class CNewProfileWizard;
class CTarnwickApp;
struct ProfileRecord;

// The Profile Manager module: the profiles some device user has, red while the sync program has
// not yet brought them to the devices; adding one through the profile wizard, editing a settled
// one in it, and removing one that no form depends on. The list follows the settings database
// every 15 seconds, on the application's connection.
class CProfileManagerDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpTopic = 9;
  static constexpr int kSmallHelpTopic = 17;
  static constexpr int kWarningDelayMs = 300;
  static constexpr int kRefreshIntervalMs = 15000;

  explicit CProfileManagerDlg(CTarnwickApp& app, QWidget* parent = nullptr);
  ~CProfileManagerDlg() override;

  CColoredListCtrl* GetProfileList() const { return m_pProfileList; }
  const QTimer& GetRefreshTimer() const { return m_refreshTimer; }
  const QTimer& GetWarningTimer() const { return m_warningTimer; }

  void RefreshProfileList();
  void OnProfileSelected();
  void AddProfile();
  void EditProfile();
  void RemoveProfile();
  void OnHelp();
  void OnSmallHelp();
  // Timer 5003: the warning when the sync program does not run, once.
  void ShowSyncWarning();
  // Timer 5004.
  void OnRefreshTimer();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Stops the 15-second refresh while a wizard or a box of the module is open.
  class RefreshPause {
   public:
    explicit RefreshPause(CProfileManagerDlg& dialog);
    ~RefreshPause();
    RefreshPause(const RefreshPause&) = delete;
    RefreshPause& operator=(const RefreshPause&) = delete;

   private:
    CProfileManagerDlg& m_dialog;
  };

  void CreateControls();
  void CreateInformation();
  void InitListColumns();
  // Lists the stored profiles; false when the settings database cannot be had.
  bool LoadProfileList();
  // The settings connection, connected again when it is down: one box until it succeeds.
  bool SettingsConnected();
  QString SelectedName() const;
  void SelectByName(const QString& name);
  int Box(const QString& text, unsigned type);
  // Connects the edited profile's source through the wizard's connection manager.
  void ConnectForEdit(CNewProfileWizard& wizard, const ProfileRecord& record);
  void ConnectTableSource(CNewProfileWizard& wizard, const ProfileRecord& record);
  // Runs the wizard; true when it ended with the profile saved.
  bool RunWizard(CNewProfileWizard& wizard);

  CTarnwickApp& m_app;
  QFont m_boldFont;
  CColoredListCtrl* m_pProfileList = nullptr;
  CBMButton* m_pEditProfile = nullptr;
  CBMButton* m_pRemoveProfile = nullptr;
  CBMButton* m_pHelp = nullptr;
  CBMButton* m_pSmallHelp = nullptr;
  QWidget* m_pUserList = nullptr;
  QWidget* m_pUserInformation = nullptr;
  QTimer m_warningTimer;
  QTimer m_refreshTimer;
  int m_nPauses = 0;
  bool m_bConnectFailureShown = false;
};
