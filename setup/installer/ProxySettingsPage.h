#pragma once

#include "setup/common/SetupProgressBar.h"
#include "setup/installer/InstallerPage.h"
#include "shared/RegistryRecords.h"

#include <QTimer>

#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The internet connection: tested directly against the administration service as soon as the
// page shows; when that fails the user may name a proxy and test through it. Next goes on only
// with a connection, whose record it hands to the install state.
class CProxySettingsPage : public CInstallerPage {
  Q_OBJECT

 public:
  static constexpr int kMaxProxyHostBytes = 127;

  explicit CProxySettingsPage(CInstallerApp& app, QWidget* parent = nullptr);

  void OnSetActive() override;
  bool validatePage() override;

  bool CheckInternetConnection();
  bool Connected() const { return m_bConnected; }
  const ConnSettings& Record() const { return m_record; }
  QString StatusText() const;

 private:
  enum class ProxyResult { Success, Cancelled, Failed };
  struct AuthLogs {
    QString get;
    QString post;
  };

  void OnConnectionTimer();
  void OnUseProxy(bool checked);
  void OnTestConnection();
  // Shown only when the direct test failed.
  QList<QWidget*> ProxyControls() const;
  void ShowProxyControls();

  // The GetDataTest of the administration service: 1 passed, else a code of RunServiceCheck.
  int RunTest(bool post, bool viaProxy, uint32_t* status);
  ProxyResult RunProxyTest(const AuthLogs& logs);
  ProxyResult RunProxyRequest(bool post, const QString& authLog);
  bool DirectTests(const QString& logPrefix);

  void SetDirectRecord();
  void SetProxyRecord();
  void SetStatus(const QString& text);

  // A step of the bar lets the window paint; filling runs it up to its end in a few beats.
  void StepBar(int steps);
  void FillBar();

  QProgressBar* m_pProgress;
  QLabel* m_pStatus;
  SetupProgressBar m_bar;
  QCheckBox* m_pUseProxy;
  QLineEdit* m_pHost;
  QLineEdit* m_pPort;
  QLabel* m_pHostLabel;
  QLabel* m_pPortLabel;
  QLabel* m_pNote;
  QPushButton* m_pTest;
  QGroupBox* m_pGroup;
  QTimer m_timer;

  ConnSettings m_record;
  bool m_bConnected = false;
  QString m_strProxyUser;
  QString m_strProxyPassword;
};
