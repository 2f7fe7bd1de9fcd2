#include "admin/shell/TarnwickOptionsDlg.h"

#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/SyncControl.h"
#include "admin/foundation/WebServiceTest.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ChangePasswordDlg.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/ManageSynchronizationDlg.h"
#include "admin/shell/ProxySettingsDlg.h"
#include "admin/shell/SetAdministrativePasswordDlg.h"
#include "admin/shell/SetUserPasswordDlg.h"
#include "admin/shell/SyncMessages.h"
#include "admin/shell/SystemSyncControl.h"
#include "admin/shell/TarnwickApp.h"
#include "platform/widgets/MessageBox.h"
#include "shared/RegistryHandler.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

QString SetPasswordText() { return QStringLiteral("Set Password"); }
QString ChangePasswordText() { return QStringLiteral("Change Password"); }

QGroupBox* AddGroup(QWidget* parent, const QString& title, const QString& id, const QRect& place) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(id);
  group->setGeometry(place);
  return group;
}

bool AdministratorPasswordStored() {
  QString password;
  return GetRegistryHandler()->ReadAdminPassword(&password) == 1 && !password.isEmpty();
}

}  // namespace

CTarnwickOptionsDlg::CTarnwickOptionsDlg(QWidget* parent, std::unique_ptr<SyncControlPort> port)
    : QDialog(parent, Qt::Widget), m_pPort(port ? std::move(port) : std::make_unique<SystemSyncControl>(this)) {
  setObjectName(QStringLiteral("Preferences"));
  resize(760, 400);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  CreateVisibleControls();
  CreateHiddenControls();
  OnInitDialog();
}

CTarnwickOptionsDlg::~CTarnwickOptionsDlg() = default;

CBMButton* CTarnwickOptionsDlg::AddButton(const QString& text, const QString& id, const QRect& place) {
  auto* button = new CBMButton(text, this);
  button->setObjectName(id);
  button->setGeometry(place);
  return button;
}

void CTarnwickOptionsDlg::CreateVisibleControls() {
  AddGroup(this, QStringLiteral("Manage Administrative Password"), QStringLiteral("1161"), QRect(10, 6, 740, 86));
  m_pPassword = AddButton(SetPasswordText(), QStringLiteral("1162"), QRect(30, 40, 220, 30));
  AddGroup(this, QStringLiteral("Manage Synchronization"), QStringLiteral("1111"), QRect(10, 104, 740, 86));
  m_pStartSync = AddButton(syncmessages::StartCaption(), QStringLiteral("1160"), QRect(30, 138, 220, 30));
  auto* settings = AddButton(QStringLiteral("Synchronization Settings"), QStringLiteral("1187"), QRect(270, 138, 220, 30));
  AddGroup(this, QStringLiteral("Internet Connection Settings"), QStringLiteral("1179"), QRect(10, 202, 740, 112));
  auto* hint = new QLabel(QStringLiteral("Configure how Tarnwick Plus Lite Connects to the Internet "), this);
  hint->setObjectName(QStringLiteral("1181"));
  hint->setGeometry(30, 230, 700, 22);
  auto* connection = AddButton(QStringLiteral("Connection Settings"), QStringLiteral("1175"), QRect(30, 266, 220, 30));
  connect(m_pPassword, &QPushButton::clicked, this, &CTarnwickOptionsDlg::OnBnClickedSetPassword);
  connect(m_pStartSync, &QPushButton::clicked, this, &CTarnwickOptionsDlg::OnBnClickedStartSynchronization);
  connect(settings, &QPushButton::clicked, this, &CTarnwickOptionsDlg::OnBnClickedSynchronizationSettings);
  connect(connection, &QPushButton::clicked, this, &CTarnwickOptionsDlg::OnBnClickedConnectionSettings);
}

