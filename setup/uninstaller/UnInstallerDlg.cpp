#include "setup/uninstaller/UnInstallerDlg.h"

#include "platform/os/DetachedProcess.h"
#include "platform/os/IdleMachineState.h"
#include "platform/widgets/MessageBox.h"
#include "setup/common/HostedPagesClient.h"
#include "setup/common/SetupShortcuts.h"
#include "setup/common/UninstallerAdminClient.h"
#include "setup/uninstaller/SyncStopWait.h"
#include "setup/uninstaller/UninstallerFiles.h"
#include "setup/uninstaller/UninstallerProcesses.h"
#include "setup/uninstaller/UninstallerRegistryHandler.h"
#include "setup/uninstaller/UninstallerSettings.h"
#include "shared/RegistryHandler.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/InstallLayout.h"
#include "shared/soap/WebServiceAddress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr int kSequenceDelayMs = 50;
constexpr std::chrono::seconds kFixedWait{1};
constexpr std::chrono::milliseconds kFinishPause{50};

const QString kCaption = QStringLiteral("Tarnwick Plus Lite");
const QString kUninstallProblem = QStringLiteral("Problem while uninstalling Tarnwick Plus Lite.");
const QString kConnectionProblem =
    QStringLiteral("Problem in uninstalling Tarnwick Plus Lite, Please check internet connection.");
const QString kSupportAddress = QStringLiteral("support@morvant.example");

QString ProgramPath(const QString& installFolder, const QString& windowsName) {
  return installFolder + installlayout::kDesktopFiles + installlayout::ProgramFileName(windowsName);
}

}  // namespace

CUnInstallerDlg::CUnInstallerDlg(UninstallerOptions options, SetupLogSink log)
    : options_(std::move(options)),
      log_(std::move(log)),
      m_pStatus(new QLabel(QStringLiteral("Removing..."), this)),
      m_pProgress(new QProgressBar(this)),
      m_hIcon(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon)) {
  setWindowTitle(QStringLiteral("TarnwickPLiteUnInstaller"));
  setWindowIcon(m_hIcon);
  m_pStatus->setObjectName(QStringLiteral("1000"));
  m_pProgress->setObjectName(QStringLiteral("1001"));
  m_pProgress->setTextVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pStatus);
  layout->addWidget(m_pProgress);
  setMinimumWidth(360);
}

CUnInstallerDlg::~CUnInstallerDlg() = default;

bool CUnInstallerDlg::OnInitDialog() {
  m_strInstallFolder = GetInstallationPath();
  progress_ = std::make_unique<SetupProgressBar>(m_pProgress, m_pStatus);
  EndIfDesktopProgramRuns();
  m_strDesktopName = ReadDeskInfo(log_);
  m_nDeviceType = GetDeviceType(log_);
  if (m_strDesktopName.isEmpty()) {
    log_(QStringLiteral("Problem in getting DesktopName"));
    ShowBox(QStringLiteral("Problem while uninstallation, Please contact Morvant at ") + kSupportAddress + u'.',
            platform::MB_ICONERROR);
    EndProgram();
  }
  QTimer::singleShot(kSequenceDelayMs, this, &CUnInstallerDlg::OnTimer);
  return true;
}

void CUnInstallerDlg::EndIfDesktopProgramRuns() {
  if (IsDesktopProgramRunning(log_) != 1) return;
  log_(QStringLiteral("Desktop exe is running."));
  ShowBox(QStringLiteral("Please close Tarnwick Plus Lite Application."), platform::MB_ICONWARNING);
  EndProgram();
}

void CUnInstallerDlg::OnTimer() {
  const int answer =
      ShowBox(QStringLiteral(
                  "This action will uninstall Tarnwick Plus Lite from your Desktop machine.\r\n\r\nYou will lose all "
                  "your Tarnwick Plus Lite related information.\r\n\r\nDo you want to continue?"),
              platform::MB_YESNO | platform::MB_ICONQUESTION);
  if (answer != platform::IDYES) EndProgram();
  // The administration program may have been started while the question waited.
  EndIfDesktopProgramRuns();
  Status(QStringLiteral("Removing Tarnwick Plus Lite..."));
  progress_->StepProgress(1);
  Status(QStringLiteral("Stoping Synchronization..."));
  StopSyncByMode();
  if (WaitForSyncStop() == 0) {
    log_(QStringLiteral("Problem Sync stop<1>"));
    StartSyncServiceAgain();
    EndUnsuccessful(kUninstallProblem);
  }
  WithdrawOnline();
  progress_->PumpWaitingMessages();
  log_(QStringLiteral("Online unregistration << Successful"));
  progress_->StepProgress(2);
  Status(QStringLiteral("Performing local unregistration..."));
  log_(QStringLiteral("Offline unregistration << Start"));
  PerformLocalUnregistration();
  Finish();
}

