#include "admin/shell/ChangePasswordDlg.h"

#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/AppLog.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "platform/widgets/MessageBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

CChangePasswordDlg::CChangePasswordDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Change Administrative Password"));
  setFixedSize(430, 210);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("1016"));
  group->setGeometry(10, 8, 410, 146);
  m_pCurrent = AddPasswordRow(QStringLiteral("Enter Current Password :"), QStringLiteral("1007"), 28);
  m_pNew = AddPasswordRow(QStringLiteral("New Password :"), QStringLiteral("1010"), 70);
  m_pConfirm = AddPasswordRow(QStringLiteral("Confirm New Password :"), QStringLiteral("1012"), 112);
  m_pApply = new CBMButton(QStringLiteral("Apply"), this);
  m_pApply->setObjectName(QStringLiteral("1013"));
  m_pApply->setGeometry(160, 168, 80, 26);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("1014"));
  cancel->setGeometry(250, 168, 80, 26);
  auto* help = new CBMButton(QStringLiteral("Help"), this);  // has no help to show
  help->setObjectName(QStringLiteral("1015"));
  help->setGeometry(340, 168, 80, 26);
  connect(m_pCurrent, &QLineEdit::textChanged, this, &CChangePasswordDlg::OnChangeCurrentPassword);
  connect(m_pNew, &QLineEdit::textChanged, this, &CChangePasswordDlg::OnChangeNewPassword);
  connect(m_pConfirm, &QLineEdit::textChanged, this, &CChangePasswordDlg::OnChangeNewPassword);
  connect(m_pApply, &QPushButton::clicked, this, &CChangePasswordDlg::OnApply);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  m_pNew->setEnabled(false);
  m_pConfirm->setEnabled(false);
  m_pApply->setEnabled(false);
  m_pCurrent->setFocus();
}

QLineEdit* CChangePasswordDlg::AddPasswordRow(const QString& label, const QString& id, int top) {
  (new QLabel(label, this))->setGeometry(24, top, 190, 22);
  auto* edit = new QLineEdit(this);
  edit->setObjectName(id);
  edit->setEchoMode(QLineEdit::Password);
  edit->setGeometry(220, top, 186, 24);
  return edit;
}

void CChangePasswordDlg::OnChangeCurrentPassword() {
  const bool accepted = CheckAdminPassword(m_pCurrent->text());
  m_pNew->setEnabled(accepted);
  m_pConfirm->setEnabled(accepted);
  if (!accepted) m_pApply->setEnabled(false);
}

void CChangePasswordDlg::OnChangeNewPassword() {
  m_pApply->setEnabled(!m_pNew->text().isEmpty() && !m_pConfirm->text().isEmpty());
}

void CChangePasswordDlg::OnApply() {
  if (m_pNew->text() != m_pConfirm->text()) return Refuse(QStringLiteral("New Password Confirmation failed."));
  if (m_pNew->text().size() < 6) return Refuse(QStringLiteral("Password must have atleast 6 characters."));
  m_strNewPassword = m_pNew->text();
  accept();
}

void CChangePasswordDlg::Refuse(const QString& message) {
  platform::MessageBox(this, message, ProgramTitle(), platform::MB_ICONERROR);
  m_pNew->setFocus();
}

void ChangeAdministratorPassword(QWidget* parent) {
  CChangePasswordDlg dialog(parent);
  if (dialog.exec() != QDialog::Accepted || dialog.GetNewPassword().isEmpty()) return;
  if (SetAdminPassword(dialog.GetNewPassword()) == 1)
    platform::MessageBox(parent, QStringLiteral("Administrator's Password Change Successfully."), ProgramTitle(),
                         platform::MB_OK);
  else
    platform::MessageBox(parent, QStringLiteral("Failed to Change Administrator's Password, Please Try Again !"),
                         ProgramTitle(), platform::MB_ICONERROR);
}
