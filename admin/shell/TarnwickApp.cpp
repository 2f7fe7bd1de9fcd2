#include "admin/shell/TarnwickApp.h"

#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/WebServiceTest.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/TarnwickDlg.h"
#include "admin/shell/WindowsVistaInfoMessageDialog.h"
#include "platform/os/MachineRoot.h"
#include "platform/os/Process.h"
#include "platform/widgets/MessageBox.h"
#include "shared/ProgramVersion.h"
#include "shared/RegistryHandler.h"
#include "shared/RegistrySettings.h"
#include "shared/SystemInfo.h"
#include "shared/contract/DataSourceNames.h"
#include "shared/contract/InstallLayout.h"
#include "shared/data/SourceKinds.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

CTarnwickApp* g_pApp = nullptr;

const QString kProgramName = QStringLiteral("TarnwickPlusLite");

QString LogFolder() {
  const QString installation = GetInstallationPath();
  if (installation.isEmpty()) return {};  // not installed: no log rather than one in the working folder
  return CLogFile::TodaysFolder(installation + installlayout::kLogsFolder);
}

QString VersionText() {
  return QStringLiteral("<Version : %1.%2><%3>").arg(GetMajorVersion()).arg(GetMinorVersion()).arg(GetBuildString());
}

// One server per machine root: instances of other roots (tests, other users) never meet.
QString ActivationServerName() {
  const QByteArray root = QCryptographicHash::hash(platform::MachineRoot().toUtf8(), QCryptographicHash::Sha256);
  return kProgramName + u'-' + QString::fromLatin1(root.toHex().left(24));
}

void TellRunningInstance() {
  QLocalSocket socket;
  socket.connectToServer(ActivationServerName());
  if (socket.waitForConnected(2000)) socket.disconnectFromServer();
}

void ModalMainDialog(CTarnwickDlg& dialog) { dialog.exec(); }

CTarnwickApp::MainDialogRunner& MainDialogRunnerSlot() {
  static CTarnwickApp::MainDialogRunner runner = ModalMainDialog;
  return runner;
}

int DetectedOsKind() {
  SystemInfo info;
  info.DetectWindowsVersion();
  return info.OsKind();
}

std::function<int()>& OsKindSlot() {
  static std::function<int()> source = DetectedOsKind;
  return source;
}

// The Windows Vista and Windows 7 client editions.
bool IsVistaOrSeven(int kind) { return kind >= 29 && kind <= 37; }

}  // namespace

CTarnwickApp* GetTarnwickApp() { return g_pApp; }

CTarnwickApp::CTarnwickApp()
    : m_pLog(std::make_unique<CLogFile>(LogFolder(), QStringLiteral("DesktopLog.log"))),
      m_boldFont(MakeFont(QStringLiteral("Verdana"), 14, 700)) {
  g_pApp = this;
  SetAppLog(m_pLog.get());
}

CTarnwickApp::~CTarnwickApp() {
  SetAppLog(nullptr);
  if (g_pApp == this) g_pApp = nullptr;
}

void CTarnwickApp::SetMainDialogRunner(MainDialogRunner runner) { MainDialogRunnerSlot() = std::move(runner); }

void CTarnwickApp::SetOsKindSource(std::function<int()> source) { OsKindSlot() = std::move(source); }

bool CTarnwickApp::InitInstance() {
  if (ActivateRunningInstance()) return false;
  if (m_bLoggingEnabled) WriteAppLog(0, QStringLiteral("Start Tarnwick Plus Lite Application ") + VersionText());
  admin::GetDataTestWebServiceMethod(m_pLog.get());
  WriteAppLog(-1, SystemOSDetailsText());
  ReadDeskInfo();
  if (!ConnectSettingsDatabase()) {
    m_nExitCode = 1;
    return false;
  }
  if (m_bLoggingEnabled) WriteAppLog(2, QStringLiteral("Successfully Connected to UserProfileDB Database."));
  CheckWindowsOS();
  RunMainDialog();
  if (m_bLoggingEnabled)
    WriteAppLog(9, QStringLiteral("Close Tarnwick Plus Lite Application ") + VersionText() + QStringLiteral("\r\n"));
  return false;
}

