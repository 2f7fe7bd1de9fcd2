#pragma once

#include "admin/shell/SyncControlPort.h"
#include "admin/shell/SyncToggle.h"

#include <QDialog>

#include <memory>

class CBMButton;
class QLabel;
class QLineEdit;

// The Preferences module: the administrator password, the start, stop and mode of
// synchronisation, and the connection settings. The template's hidden controls (device user
// password, profile removal, the connector service, the web-service address) keep complete
// handlers that nothing visible reaches.
class CTarnwickOptionsDlg : public QDialog {
  Q_OBJECT

 public:
  // `port` is the machine's synchronisation control unless one is given.
  explicit CTarnwickOptionsDlg(QWidget* parent = nullptr, std::unique_ptr<SyncControlPort> port = {});
  ~CTarnwickOptionsDlg() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateVisibleControls();
  void CreateHiddenControls();
  CBMButton* AddButton(const QString& text, const QString& id, const QRect& place);
  void OnInitDialog();
  void ShowSyncState(const SyncStatusView& view);
  void OnBnClickedStartSynchronization();
  void OnBnClickedSetPassword();
  void OnBnClickedConnectionSettings();
  void OnBnClickedSynchronizationSettings();
  void OnBnClickedSetUserPassword();
  void OnBnClickedDeleteAllProfiles();
  void OnBnClickedStartConnectorService();
  void OnBnClickedStopConnectorService();
  void OnBnClickedRestartConnectorService();
  void OnBnClickedSaveWebServiceUrl();
  void OnBnClickedTestWebService();
  void OnEnChangeWebServiceUrl();
  // The trimmed address of the edit, or a box and false when it is empty.
  bool ReadWebServiceUrl(QString* url);
  void SetConnectorButtons(bool running, const QString& status);
  int Box(const QString& text, unsigned type);

  std::unique_ptr<SyncControlPort> m_pPort;
  QString m_strSyncStatus;
  QString m_strLastSavedUrl;
  CBMButton* m_pPassword;
  CBMButton* m_pStartSync;
  QLabel* m_pStatus;
  CBMButton* m_pStartConnector;
  CBMButton* m_pStopConnector;
  CBMButton* m_pRestartConnector;
  QLineEdit* m_pUrl;
  CBMButton* m_pSaveUrl;
};
