#include "admin/shell/TarnwickApp.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/WebServiceTest.h"
#include "platform/widgets/MessageBox.h"
#include "shared/ProgramVersion.h"
#include "shared/RegistryHandler.h"
#include "shared/RegistrySettings.h"
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
  SetAppLog(m_pLog.get());
}

CTarnwickApp::~CTarnwickApp() {
  SetAppLog(nullptr);
  if (g_pApp == this) g_pApp = nullptr;
}

bool CTarnwickApp::InitInstance() {
  WriteAppLog(0, QStringLiteral("Start Tarnwick Plus Lite Application <Version : %1.%2><%3>")
                     .arg(GetMajorVersion()).arg(GetMinorVersion()).arg(GetBuildString()));
  admin::GetDataTestWebServiceMethod(m_pLog.get());
  WriteAppLog(-1, SystemOSDetailsText());
  ReadDeskInfo();
  ConnectSettingsDatabase();
  return false;
}

int CTarnwickApp::ExitInstance() { return 0; }

void CTarnwickApp::ReadDeskInfo() {
  DeskInfo record;
  if (GetRegistryHandler()->ReadDeskInfo(&record) != 0) return;
  m_strDesktopName = QString::fromUtf8(record.desktopName);
  m_strDefaultUserID = QString::fromUtf8(record.deviceId);
  m_nDeviceType = record.deviceType;
}

void CTarnwickApp::ConnectSettingsDatabase() {
  const QString database = GetInstallationPath() + QStringLiteral("Desktop Files/DB/UserProfileDB.mdb");
  QString error;
  if (m_settingsConnection.ConnectDataSource(QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"), CDatabseConnection::kMdb,
                                             database, QString(), QStringLiteral("pondGarue58"), &error, false) == 0) {
    WriteAppLog(1, error);
    platform::MessageBox(nullptr, QStringLiteral("Error in Connecting UserProfileDB Database."), ProgramTitle(),
                         platform::MB_ICONERROR);
    return;
  }
  WriteAppLog(2, QStringLiteral("Successfully Connected to UserProfileDB Database."));
}
