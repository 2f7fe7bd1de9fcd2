#include "admin/shell/TarnwickApp.h"

#include "admin/foundation/RegistryHandler.h"
#include "shared/ProgramVersion.h"
#include "shared/SystemInfo.h"

namespace {

CTarnwickApp* g_pApp = nullptr;

QString LogFolder() {
  const QString installation = GetInstallationPath();
  if (installation.isEmpty()) return {};  // not installed: no log rather than one in the working folder
  return CLogFile::TodaysFolder(installation + QStringLiteral("Desktop Files/Logs/"));
}

}  // namespace

CTarnwickApp* GetTarnwickApp() { return g_pApp; }

CTarnwickApp::CTarnwickApp()
    : m_pLog(std::make_unique<CLogFile>(LogFolder(), QStringLiteral("DesktopLog.log"))) {
  g_pApp = this;
}

CTarnwickApp::~CTarnwickApp() {
  if (g_pApp == this) g_pApp = nullptr;
}

bool CTarnwickApp::InitInstance() {
  WriteLog(0, QStringLiteral("Start Tarnwick Plus Lite Application <Version : %1.%2><%3>")
                  .arg(GetMajorVersion()).arg(GetMinorVersion()).arg(GetBuildString()));
  WriteLog(-1, SystemOSDetailsText());
  GetRegistryHandler();
  ReadDeskInfo();
  return false;
}

int CTarnwickApp::ExitInstance() { return 0; }

void CTarnwickApp::WriteLog(int code, const QString& text) const { m_pLog->WriteLog(code, text); }

void CTarnwickApp::ReadDeskInfo() {
  DeskInfo record;
  if (GetRegistryHandler()->ReadDeskInfo(&record) != 0) return;
  m_strDesktopName = QString::fromUtf8(record.desktopName);
  m_strDefaultUserID = QString::fromUtf8(record.deviceId);
  m_nDeviceType = record.deviceType;
}