void CUnInstallerDlg::WithdrawOnline() {
  Status(QStringLiteral("Performing online unregistration..."));
  log_(QStringLiteral("Admin unregistration << Start"));
  if (UnInstallAdmin() != 0) {
    StartSyncServiceAgain();
    progress_->StepProgress(5);
    log_(QStringLiteral("Admin unregistration << Problem"));
    EndUnsuccessful(kUninstallProblem);
  }
  log_(QStringLiteral("Online unregistration << Start"));
  if (DeleteDesktopOnline() != 0) {
    log_(QStringLiteral("Admin registration << Start"));
    log_(InstallAdmin() == 0 ? QStringLiteral("Admin registration << Successful")
                             : QStringLiteral("Admin registration << Problem"));
    StartSyncServiceAgain();
    progress_->StepProgress(5);
    log_(QStringLiteral("Online unregistration << Problem"));
    EndUnsuccessful(kUninstallProblem);
  }
}

void CUnInstallerDlg::Finish() {
  Status(QStringLiteral("Finishing uninstallation.."));
  progress_->ShowStatusText();
  progress_->PumpWaitingMessages();
  const int step = std::max(1, progress_->Position() / 5);
  while (progress_->Position() < SetupProgressBar::kMaximum) {
    Wait(kFinishPause);
    progress_->PumpWaitingMessages();
    progress_->SetPosition(progress_->Position() + step);
  }
  log_(QStringLiteral("Offline unregistration << Successful"));
  Status(QStringLiteral("Tarnwick Plus Uninstalled successfully."));
  progress_->ShowStatusText();
  ShowBox(QStringLiteral("Tarnwick Plus Lite Uninstalled successfully."), platform::MB_ICONWARNING);
  log_(QStringLiteral("UNINSTALLATION SUCCESSFUL"));
  EndProgram();
}

void CUnInstallerDlg::EndUnsuccessful(const QString& problem) {
  Status(problem);
  progress_->ShowStatusText();
  ShowBox(problem, platform::MB_ICONERROR);
  log_(QStringLiteral("UNINSTALLATION UNSUCCESSFUL"));
  EndProgram();
}

void CUnInstallerDlg::EndProgram() { std::exit(0); }

int CUnInstallerDlg::ShowBox(const QString& text, unsigned type) const {
  return platform::MessageBox(nullptr, text, kCaption, type);
}

void CUnInstallerDlg::Status(const QString& text) { progress_->SetStatusText(text); }

void CUnInstallerDlg::Wait(std::chrono::milliseconds pause) const {
  QThread::msleep(static_cast<unsigned long>(pause.count()));
}

void CUnInstallerDlg::StopSyncByMode() {
  uint32_t status = 0;
  if (GetStartSyncStatus(&status) != 1) {
    syncMode_ = SyncMode::Unknown;
    StopSyncService();
    StopSynchronization();
  } else if (status == 1) {
    syncMode_ = SyncMode::Service;
    // The stop request goes out in every mode: the service's program then ends by itself too.
    SetSyncServiceStatus(0, log_);
    StopSyncService();
  } else {
    syncMode_ = SyncMode::Program;
    StopSynchronization();
  }
}

int CUnInstallerDlg::StopSyncService() {
  progress_->StepProgress(1);
  RunServiceWrapper(QStringLiteral("-k"));
  progress_->StepProgress(5);
  for (int pass = 0; pass < 3; ++pass) {
    Wait(kFixedWait);
    progress_->PumpWaitingMessages();
    progress_->StepProgress(5);
  }
  return 1;
}

bool CUnInstallerDlg::StopSynchronization() {
  SetSyncServiceStatus(0, log_);
  return KillStartSyncProgram(log_);
}

int CUnInstallerDlg::WaitForSyncStop() {
  return ::WaitForSyncStop([this] { return IsSyncProgramRunning(log_); }, options_.syncStopLimit, progress_.get(),
                           log_);
}

int CUnInstallerDlg::StartSyncServiceAgain() {
  progress_->StepProgress(10);
  SetSyncServiceStatus(1, log_);
  if (syncMode_ == SyncMode::Program) {
    StartStarterProgram();
  } else {
    RunServiceWrapper(QStringLiteral("-s"));
  }
  progress_->StepProgress(10);
  Wait(kFixedWait);
  progress_->PumpWaitingMessages();
  Wait(kFixedWait);
  progress_->StepProgress(10);
  progress_->PumpWaitingMessages();
  return 1;
}

