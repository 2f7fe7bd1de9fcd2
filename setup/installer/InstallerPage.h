#pragma once

#include <QWizardPage>

class CInstallerApp;
struct InstallState;

// A page of the installer's wizard: activated on every showing (Back included), with the help
// topic the sheet's help opens (0: none). Next stays on the page when validatePage() is false.
class CInstallerPage : public QWizardPage {
  Q_OBJECT

 public:
  CInstallerPage(CInstallerApp& app, int helpTopic, QWidget* parent = nullptr);

  virtual void OnSetActive() {}
  int HelpTopic() const { return m_nHelpTopic; }

 protected:
  CInstallerApp& App() { return m_app; }
  const CInstallerApp& App() const { return m_app; }
  InstallState& State();

 private:
  CInstallerApp& m_app;
  int m_nHelpTopic;
};
