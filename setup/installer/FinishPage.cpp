#include "setup/installer/FinishPage.h"

#include "platform/os/DetachedProcess.h"
#include "platform/widgets/DocumentLauncher.h"
#include "platform/widgets/MessageBox.h"
#include "setup/common/AdminServiceClient.h"
#include "setup/common/HostedPagesClient.h"
#include "setup/common/SettingsRemoval.h"
#include "setup/common/SetupLog.h"
#include "setup/common/SetupShortcuts.h"
#include "setup/installer/InstallFileManager.h"
#include "setup/installer/InstallerApp.h"
#include "setup/installer/InstallerTexts.h"
#include "setup/installer/RegistryHandler.h"
#include "shared/contract/InstallLayout.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QVBoxLayout>
#include <QWizard>

namespace {

constexpr int kSyncStartBeats = 6;
constexpr int kSyncStartBeatMs = 500;
constexpr int kRunBeatMs = 50;

const QString kStarterProgram = QStringLiteral("TarnwickPStartSyncServiceLite.exe");
const QString kAdministrationProgram = QStringLiteral("TarnwickPlusLite.exe");

}  // namespace

const QString CFinishPage::kSuccessText = QStringLiteral("Tarnwick Plus Lite installed successfully.");
const QString CFinishPage::kFailureText = QStringLiteral("Problem while installing Tarnwick Plus Lite");

CFinishPage::CFinishPage(CInstallerApp& app, QWidget* parent)
    : CInstallerPage(app, 0, parent),
      m_pProgress(new QProgressBar(this)),
      m_pStatus(new QLabel(QStringLiteral("Installing..."), this)),
      m_pReadme(new QCheckBox(QStringLiteral("Show Readme"), this)),
      m_pStart(new QCheckBox(QStringLiteral("Start the application on setup completion."), this)),
      m_bar(m_pProgress, m_pStatus, &CInstallerApp::PumpWaitingMessages) {
  setTitle(QStringLiteral("Installing Tarnwick Plus Lite"));
  m_pProgress->setObjectName(QStringLiteral("1029"));
  m_pStatus->setObjectName(QStringLiteral("1030"));
  m_pReadme->setObjectName(QStringLiteral("1031"));
  m_pStart->setObjectName(QStringLiteral("1032"));
  m_pStatus->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pProgress);
  layout->addWidget(m_pStatus);
  layout->addStretch();
  layout->addWidget(m_pReadme);
  layout->addWidget(m_pStart);
  setFinalPage(true);
  m_timer.setSingleShot(true);
  m_timer.setInterval(100);
  connect(&m_timer, &QTimer::timeout, this, &CFinishPage::OnInstallTimer);
}

QString CFinishPage::InstallFolder() const {
  const QString folder = App().State().installFolder;
  return folder.endsWith(u'/') ? folder : folder + u'/';
}

void CFinishPage::OnInitDialog() {
  m_bInitialised = true;
  m_pReadme->setChecked(true);
  m_pStart->setChecked(true);
  if (App().State().startLocked == 1) m_pStart->setEnabled(false);
  if (wizard() != nullptr) wizard()->button(QWizard::CancelButton)->setEnabled(false);
  WriteInstallLog(QStringLiteral("SETUP"));
}

void CFinishPage::OnSetActive() {
  if (!m_bInitialised) OnInitDialog();
  if (wizard() != nullptr) {
    wizard()->setButtonLayout({QWizard::Stretch, QWizard::FinishButton, QWizard::CancelButton});
  }
  m_bar.SetPosition(0);
  ShowStatusText(QStringLiteral("Installing....."));
  m_bInstalling = true;
  m_timer.start();
}

bool CFinishPage::isComplete() const { return m_bDone && m_nFailed == 0; }

void CFinishPage::StepProgress(int steps) { m_bar.StepProgress(steps); }

void CFinishPage::SetStatusText(const QString& text) { m_bar.SetStatusText(text); }

void CFinishPage::ShowStatusText(const QString& text) {
  m_bar.SetStatusText(text);
  m_bar.ShowStatusText();
}

void CFinishPage::PumpWaitingMessages() { m_bar.PumpWaitingMessages(); }

void CFinishPage::OnInstallTimer() {
  m_timer.stop();
  m_pProgress->show();
  ShowStatusText(RunInstallSequence());
  EndInstallation();
}

