#include "admin/shell/ProxyUserPassDlg.h"

#include "admin/foundation/AppLog.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "platform/widgets/MessageBox.h"

#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int kMaxCredentialBytes = 63;

}  // namespace

CProxyUserPassDlg::CProxyUserPassDlg(QWidget* parent)
    : QDialog(parent), m_pUserName(new QLineEdit(this)), m_pPassword(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Proxy Authentication"));
  setFixedSize(340, 140);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  (new QLabel(QStringLiteral("User Name :"), this))->setGeometry(16, 18, 100, 22);
  m_pUserName->setObjectName(QStringLiteral("1055"));
  m_pUserName->setGeometry(120, 18, 204, 24);
  (new QLabel(QStringLiteral("Password :"), this))->setGeometry(16, 56, 100, 22);
  m_pPassword->setObjectName(QStringLiteral("1003"));
  m_pPassword->setEchoMode(QLineEdit::Password);
  m_pPassword->setGeometry(120, 56, 204, 24);
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(154, 100, 80, 26);
  ok->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(244, 100, 80, 26);
  connect(ok, &QPushButton::clicked, this, &CProxyUserPassDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  m_pUserName->setFocus();
}

// Each text fills a 64-byte field with its terminating zero: a longer one is refused, never cut.
void CProxyUserPassDlg::OnOK() {
  if (m_pUserName->text().toUtf8().size() > kMaxCredentialBytes ||
      m_pPassword->text().toUtf8().size() > kMaxCredentialBytes) {
    platform::MessageBox(this, QStringLiteral("Proxy User Name or Password is too long."), ProgramTitle(),
                         platform::MB_ICONINFORMATION);
    return;
  }
  m_strUserName = m_pUserName->text();
  m_strPassword = m_pPassword->text();
  accept();
}