int CUnInstallerDlg::UninstallSyncService() {
  progress_->StepProgress(10);
  for (const QString& switchText : {QStringLiteral("-k"), QStringLiteral("-u")}) {
    RunServiceWrapper(switchText);
    for (int pass = 0; pass < 3; ++pass) {
      Wait(kFixedWait);
      progress_->PumpWaitingMessages();
      progress_->StepProgress(10);
    }
  }
  return 1;
}

void CUnInstallerDlg::RunServiceWrapper(const QString& switchText) const {
  platform::StartDetached(ProgramPath(m_strInstallFolder, QStringLiteral("TarnwickPWinServiceLite.exe")), {switchText},
                          m_strInstallFolder);
}

void CUnInstallerDlg::StartStarterProgram() const {
  platform::StartDetached(ProgramPath(m_strInstallFolder, kStartSyncProgramName), {}, m_strInstallFolder);
}

int CUnInstallerDlg::UnInstallAdmin() {
  CUninstallerAdminClient client(options_.adminService, m_strDesktopName, log_, progress_.get());
  return client.UnInstallAdmin();
}

int CUnInstallerDlg::InstallAdmin() {
  CUninstallerAdminClient client(options_.adminService, m_strDesktopName, log_, progress_.get());
  databuffer::Reply reply;
  if (client.InstallAdmin(&reply) != 0) return -2;
  // An entry the service already holds is entered too.
  return reply.status == 0 || reply.text.contains(QStringLiteral("already installed")) ? 0 : -1;
}

int CUnInstallerDlg::DeleteDesktopOnline() {
  const QString path = QStringLiteral("/iPhoneSTarnwickPWPLite/DeleteDesktop.asp?DesktopName=") +
                       QString::fromLatin1(QUrl::toPercentEncoding(m_strDesktopName));
  HostedPagesTarget target;
  ReadConnSettings(&target.connection, log_);
  SyncInfo syncInfo;
  WebServiceAddress address;
  int error = 0;
  // The pages answer where the desktop was registered: the web service's host and port.
  const bool addressKnown = ::GetRegistryHandler()->ReadSyncInfo(&syncInfo) == 0 &&
                            SplitWebServiceAddress(QString::fromUtf8(syncInfo.webServiceUrl), &address, &error);
  int fetched = -2;
  QString reply;
  if (addressKnown) {
    target.host = address.host;
    target.port = address.port;
    target.transport = address.transport;
    CHostedPagesClient client(target, log_, progress_.get());
    uint32_t status = 0;
    fetched = target.connection.useProxy == 1 ? client.PerformOnlineActivityWithProxy(path, &reply, &status)
                                              : client.PerformOnlineActivity(path, &reply, &status);
  } else {
    log_(QStringLiteral("Problem in getting web service address."));
  }
  progress_->StepProgress(10);
  if (fetched != 1) {
    log_(QStringLiteral("Problem in removing customer, internet connection failed."));
    ShowBox(kConnectionProblem, platform::MB_ICONERROR);
    return -2;
  }
  if (reply.contains(QStringLiteral("Success"))) {
    log_(QStringLiteral("Customer Removed successfully."));
    return 0;
  }
  if (reply.contains(QStringLiteral("InvalidDesktopName"))) {
    log_(QStringLiteral("Customer not found."));
    return 0;
  }
  log_(QStringLiteral("Problem in removing customer."));
  log_(reply);
  return -1;
}

int CUnInstallerDlg::PerformLocalUnregistration() {
  progress_->StepProgress(3);
  log_(QStringLiteral("Uninstalling service."));
  UninstallSyncService();
  progress_->PumpWaitingMessages();
  progress_->StepProgress(5);
  log_(QStringLiteral("Removing files."));
  RemoveInstalledFiles(m_strInstallFolder, m_nDeviceType, log_);
  progress_->PumpWaitingMessages();
  progress_->StepProgress(5);
  log_(QStringLiteral("Removing Settings."));
  uninstaller::GetRegistryHandler()->RemoveSettings(log_);
  progress_->PumpWaitingMessages();
  progress_->StepProgress(5);
  DeleteAppShortcuts(m_nDeviceType, log_);
  DeleteStartupShortCut(log_);
  // Nothing of ours runs any more: what only running programs needed goes too.
  platform::RemoveIdleMachineState();
  progress_->StepProgress(5);
  return 0;
}
