#pragma once

#include "shared/RegistryRecords.h"

#include <QDialog>

class CBMButton;
class QCheckBox;
class QLineEdit;

// Whether the desktop reaches the internet through an HTTP proxy, and which one. A proxy is
// stored in ConnSettings only after a connection test through it has succeeded.
class CProxySettingsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CProxySettingsDlg(QWidget* parent = nullptr);

  // For 0 or 1: the address, the port and Test Connection are enabled exactly for 1.
  void EnableProxyControls(int flag);
  // Tests the proxy of the edits by GET and then POST, asking for credentials while the proxy
  // answers 407: 1 when both got through, else 0.
  int TestInternetConnection();

 private:
  enum class Step { Get, Post };

  void OnInitDialog();
  void OnBnClickedUseProxyServer();
  void OnBnClickedTestConnection();
  void OnOK();
  void OnEditProxy();
  // The address and port of the edits when they can name a proxy, else a box and false.
  bool ReadProxyEdits(QString* address, QString* port);
  // One step, repeated while the proxy demands credentials and the user gives them.
  bool PassStep(Step step, const QString& proxy);
  bool AskProxyCredentials();
  void StoreTestedProxy();
  void StoreProxyOff();
  void Store(const ConnSettings& record, int failureLocation);
  void Inform(const QString& text);

  ConnSettings m_stored;
  QString m_strTestedAddress;
  QString m_strTestedPort;
  QString m_strProxyUser;
  QString m_strProxyPassword;
  int m_nTested = 0;
  QCheckBox* m_pUseProxy;
  QLineEdit* m_pAddress;
  QLineEdit* m_pPort;
  CBMButton* m_pTest;
};
