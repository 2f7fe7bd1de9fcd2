#include "setup/installer/ProxySettingsPage.h"

#include "admin/shell/ProxyUserPassDlg.h"
#include "platform/widgets/MessageBox.h"
#include "setup/common/AdminOperation.h"
#include "setup/common/ServiceCheck.h"
#include "setup/common/SetupLog.h"
#include "setup/common/SetupSystem.h"
#include "setup/installer/InstallerApp.h"
#include "setup/installer/InstallerTexts.h"
#include "setup/installer/TextLimit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include <algorithm>

using namespace installer;

namespace {

constexpr int kTestStage = 15;
constexpr int kProxyAuthenticationRequired = 407;

// The port as typed: digits only, 1 to 65535.
bool ParsePort(const QString& text, uint16_t* port) {
  if (text.isEmpty() || !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
    return false;
  }
  bool ok = false;
  const uint value = text.toUInt(&ok);
  if (!ok || value < 1 || value > 65535) return false;
  *port = static_cast<uint16_t>(value);
  return true;
}

}  // namespace

CProxySettingsPage::CProxySettingsPage(CInstallerApp& app, QWidget* parent)
    : CInstallerPage(app, 0, parent),
      m_pProgress(new QProgressBar(this)),
      m_pStatus(new QLabel(this)),
      m_bar(m_pProgress, m_pStatus, &CInstallerApp::PumpWaitingMessages),
      m_pUseProxy(new QCheckBox(QStringLiteral("Use Proxy Server"), this)),
      m_pHost(new QLineEdit(this)),
      m_pPort(new QLineEdit(this)),
      m_pHostLabel(new QLabel(QStringLiteral("Proxy Server IP Address"), this)),
      m_pPortLabel(new QLabel(QStringLiteral("Proxy Server Port"), this)),
      m_pNote(new QLabel(QStringLiteral("Enter the address and port of the proxy server your browser uses."), this)),
      m_pTest(new QPushButton(QStringLiteral("Test Connection"), this)),
      m_pGroup(new QGroupBox(QStringLiteral("Proxy Settings"), this)) {
  setTitle(QStringLiteral("Internet Connection"));
  m_pProgress->setObjectName(QStringLiteral("1043"));
  m_pStatus->setObjectName(QStringLiteral("1044"));
  m_pUseProxy->setObjectName(QStringLiteral("1040"));
  m_pHost->setObjectName(QStringLiteral("1036"));
  m_pPort->setObjectName(QStringLiteral("1042"));
  m_pHostLabel->setObjectName(QStringLiteral("1045"));
  m_pPortLabel->setObjectName(QStringLiteral("1046"));
  m_pNote->setObjectName(QStringLiteral("1047"));
  m_pTest->setObjectName(QStringLiteral("1033"));
  m_pGroup->setObjectName(QStringLiteral("1049"));
  m_pNote->setWordWrap(true);
  LimitUtf8Bytes(m_pHost, kMaxProxyHostBytes);

  auto* groupLayout = new QGridLayout(m_pGroup);
  groupLayout->addWidget(m_pUseProxy, 0, 0, 1, 2);
  groupLayout->addWidget(m_pHostLabel, 1, 0);
  groupLayout->addWidget(m_pHost, 1, 1);
  groupLayout->addWidget(m_pPortLabel, 2, 0);
  groupLayout->addWidget(m_pPort, 2, 1);
  groupLayout->addWidget(m_pNote, 3, 0, 1, 2);
  groupLayout->addWidget(m_pTest, 4, 1, Qt::AlignRight);
  auto* layout = new QGridLayout(this);
  layout->addWidget(m_pProgress, 0, 0);
  layout->addWidget(m_pStatus, 1, 0);
  layout->addWidget(m_pGroup, 2, 0);
  layout->setRowStretch(3, 1);

  m_timer.setSingleShot(true);
  m_timer.setInterval(100);
  connect(&m_timer, &QTimer::timeout, this, &CProxySettingsPage::OnConnectionTimer);
  connect(m_pUseProxy, &QCheckBox::toggled, this, &CProxySettingsPage::OnUseProxy);
  connect(m_pTest, &QPushButton::clicked, this, &CProxySettingsPage::OnTestConnection);

  WriteInstallLog(QStringLiteral("Connection Checking Started..."));
  for (QWidget* widget : ProxyControls()) widget->hide();
  for (QWidget* widget : {static_cast<QWidget*>(m_pHost), static_cast<QWidget*>(m_pPort),
                          static_cast<QWidget*>(m_pUseProxy), static_cast<QWidget*>(m_pTest)}) {
    widget->setEnabled(false);
  }
  SetDirectRecord();
}

QString CProxySettingsPage::StatusText() const { return m_bar.StatusText(); }