// Controls of the template that nothing shows; each keeps its handler.
void CTarnwickOptionsDlg::CreateHiddenControls() {
  auto* userPassword = AddButton(QStringLiteral("Set User Password"), QStringLiteral("1086"), QRect(30, 345, 200, 30));
  auto* deleteProfiles = AddButton(QStringLiteral("Delete All Profiles"), QStringLiteral("1095"), QRect(280, 345, 200, 30));
  m_pStartConnector = AddButton(QStringLiteral("Start"), QStringLiteral("1112"), QRect(520, 320, 70, 30));
  m_pStopConnector = AddButton(QStringLiteral("Stop"), QStringLiteral("1113"), QRect(600, 320, 70, 30));
  m_pRestartConnector = AddButton(QStringLiteral("Restart"), QStringLiteral("1114"), QRect(680, 320, 70, 30));
  m_pStatus = new QLabel(this);
  m_pStatus->setObjectName(QStringLiteral("1115"));
  m_pStatus->setGeometry(520, 360, 230, 22);
  m_pUrl = new QLineEdit(this);
  m_pUrl->setObjectName(QStringLiteral("1055"));
  m_pUrl->setGeometry(270, 30, 300, 24);
  auto* example = new QLabel(QStringLiteral("e.g. http://www.example.com/TarnwickService/"), this);
  example->setObjectName(QStringLiteral("1131"));
  example->setGeometry(270, 60, 280, 22);
  m_pSaveUrl = AddButton(QStringLiteral("Save"), QStringLiteral("1130"), QRect(560, 58, 80, 26));
  auto* testUrl = AddButton(QStringLiteral("Test Web Service"), QStringLiteral("1153"), QRect(580, 30, 160, 26));
  const QList<QWidget*> hidden = {
      AddGroup(this, QString(), QStringLiteral("1085"), QRect(10, 320, 240, 70)),
      AddGroup(this, QString(), QStringLiteral("1087"), QRect(260, 320, 240, 70)),
      AddGroup(this, QStringLiteral("Set Web Service Location"), QStringLiteral("1129"), QRect(260, 6, 490, 86)),
      userPassword, deleteProfiles, m_pStartConnector, m_pStopConnector, m_pRestartConnector, m_pStatus, m_pUrl,
      example, m_pSaveUrl, testUrl};
  for (QWidget* control : hidden) control->hide();
  connect(userPassword, &QPushButton::clicked, this, &CTarnwickOptionsDlg::OnBnClickedSetUserPassword);
  connect(deleteProfiles, &QPushButton::clicked, this, &CTarnwickOptionsDlg::OnBnClickedDeleteAllProfiles);
  connect(m_pStartConnector, &QPushButton::clicked, this, &CTarnwickOptionsDlg::OnBnClickedStartConnectorService);
  connect(m_pStopConnector, &QPushButton::clicked, this, &CTarnwickOptionsDlg::OnBnClickedStopConnectorService);
  connect(m_pRestartConnector, &QPushButton::clicked, this, &CTarnwickOptionsDlg::OnBnClickedRestartConnectorService);
  connect(m_pSaveUrl, &QPushButton::clicked, this, &CTarnwickOptionsDlg::OnBnClickedSaveWebServiceUrl);
  connect(testUrl, &QPushButton::clicked, this, &CTarnwickOptionsDlg::OnBnClickedTestWebService);
  connect(m_pUrl, &QLineEdit::textChanged, this, &CTarnwickOptionsDlg::OnEnChangeWebServiceUrl);
}

void CTarnwickOptionsDlg::OnInitDialog() {
  SyncStatusView view{QString(), m_pStartSync->text()};
  SyncToggle(*m_pPort).ReadState(true, &view);
  ShowSyncState(view);
  m_pPassword->setText(AdministratorPasswordStored() ? ChangePasswordText() : SetPasswordText());
}

void CTarnwickOptionsDlg::ShowSyncState(const SyncStatusView& view) {
  m_strSyncStatus = view.status;
  m_pStatus->setText(view.status);
  m_pStartSync->setText(view.buttonText);
}

// Enter does not close the module.
void CTarnwickOptionsDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(event);
}

int CTarnwickOptionsDlg::Box(const QString& text, unsigned type) {
  return platform::MessageBox(this, text, ProgramTitle(), type);
}

void CTarnwickOptionsDlg::OnBnClickedStartSynchronization() {
  SyncStatusView view{m_strSyncStatus, m_pStartSync->text()};
  SyncToggle(*m_pPort).Toggle(&view);
  ShowSyncState(view);
}

void CTarnwickOptionsDlg::OnBnClickedSetPassword() {
  if (m_pPassword->text() != SetPasswordText()) {
    ChangeAdministratorPassword(this);
    return;
  }
  CSetAdministrativePasswordDlg dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (SetAdminPassword(dialog.GetPassword()) != 1) {
    Box(QStringLiteral("Failed to Set Administrator's Password, Please Try Again !"), platform::MB_ICONERROR);
    return;
  }
  Box(QStringLiteral("Administrator's Password Set Successfully."), platform::MB_OK);
  m_pPassword->setText(ChangePasswordText());
}

void CTarnwickOptionsDlg::OnBnClickedConnectionSettings() {
  CProxySettingsDlg dialog(this);
  dialog.exec();
}