QString CFinishPage::RunInstallSequence() {
  WriteInstallLog(QStringLiteral("Performing offline activities << Start"));
  const int offline = PerformOfflineActivities();
  PumpWaitingMessages();
  StepProgress(5);
  if (offline != 0) {
    WriteInstallLog(QStringLiteral("Problem while performing local setup activities."));
    ShowStatusText(QStringLiteral("Problem while performing local setup activities."));
    m_nFailed = 1;
    return kFailureText;
  }

  WriteInstallLog(QStringLiteral("Performing Install on Admin Service activities << Start"));
  const int admin = PerformAdminInstall();
  PumpWaitingMessages();
  if (admin != 0) {
    const QString text =
        QStringLiteral("Problem while performing Online Admin setup activities. \n\rCancelling Installation... ");
    ShowStatusText(text);
    WriteInstallLog(text);
    // An exchange that did not complete may still have entered the desktop.
    FailAndRollBack(admin == -2);
    return kFailureText;
  }

  SetStatusText(QStringLiteral("Performing online activities..."));
  WriteInstallLog(QStringLiteral("Performing online activities... << Start"));
  StepProgress(10);
  const InstallState& state = App().State();
  CHostedPagesClient pages(HostedPagesOf(state), WriteInstallLog, &m_bar);
  const int online = pages.AddNewDesktopOnline(state.service.desktopName, state.devicePassword, state.service.deviceId,
                                               state.deviceType);
  PumpWaitingMessages();
  StepProgress(10);
  if (online != 0) {
    ShowStatusText(QStringLiteral("Problem while performing local setup activities. \n\rCancelling Installation... "));
    FailAndRollBack(true);
    return kFailureText;
  }

  SetStatusText(QStringLiteral("Installing SyncService..."));
  StartSyncService();
  PumpWaitingMessages();
  if (state.deviceType == installlayout::kPocketPc) {
    const QString folder = InstallFolder() + installlayout::kPocketPcFolder;
    platform::StartDetached(folder + installlayout::kPocketPcSetup, {}, folder);
  }
  SetStatusText(QStringLiteral("Finishing Installation..."));
  m_bar.RunUp(kRunBeatMs);
  return kSuccessText;
}

void CFinishPage::FailAndRollBack(bool withdrawDesktop) {
  if (withdrawDesktop) {
    PerformAdminUninstall();
    PumpWaitingMessages();
  }
  RollbackInstallation();
  PumpWaitingMessages();
  m_bar.RunDown(kRunBeatMs);
  m_nFailed = 1;
}

void CFinishPage::EndInstallation() {
  m_bInstalling = false;
  m_bDone = true;
  Q_EMIT completeChanged();
  if (wizard() != nullptr) wizard()->button(QWizard::CancelButton)->setEnabled(m_nFailed == 1);
  m_pProgress->hide();
}

int CFinishPage::PerformOfflineActivities() {
  const InstallState& state = App().State();
  SetStatusText(QStringLiteral("Copying Files..."));
  InstallFileState files;
  files.payloadFolder = App().PayloadFolder();
  files.installFolder = state.installFolder;
  files.deviceType = state.deviceType;
  files.createFolder = state.createFolder == 1;
  files.deviceId = state.service.deviceId;
  const int folders = GetInstallFileManager()->CreateDirStructure(files);
  StepProgress(10);
  if (folders != 0) {
    WriteInstallLog(QStringLiteral("Failed to create directory structure."));
    return -1;
  }
  const int copied = GetInstallFileManager()->CopyFiles(files, this);
  StepProgress(10);
  if (copied != 0) {
    WriteInstallLog(QStringLiteral("Failed to copy files."));
    return -2;
  }
  installer::InstallSettingsState settings;
  settings.installFolder = state.installFolder;
  settings.connection = state.service.connection;
  settings.webServiceUrl = state.webServiceAddress.toUtf8();
  settings.adminPassword = state.adminPassword.toUtf8();
  settings.desktopName = state.service.desktopName.toUtf8();
  settings.deviceId = state.service.deviceId.toUtf8();
  settings.devicePassword = state.devicePassword.toUtf8();
  settings.deviceType = state.deviceType;
  const int written = installer::GetRegistryHandler()->CreateAppSettings(settings);
  StepProgress(10);
  if (written != 0) {
    WriteInstallLog(QStringLiteral("Failed to create local settings."));
    // InstallationPath may already stand: left alone, both setup programs would refuse the machine.
    RemoveSettings();
    return -2;
  }
  SetStatusText(QStringLiteral("Creating application shortcuts for easy access"));
  CreateAppShortcuts(InstallFolder(), state.deviceType);
  StepProgress(10);
  CreateStartupShortCut(InstallFolder());
  StepProgress(10);
  StepProgress(10);
  return 0;
}