void CProxySettingsPage::SetStatus(const QString& text) {
  m_bar.SetStatusText(text);
  m_bar.ShowStatusText();
}

void CProxySettingsPage::OnSetActive() {
  m_bar.SetPosition(0);
  SetStatus(kCheckingStatus);
  m_timer.start();
}

void CProxySettingsPage::StepBar(int steps) {
  m_bar.StepProgress(steps);
  m_bar.PumpWaitingMessages();
}

void CProxySettingsPage::FillBar() {
  const int step = std::max(1, m_bar.Position() / 3);
  while (m_bar.Position() + step < SetupProgressBar::kMaximum) {
    QThread::msleep(50);
    m_bar.SetPosition(m_bar.Position() + step);
    m_bar.PumpWaitingMessages();
  }
  m_bar.SetPosition(SetupProgressBar::kMaximum);
}

void CProxySettingsPage::SetDirectRecord() { m_record = ConnSettings{}; }

void CProxySettingsPage::SetProxyRecord() {
  uint16_t port = 0;
  ParsePort(m_pPort->text(), &port);
  m_record = ConnSettings{};
  m_record.useProxy = 1;
  m_record.proxyServer = m_pHost->text().toUtf8();
  m_record.proxyPort = port;
  m_record.proxyUser = m_strProxyUser.toUtf8();
  m_record.proxyPassword = m_strProxyPassword.toUtf8();
}

int CProxySettingsPage::RunTest(bool post, bool viaProxy, uint32_t* status) {
  const AdminEndpoint& endpoint = State().service.adminService;
  ServiceCheck check;
  check.mark =
      (post ? QStringLiteral("Type 2") : QStringLiteral("Type 1")) + (viaProxy ? QStringLiteral(":P") : QString());
  check.tag = post ? QStringLiteral("<TestPostDataAdminServiceCall>") : QStringLiteral("<TestGetDataAdminServiceCall>");
  check.post = post;
  check.host = endpoint.host;
  check.port = endpoint.port;
  check.object = post ? endpoint.path : endpoint.path + QStringLiteral("/GetDataTest");
  if (post) check.body = AdminGetDataTestBody();
  if (viaProxy) {
    check.useProxy = true;
    check.proxyName = m_pHost->text() + u':' + m_pPort->text();
    check.proxyUser = m_strProxyUser;
    check.proxyPassword = m_strProxyPassword;
  }
  check.stageDone = [this] { StepBar(kTestStage); };
  return RunServiceCheck(check, WriteInstallLog, status);
}

void CProxySettingsPage::OnConnectionTimer() {
  WriteInstallLog(QStringLiteral("<OT> Checking internet connection <1>"));
  StepBar(5);
  uint32_t status = 0;
  const bool getPassed = RunTest(false, false, &status) == 1;
  StepBar(5);
  bool passed = false;
  if (getPassed) {
    passed = RunTest(true, false, &status) == 1;
    if (!passed) {
      WriteInstallLog(QStringLiteral("<OT> Fail to Connect <Type 2> : %1").arg(status));
      SetStatus(kConnectionProblemStatus);
      platform::MessageBox(this, kUseProxyBox, kTitle, platform::MB_ICONINFORMATION);
    }
  } else {
    WriteInstallLog(QStringLiteral("<OT> Fail to Connect <Type 1> : %1").arg(status));
    StepBar(10);
  }
  FillBar();
  if (!passed) {
    WriteInstallLog(QStringLiteral("<OT> Connection Test Failed <D>."));
    SetStatus(kConnectionProblemStatus);
    ShowProxyControls();
    return;
  }
  m_bConnected = true;
  WriteInstallLog(QStringLiteral("<OT> Connection Test Successfull."));
  SetDirectRecord();
  SetStatus(kConnectedStatus);
}

QList<QWidget*> CProxySettingsPage::ProxyControls() const {
  return {m_pUseProxy, m_pNote, m_pHostLabel, m_pPortLabel, m_pHost, m_pPort, m_pTest, m_pGroup};
}

void CProxySettingsPage::ShowProxyControls() {
  for (QWidget* widget : ProxyControls()) widget->show();
  m_pUseProxy->setEnabled(true);
}

void CProxySettingsPage::OnUseProxy(bool checked) {
  m_pHost->setEnabled(checked);
  m_pPort->setEnabled(checked);
  m_pTest->setEnabled(checked);
  if (!checked) return;
  const QString proxy = GetIEProxyServer();
  const qsizetype colon = proxy.indexOf(u':');
  // Without a ":" the whole setting lands in the port, as it always has.
  m_pHost->setText(colon < 0 ? QString() : proxy.left(colon));
  m_pPort->setText(colon < 0 ? proxy : proxy.mid(colon + 1));
}

