#pragma once

#include <QWizard>

#include <functional>
#include <memory>

class CInstallerApp;
class CInstallerPage;
class CWelComePage;
class CSelectEditionPage;
class CProxySettingsPage;
class CPersonalInfoPage;
class CSelectPathPage;
class CFinishPage;
class CAccountInfoPage;
class CModifyPage;
class CAdminPasswordDlg;

// The installer's wizard: six pages in order; three more objects are made with it and never
// shown. While the finish page installs, Esc and the close box do nothing.
class TarnwickInstallWizard : public QWizard {
  Q_OBJECT

 public:
  explicit TarnwickInstallWizard(CInstallerApp& app, QWidget* parent = nullptr);
  ~TarnwickInstallWizard() override;

  CWelComePage* WelcomePage() const { return m_pWelcome; }
  CSelectEditionPage* EditionPage() const { return m_pEdition; }
  CProxySettingsPage* ProxyPage() const { return m_pProxy; }
  CPersonalInfoPage* DevicePage() const { return m_pDevice; }
  CSelectPathPage* PathPage() const { return m_pPath; }
  CFinishPage* FinishPage() const { return m_pFinish; }

  void reject() override;

  // Tests answer the help balloon in place of its modal run.
  using HelpRunner = std::function<void(int topic)>;
  static void SetHelpRunner(HelpRunner runner);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void OnPageActivated(int id);
  void OnHelp();
  bool Installing() const;

  CWelComePage* m_pWelcome;
  CSelectEditionPage* m_pEdition;
  CProxySettingsPage* m_pProxy;
  CPersonalInfoPage* m_pDevice;
  CSelectPathPage* m_pPath;
  CFinishPage* m_pFinish;
  std::unique_ptr<CAccountInfoPage> m_pAccount;
  std::unique_ptr<CModifyPage> m_pModify;
  std::unique_ptr<CAdminPasswordDlg> m_pAdminPassword;
};