void CTarnwickOptionsDlg::OnBnClickedSynchronizationSettings() {
  CManageSynchronizationDlg dialog(*m_pPort, this);
  if (dialog.exec() != QDialog::Accepted) return;
  SyncStatusView view{m_strSyncStatus, m_pStartSync->text()};
  SyncToggle(*m_pPort).ReadState(false, &view);
  ShowSyncState(view);
}

void CTarnwickOptionsDlg::OnBnClickedSetUserPassword() {
  WriteAppLog(66, QStringLiteral("Set Device User Password Call Start."));
  if (CTarnwickApp* app = GetTarnwickApp()) {
    SetUserPasswordDlg dialog(app->GetSettingsConnection(), this);
    dialog.exec();
  }
  WriteAppLog(74, QStringLiteral("Set Device User Password Call End."));
}

void CTarnwickOptionsDlg::OnBnClickedDeleteAllProfiles() {
  WriteAppLog(67, QStringLiteral("Set Delete All Profiles Call Start."));
  WriteAppLog(75, QStringLiteral("Set Delete all Profile Call End."));
}

void CTarnwickOptionsDlg::SetConnectorButtons(bool running, const QString& status) {
  m_pStartConnector->setEnabled(!running);
  m_pStopConnector->setEnabled(running);
  m_pRestartConnector->setEnabled(running);
  m_pStatus->setText(status);
}

void CTarnwickOptionsDlg::OnBnClickedStartConnectorService() {
  const int result = StartWindowsService(kConnectorServiceName);
  if (result != 1) {
    WriteAppLog(-1, QStringLiteral("Problem in starting TarnwickConnectorService: %1").arg(result));
    Box(QStringLiteral("Unable to start TarnwickConnectorService. Contact %1 for more information.").arg(SupportAddress()),
        platform::MB_ICONERROR);
    return;
  }
  SetConnectorButtons(true, QStringLiteral("TarnwickConnectorService is Started."));
  Box(QStringLiteral("TarnwickConnectorService Started Successfully."), platform::MB_OK);
}

void CTarnwickOptionsDlg::OnBnClickedStopConnectorService() {
  if (Box(QStringLiteral("If TarnwickConnectorService stopped data will not sync with BlackBerry. Do you want to stop "
                         "service ?"),
          platform::MB_YESNO) != platform::IDYES)
    return;
  const int result = StopWindowsService(kConnectorServiceName);
  if (result != 1) {
    WriteAppLog(-1, QStringLiteral("Problem in stoping TarnwickConnectorService: %1").arg(result));
    Box(QStringLiteral("Unable to stop TarnwickConnectorService. Contact %1 for more information.").arg(SupportAddress()),
        platform::MB_ICONERROR);
    return;
  }
  SetConnectorButtons(false, QStringLiteral("TarnwickConnectorService is Stopped."));
  Box(QStringLiteral("TarnwickConnectorService stopped successfully."), platform::MB_OK);
}

void CTarnwickOptionsDlg::OnBnClickedRestartConnectorService() {
  if (RestartConnectorService() == 1) {
    Box(QStringLiteral("TarnwickConnectorService Restarted Successfully."), platform::MB_OK);
  } else {
    Box(QStringLiteral("Unable to restart TarnwickConnectorService. Contact %1 for more information.").arg(SupportAddress()),
        platform::MB_ICONERROR);
  }
}

bool CTarnwickOptionsDlg::ReadWebServiceUrl(QString* url) {
  *url = m_pUrl->text().trimmed();
  if (!url->isEmpty()) return true;
  Box(QStringLiteral("Web Service URL should not empty, Please specify URL ?"), platform::MB_ICONINFORMATION);
  return false;
}

void CTarnwickOptionsDlg::OnBnClickedTestWebService() {
  QString url;
  if (!ReadWebServiceUrl(&url)) return;
  if (TestWebService(GetAppLog(), url) == 1) {
    Box(QStringLiteral("Successfully Test Web Service URL."), platform::MB_OK);
  } else {
    Box(QStringLiteral("Failed to Test Web Service URL."), platform::MB_ICONERROR);
  }
}

void CTarnwickOptionsDlg::OnBnClickedSaveWebServiceUrl() {
  QString url;
  if (!ReadWebServiceUrl(&url)) return;
  if (TestWebService(GetAppLog(), url) != 1) {
    Box(QStringLiteral("Failed to Test Web Service URL."), platform::MB_ICONERROR);
    return;
  }
  if (SetWebServiceURL(url) != 1) return;
  m_strLastSavedUrl = url;
  m_pSaveUrl->setEnabled(false);
}

void CTarnwickOptionsDlg::OnEnChangeWebServiceUrl() {
  m_pSaveUrl->setEnabled(m_pUrl->text().trimmed() != m_strLastSavedUrl);
}
