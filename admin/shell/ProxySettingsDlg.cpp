#include "admin/shell/ProxySettingsDlg.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/WebServiceTest.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/ProxyUserPassDlg.h"
#include "platform/widgets/MessageBox.h"
#include "shared/RegistryHandler.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

constexpr uint32_t kProxyAuthenticationRequired = 407;
constexpr int kMaxAddressBytes = 127;  // the 128-byte field keeps its terminating zero

QString ProblemText() { return QStringLiteral("Problem in internet connection, please check your internet settings."); }

}  // namespace

CProxySettingsDlg::CProxySettingsDlg(QWidget* parent)
    : QDialog(parent),
      m_pUseProxy(new QCheckBox(QStringLiteral("Use Proxy Server"), this)),
      m_pAddress(new QLineEdit(this)),
      m_pPort(new QLineEdit(this)),
      m_pTest(new CBMButton(QStringLiteral("Test Connection"), this)) {
  setWindowTitle(QStringLiteral("Connection Settings"));
  setFixedSize(468, 270);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  AddFrame(this, QStringLiteral("1182"), QRect(10, 8, 448, 206), QStringLiteral("Proxy Settings"));
  auto* hint = new QLabel(QStringLiteral("If you are using Proxy Server then select \"Use Proxy Server\" Options."), this);
  hint->setWordWrap(true);
  hint->setGeometry(26, 32, 416, 36);
  m_pUseProxy->setObjectName(QStringLiteral("1183"));
  m_pUseProxy->setGeometry(26, 74, 300, 22);
  (new QLabel(QStringLiteral("Proxy Server IP Address  :"), this))->setGeometry(26, 110, 200, 22);
  m_pAddress->setObjectName(QStringLiteral("1055"));
  m_pAddress->setGeometry(230, 110, 212, 24);
  (new QLabel(QStringLiteral("Proxy Server Port :"), this))->setGeometry(26, 146, 200, 22);
  m_pPort->setObjectName(QStringLiteral("1185"));
  m_pPort->setGeometry(230, 146, 100, 24);
  m_pPort->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_pPort));
  m_pTest->setObjectName(QStringLiteral("1153"));
  m_pTest->setGeometry(300, 176, 142, 26);
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(288, 228, 80, 26);
  ok->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(378, 228, 80, 26);
  connect(m_pUseProxy, &QCheckBox::clicked, this, &CProxySettingsDlg::OnBnClickedUseProxyServer);
  connect(m_pTest, &QPushButton::clicked, this, &CProxySettingsDlg::OnBnClickedTestConnection);
  connect(ok, &QPushButton::clicked, this, &CProxySettingsDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  OnInitDialog();
  connect(m_pAddress, &QLineEdit::textChanged, this, &CProxySettingsDlg::OnEditProxy);
  connect(m_pPort, &QLineEdit::textChanged, this, &CProxySettingsDlg::OnEditProxy);
}

void CProxySettingsDlg::OnInitDialog() {
  if (GetRegistryHandler()->ReadConnSettings(&m_stored) != 0) {
    m_stored = ConnSettings();
    WriteAppLog(1, QStringLiteral("<CProxySettingsDlg::OnInitDialog> Failed to Get Connection Settings."));
  }
  m_pUseProxy->setChecked(m_stored.useProxy == 1);
  EnableProxyControls(m_stored.useProxy);
  m_pAddress->setText(QString::fromUtf8(m_stored.proxyServer));
  m_pPort->setText(QString::number(m_stored.proxyPort));
}

void CProxySettingsDlg::EnableProxyControls(int flag) {
  if (flag != 0 && flag != 1) return;
  m_pAddress->setEnabled(flag == 1);
  m_pPort->setEnabled(flag == 1);
  m_pTest->setEnabled(flag == 1);
}

void CProxySettingsDlg::OnBnClickedUseProxyServer() { EnableProxyControls(m_pUseProxy->isChecked() ? 1 : 0); }

void CProxySettingsDlg::OnBnClickedTestConnection() { TestInternetConnection(); }

// What OK stores is what is shown: a changed address or port has to be tested again.
void CProxySettingsDlg::OnEditProxy() { m_nTested = 0; }