CProxySettingsPage::ProxyResult CProxySettingsPage::RunProxyRequest(bool post, const QString& authLog) {
  for (;;) {
    uint32_t status = 0;
    if (RunTest(post, true, &status) == 1) return ProxyResult::Success;
    if (status != kProxyAuthenticationRequired) return ProxyResult::Failed;
    WriteInstallLog(authLog);
    CProxyUserPassDlg credentials(this);
    if (credentials.exec() != QDialog::Accepted) return ProxyResult::Cancelled;
    m_strProxyUser = credentials.GetUserName();
    m_strProxyPassword = credentials.GetPassword();
  }
}

CProxySettingsPage::ProxyResult CProxySettingsPage::RunProxyTest(const AuthLogs& logs) {
  const ProxyResult get = RunProxyRequest(false, logs.get);
  if (get != ProxyResult::Success) return get;
  return RunProxyRequest(true, logs.post);
}

void CProxySettingsPage::OnTestConnection() {
  WriteInstallLog(QStringLiteral("<OTC> Started..."));
  uint16_t port = 0;
  if (m_pHost->text().isEmpty()) {
    platform::MessageBox(this, QStringLiteral("Please enter Proxy Server IP Address."), kTitle,
                         platform::MB_ICONINFORMATION);
    return;
  }
  if (!ParsePort(m_pPort->text(), &port)) {
    platform::MessageBox(this, QStringLiteral("Please enter Proxy Server Port."), kTitle, platform::MB_ICONINFORMATION);
    return;
  }
  m_bar.SetPosition(0);
  SetStatus(kCheckingStatus);
  const ProxyResult result =
      RunProxyTest({QStringLiteral("<OTC> Auth required <1>."), QStringLiteral("<OTC> Auth required <2>.")});
  if (result == ProxyResult::Success) {
    FillBar();
    WriteInstallLog(QStringLiteral("<OTC> Connection Test  Successfull."));
    SetStatus(kConnectedStatus);
    m_bConnected = true;
    SetProxyRecord();
    return;
  }
  if (result == ProxyResult::Cancelled) {
    m_bar.SetPosition(SetupProgressBar::kMaximum);
    SetStatus(kConnectionProblemStatus);
    return;
  }
  FillBar();
  SetStatus(kConnectionProblemStatus);
  platform::MessageBox(this, kConnectionProblemBox, kTitle, platform::MB_ICONINFORMATION);
}

bool CProxySettingsPage::DirectTests(const QString& logPrefix) {
  uint32_t status = 0;
  if (RunTest(false, false, &status) != 1) {
    WriteInstallLog(logPrefix + QStringLiteral(" Fail to Connect <Type 1> : %1").arg(status));
    return false;
  }
  if (RunTest(true, false, &status) != 1) {
    WriteInstallLog(logPrefix + QStringLiteral(" Fail to Connect <Type 2> : %1").arg(status));
    return false;
  }
  return true;
}

bool CProxySettingsPage::CheckInternetConnection() {
  WriteInstallLog(QStringLiteral("<CI> Started..."));
  m_bar.SetPosition(0);
  SetStatus(kCheckingStatus);
  if (DirectTests(QStringLiteral("<CI>"))) {
    m_bConnected = true;
    SetDirectRecord();
    return true;
  }
  uint16_t port = 0;
  if (m_pUseProxy->isChecked() && !m_pHost->text().isEmpty() && ParsePort(m_pPort->text(), &port) &&
      RunProxyTest({QStringLiteral("<CI> Auth required. <1>"), QStringLiteral("<CI> Auth required.<2>")}) ==
          ProxyResult::Success) {
    m_bConnected = true;
    SetProxyRecord();
    return true;
  }
  m_bConnected = false;
  SetStatus(kConnectionProblemStatus);
  return false;
}

bool CProxySettingsPage::validatePage() {
  WriteInstallLog(QStringLiteral("<ON> Started..."));
  if (StatusText().contains(kCheckingConnection)) {
    WriteInstallLog(QStringLiteral("<ON> Connection Test in progress..."));
    return false;
  }
  if (m_bConnected) {
    State().service.connection = m_record;
    return true;
  }
  m_bar.SetPosition(0);
  SetStatus(kCheckingStatus);
  WriteInstallLog(QStringLiteral("<ON> Checking Connection <1>"));
  if (CheckInternetConnection()) {
    WriteInstallLog(QStringLiteral("<ON> Connection Test successfull<1>."));
    SetStatus(kConnectedStatus);
    State().service.connection = m_record;
    return true;
  }
  WriteInstallLog(QStringLiteral("<ON> Connection Test Failed <1>."));
  FillBar();
  SetStatus(kConnectionProblemStatus);
  platform::MessageBox(this, kConnectionProblemBox, kTitle, platform::MB_ICONINFORMATION);
  return false;
}