void CFinishPage::RemoveSettings() {
  installer::GetRegistryHandler()->DestroySettings();
  DeleteAddRemoveEntry(WriteInstallLog);
}

int CFinishPage::PerformAdminInstall() {
  const InstallState& state = App().State();
  const CAdminServiceClient client(state.service, WriteInstallLog);
  uint16_t status = 0;
  QString message;
  if (client.InstallAdmin(&status, &message) != 1) {
    WriteInstallLog(QStringLiteral("Problem to Install Desktop on Admin Service. <2>"));
    return -2;
  }
  if (status == 0) {
    WriteInstallLog(QStringLiteral("Successfully Install Desktop on Admin Service."));
    return 0;
  }
  WriteInstallLog(QStringLiteral("Problem to Install Desktop on Admin Service. <1>"));
  WriteInstallLog(message);
  const QString text =
      message.contains(QStringLiteral("already installed"))
          ? QStringLiteral("Desktop Installation for DeviceID \"%1\" already present.").arg(state.service.deviceId)
          : QStringLiteral("Problem to Install Desktop on Admin Service. <1>");
  platform::MessageBox(this, text, QStringLiteral("Tarnwick Plus"), platform::MB_ICONERROR);
  return -1;
}

int CFinishPage::PerformAdminUninstall() {
  const CAdminServiceClient client(App().State().service, WriteInstallLog);
  QString reply;
  if (client.UnInstallAdmin(&reply) != 1) {
    WriteInstallLog(QStringLiteral("Problem to UnInstall Desktop from Admin Service. <2>"));
    return -2;
  }
  if (reply.contains(QStringLiteral("Success"))) {
    WriteInstallLog(QStringLiteral("Successfully UnInstall Desktop from Admin Service."));
    return 0;
  }
  WriteInstallLog(QStringLiteral("Problem to UnInstall Desktop from Admin Service. <1>"));
  WriteInstallLog(reply);
  return -1;
}

void CFinishPage::RollbackInstallation() {
  const uint16_t deviceType = App().State().deviceType;
  StepProgress(-10);
  GetInstallFileManager()->DeleteInstalledFiles(InstallFolder(), deviceType);
  StepProgress(-10);
  installer::GetRegistryHandler()->DestroySettings();
  StepProgress(-10);
  DeleteAppShortcuts(deviceType, WriteInstallLog);
  DeleteStartupShortCut(WriteInstallLog);
  StepProgress(-10);
  DeleteAddRemoveEntry(WriteInstallLog);
}

int CFinishPage::StartSyncService() {
  const QString folder = InstallFolder();
  platform::StartDetached(folder + installlayout::kDesktopFiles + installlayout::ProgramFileName(kStarterProgram), {},
                          folder);
  for (int beat = 0; beat < kSyncStartBeats; ++beat) {
    QThread::msleep(kSyncStartBeatMs);
    StepProgress(5);
    PumpWaitingMessages();
  }
  return 1;
}

void CFinishPage::ShowReadme(const QString& path) {
  if (platform::OpenDocument(path)) return;
  platform::MessageBox(this,
                       QStringLiteral("Unable to open the Readme \"%1\": no program on this computer opens PDF "
                                      "documents. Please install a PDF viewer and open it from the installation folder.")
                           .arg(path),
                       installer::kTitle, platform::MB_ICONWARNING);
}

bool CFinishPage::validatePage() {
  if (m_nFailed != 0) return true;
  const QString desktopFiles = InstallFolder() + installlayout::kDesktopFiles;
  if (m_pReadme->isChecked()) ShowReadme(desktopFiles + installlayout::kReadme);
  if (m_pStart->isChecked()) {
    platform::StartDetached(desktopFiles + installlayout::ProgramFileName(kAdministrationProgram), {}, InstallFolder());
  }
  return true;
}
