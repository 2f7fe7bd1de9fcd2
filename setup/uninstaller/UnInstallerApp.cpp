#include "setup/uninstaller/UnInstallerApp.h"

#include "setup/uninstaller/UninstallLog.h"
#include "shared/RegistrySettings.h"
#include "shared/SystemInfo.h"

#include <utility>

CUnInstallerApp::CUnInstallerApp(UninstallerOptions options) : options_(std::move(options)) {}

void CUnInstallerApp::WriteUninstallLog(const QString& text) const {
  if (!m_strInstallFolder.isEmpty()) AppendSetupLogLine(UninstallLogPath(m_strInstallFolder), text);
}

SetupLogSink CUnInstallerApp::LogSink() const {
  return [this](const QString& text) { WriteUninstallLog(text); };
}

bool CUnInstallerApp::InitInstance() {
  m_strInstallFolder = GetInstallationPath();
  WriteUninstallLog(QStringLiteral("****TarnwickPLiteUnInstaller Started. <iPhone><V3>********"));
  WriteUninstallLog(SystemOSDetailsText());
  CUnInstallerDlg dialog(options_, LogSink());
  dialog.OnInitDialog();
  dialog.exec();
  return false;
}