int CTarnwickApp::ExitInstance() {
  DeleteRegistryHandler();
  return m_nExitCode;
}

void CTarnwickApp::CheckWindowsOS() {
  const int kind = OsKindSlot()();
  WriteAppLog(9, QStringLiteral("CTarnwickApp::CheckWindowsOS() start "));
  if (IsVistaOrSeven(kind)) {
    int flag = 0;
    GetOSVersionMessageFlag(&flag);
    if (flag == 2) {
      WriteAppLog(9, QStringLiteral("Do not Show this Message Again checkbox is Checked"));
    } else {
      WriteAppLog(9, QStringLiteral("Do not Show this Message Again checkbox is not Checked"));
      CWindowsVistaInfoMessageDialog notice;
      notice.exec();
    }
  } else if (kind >= 1 && kind <= 51 && kind != 6 && kind != 11) {
    WriteAppLog(9, QStringLiteral("Do not disp Vista and Windows 7 Message"));
  }
  WriteAppLog(9, QStringLiteral("CTarnwickApp::CheckWindowsOS() End "));
}

bool CTarnwickApp::ActivateRunningInstance() {
  // The kernel drops the lock with its holder, so exactly one of two starts at the same moment
  // runs and a killed instance never blocks the next.
  if (platform::LockSingleInstance(kProgramName) == platform::InstanceLock::HeldByAnother) {
    TellRunningInstance();
    return true;
  }
  ServeActivation();
  return false;
}

void CTarnwickApp::ServeActivation() {
  const QString name = ActivationServerName();
  QLocalServer::removeServer(name);  // a killed instance's socket file; the lock says none runs
  m_pActivationServer = std::make_unique<QLocalServer>();
  m_pActivationServer->setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(m_pActivationServer.get(), &QLocalServer::newConnection, m_pActivationServer.get(), [this] {
    while (QLocalSocket* socket = m_pActivationServer->nextPendingConnection()) socket->deleteLater();
    BringToFront();
  });
  m_pActivationServer->listen(name);
}

void CTarnwickApp::BringToFront() const {
  if (m_pMainWnd != nullptr && m_pMainWnd->isMinimized()) m_pMainWnd->showNormal();
  QWidget* front = QApplication::activeModalWidget();
  if (front == nullptr) front = m_pMainWnd;
  if (front == nullptr) return;
  front->raise();
  front->activateWindow();
}

void CTarnwickApp::RequestClose() {
  m_bCloseRequested = true;
  if (m_pMainWnd == nullptr) return;
  while (QWidget* modal = QApplication::activeModalWidget()) {
    if (modal == m_pMainWnd || !modal->close()) break;
  }
  m_pMainWnd->close();
}

void CTarnwickApp::ReadDeskInfo() {
  DeskInfo record;
  if (GetRegistryHandler()->ReadDeskInfo(&record) != 0) return;
  m_strDesktopName = QString::fromUtf8(record.desktopName);
  m_strDefaultUserID = QString::fromUtf8(record.deviceId);
  m_nDeviceType = record.deviceType;
}

bool CTarnwickApp::ConnectSettingsDatabase(bool showFailure) {
  const QString database = GetInstallationPath() + installlayout::kDbFolder + installlayout::kSettingsDatabase;
  QString error;
  if (m_settingsConnection.ConnectDataSource(datasources::kAdminSettings, sourcekind::kMdb, database, QString(),
                                             datasources::kSettingsDatabasePassword, &error, false) == 0) {
    WriteAppLog(1, error);
    if (showFailure)
      platform::MessageBox(nullptr, QStringLiteral("Error in Connecting UserProfileDB Database."), ProgramTitle(),
                           platform::MB_ICONERROR);
    return false;
  }
  return true;
}

bool CTarnwickApp::ReconnectSettingsDatabase(bool showFailure) {
  m_settingsConnection.DisconnectDataSource();
  return ConnectSettingsDatabase(showFailure);
}

void CTarnwickApp::RunMainDialog() {
  CTarnwickDlg dialog;
  m_pMainWnd = &dialog;
  if (!m_bCloseRequested) MainDialogRunnerSlot()(dialog);
  m_pMainWnd = nullptr;
}
