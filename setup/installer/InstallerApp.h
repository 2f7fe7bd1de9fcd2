#pragma once

#include "setup/installer/InstallState.h"

#include <QIcon>
#include <QString>

#include <functional>

class TarnwickInstallWizard;

// The installer's application object, made after QApplication: it refuses to run over an
// installation, logs the machine and shows the wizard. It holds the install state for the pages.
class CInstallerApp {
 public:
  using WizardRunner = std::function<void(TarnwickInstallWizard& wizard)>;

  CInstallerApp();
  ~CInstallerApp();
  CInstallerApp(const CInstallerApp&) = delete;
  CInstallerApp& operator=(const CInstallerApp&) = delete;

  // Always false: the program ends when the wizard closes.
  bool InitInstance();

  // Dispatches every waiting event, so that the window paints during a long step.
  static void PumpWaitingMessages();

  // The previous installation folder.
  QString GetInstallFolder() const { return m_state.previousInstallation; }
  // Where the files to install lie: the installer's own folder.
  QString PayloadFolder() const { return m_payloadFolder; }
  void SetPayloadFolder(const QString& folder) { m_payloadFolder = folder; }

  InstallState& State() { return m_state; }
  const InstallState& State() const { return m_state; }
  const QIcon& Icon() const { return m_icon; }

  // Tests drive the wizard in place of its modal run.
  static void SetWizardRunner(WizardRunner runner);

 private:
  static bool InitializeSockets();
  static QString ExistingInstallation();
  void RunWizard();

  InstallState m_state;
  QString m_payloadFolder;
  QIcon m_icon;
};

// The running installer's application object; null before it is made.
CInstallerApp* GetInstallerApp();