void CProxySettingsDlg::Inform(const QString& text) {
  platform::MessageBox(this, text, ProgramTitle(), platform::MB_ICONINFORMATION);
}

bool CProxySettingsDlg::ReadProxyEdits(QString* address, QString* port) {
  *address = m_pAddress->text();
  *port = m_pPort->text();
  bool number = false;
  const uint value = port->toUInt(&number);
  if (address->isEmpty()) {
    Inform(QStringLiteral("Please enter Proxy Server IP Address."));
  } else if (port->isEmpty()) {
    Inform(QStringLiteral("Please enter Proxy Server Port."));
  } else if (address->toUtf8().size() > kMaxAddressBytes) {
    Inform(QStringLiteral("Proxy Server IP Address is too long."));
  } else if (!number || value < 1 || value > 65535) {
    Inform(QStringLiteral("Please enter a valid Proxy Server Port (1-65535)."));
  } else {
    return true;
  }
  return false;
}

int CProxySettingsDlg::TestInternetConnection() {
  QString address;
  QString port;
  if (!ReadProxyEdits(&address, &port)) return 0;
  if (address == QString::fromUtf8(m_stored.proxyServer) && port == QString::number(m_stored.proxyPort)) {
    m_strProxyUser = QString::fromUtf8(m_stored.proxyUser);
    m_strProxyPassword = QString::fromUtf8(m_stored.proxyPassword);
  }
  const QString proxy = address + u':' + port;
  if (!PassStep(Step::Get, proxy) || !PassStep(Step::Post, proxy)) return 0;
  platform::MessageBox(this, QStringLiteral("Successfully connected to internet."), ProgramTitle(), platform::MB_OK);
  m_nTested = 1;
  m_strTestedAddress = address;
  m_strTestedPort = port;
  return 1;
}

bool CProxySettingsDlg::PassStep(Step step, const QString& proxy) {
  for (;;) {
    uint32_t status = 0;
    const int result =
        step == Step::Get
            ? TestGetDataWebServiceCallWithProxy(GetAppLog(), proxy, m_strProxyUser, m_strProxyPassword, &status)
            : TestPostDataWebServiceCallWithProxy(GetAppLog(), proxy, m_strProxyUser, m_strProxyPassword, &status);
    if (result == 1) return true;
    m_nTested = 0;
    if (status != kProxyAuthenticationRequired || !AskProxyCredentials()) {
      Inform(ProblemText());
      return false;
    }
  }
}

bool CProxySettingsDlg::AskProxyCredentials() {
  CProxyUserPassDlg prompt(this);
  if (prompt.exec() != QDialog::Accepted) return false;
  m_strProxyUser = prompt.GetUserName();
  m_strProxyPassword = prompt.GetPassword();
  return true;
}

void CProxySettingsDlg::OnOK() {
  if (m_pUseProxy->isChecked()) {
    StoreTestedProxy();
  } else {
    StoreProxyOff();
  }
}

void CProxySettingsDlg::StoreTestedProxy() {
  if (m_nTested == 0) {
    TestInternetConnection();
    if (m_nTested != 1) return;
    WriteAppLog(2, QStringLiteral("<CProxySettingsDlg::OnOK> Successfully connected to internet."));
  }
  ConnSettings record;
  record.proxyServer = m_strTestedAddress.toUtf8();
  record.proxyPort = static_cast<int32_t>(m_strTestedPort.toUInt());
  record.proxyUser = m_strProxyUser.toUtf8();
  record.proxyPassword = m_strProxyPassword.toUtf8();
  record.useProxy = 1;
  Store(record, 3);
}

void CProxySettingsDlg::StoreProxyOff() {
  if (m_stored.useProxy == 0) {
    accept();
    return;
  }
  ConnSettings record = m_stored;
  record.useProxy = 0;
  Store(record, 1);
}

void CProxySettingsDlg::Store(const ConnSettings& record, int failureLocation) {
  if (GetRegistryHandler()->WriteConnSettings(record) == 0) {
    accept();
    return;
  }
  Inform(ProblemText());
  WriteAppLog(failureLocation, QStringLiteral("<CProxySettingsDlg::OnOK> Failed to Set Connection Settings."));
}
