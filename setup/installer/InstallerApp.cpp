#include "setup/installer/InstallerApp.h"

#include "platform/os/MachineRoot.h"
#include "platform/widgets/MessageBox.h"
#include "setup/common/SetupLog.h"
#include "setup/common/SetupSystem.h"
#include "setup/installer/InstallerTexts.h"
#include "setup/installer/TarnwickInstallWizard.h"
#include "shared/RegistrySettings.h"
#include "shared/SystemInfo.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

#include <curl/curl.h>

namespace {

CInstallerApp* g_pApp = nullptr;

void ModalWizard(TarnwickInstallWizard& wizard) { wizard.exec(); }

CInstallerApp::WizardRunner& WizardRunnerSlot() {
  static CInstallerApp::WizardRunner runner = ModalWizard;
  return runner;
}

}  // namespace

CInstallerApp* GetInstallerApp() { return g_pApp; }

CInstallerApp::CInstallerApp() : m_payloadFolder(QCoreApplication::applicationDirPath()) { g_pApp = this; }

CInstallerApp::~CInstallerApp() {
  if (g_pApp == this) g_pApp = nullptr;
}

void CInstallerApp::SetWizardRunner(WizardRunner runner) { WizardRunnerSlot() = std::move(runner); }

bool CInstallerApp::InitializeSockets() { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }

// A value that names no folder (missing, or a file) counts as no installation.
QString CInstallerApp::ExistingInstallation() {
  const QString path = GetInstallationPath();
  if (path.isEmpty() || !QFileInfo(path).isDir()) return {};
  return path;
}

bool CInstallerApp::InitInstance() {
  if (!InitializeSockets()) {
    platform::MessageBox(nullptr, QStringLiteral("Windows sockets initialization failed."), installer::kTitle,
                         platform::MB_ICONERROR);
    return false;
  }
  WriteInstallLog(QStringLiteral("**** TarnwickInstaller started <iPhone><V3>*****"));
  WriteInstallLog(SystemOSDetailsText());
  if (IsNT6ClientEdition()) {
    WriteInstallLog(QStringLiteral("Local AppData Path : \"%1\"")
                        .arg(platform::SpecialFolderPath(platform::SpecialFolder::LocalAppData)));
  }
  m_state.previousInstallation = ExistingInstallation();
  if (m_state.previousInstallation.isEmpty()) {
    WriteInstallLog(QStringLiteral("New Version"));
    RunWizard();
    return false;
  }
  WriteInstallLog(QStringLiteral("Previous installation exists."));
  platform::MessageBox(nullptr, QStringLiteral("Please unintall previous version of Tarnwick Plus."), installer::kTitle,
                       platform::MB_ICONERROR);
  return false;
}

void CInstallerApp::RunWizard() {
  m_icon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
  TarnwickInstallWizard wizard(*this);
  WizardRunnerSlot()(wizard);
}

void CInstallerApp::PumpWaitingMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }
