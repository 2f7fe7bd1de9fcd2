#include "admin/shell/SetAdministrativePasswordDlg.h"

#include "admin/foundation/AppLog.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "platform/widgets/MessageBox.h"

#include <QLabel>
#include <QLineEdit>

CSetAdministrativePasswordDlg::CSetAdministrativePasswordDlg(QWidget* parent)
    : QDialog(parent), m_pPassword(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Set Administrative Password"));
  setFixedSize(380, 150);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  AddFrame(this, QString(), QRect(10, 8, 360, 86));
  auto* label = new QLabel(QStringLiteral("Enter Administrative Password :"), this);
  label->setGeometry(24, 24, 330, 20);
  m_pPassword->setObjectName(QStringLiteral("1055"));
  m_pPassword->setEchoMode(QLineEdit::Password);
  m_pPassword->setGeometry(24, 50, 330, 24);
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(196, 108, 80, 26);
  ok->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(286, 108, 80, 26);
  connect(ok, &QPushButton::clicked, this, &CSetAdministrativePasswordDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  m_pPassword->setFocus();
}

void CSetAdministrativePasswordDlg::OnOK() {
  m_strPassword = m_pPassword->text();
  if (m_strPassword.size() >= 6) {
    accept();
    return;
  }
  platform::MessageBox(this, QStringLiteral("Password must have atleast 6 characters."), ProgramTitle(),
                       platform::MB_ICONERROR);
}
