#include "admin/shell/UserPasswordDlg.h"

#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/PasswordStatements.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/NewUserDlg.h"
#include "platform/widgets/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CUserPasswordDlg::CUserPasswordDlg(admin::CDatabseConnection& settings, int mode, const QString& pin, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_nMode(mode), m_strPin(pin) {
  setWindowTitle(QStringLiteral("User Password"));
  setFixedSize(520, 250);
  ApplyDialogBrush(this);
  (new QLabel(QStringLiteral("User PIN :"), this))->setGeometry(20, 16, 200, 24);
  m_pPin = new QLabel(this);
  m_pPin->setObjectName(QStringLiteral("1093"));
  m_pPin->setGeometry(290, 16, 210, 24);
  m_pSpecify = new QLabel(QStringLiteral("Specify Password for User :"), this);
  m_pSpecify->setObjectName(QStringLiteral("1094"));
  m_pSpecify->setGeometry(20, 52, 480, 24);
  m_pCurrentLabel = new QLabel(QStringLiteral("Enter Admin/User Current Password :"), this);
  m_pCurrentLabel->setObjectName(QStringLiteral("1090"));
  m_pCurrentLabel->setGeometry(20, 88, 260, 24);
  m_pCurrent = AddPasswordEdit(QStringLiteral("1007"), 88);
  (new QLabel(QStringLiteral("New Password :"), this))->setGeometry(20, 124, 260, 24);
  m_pNew = AddPasswordEdit(QStringLiteral("1010"), 124);
  (new QLabel(QStringLiteral("Confirm New Password :"), this))->setGeometry(20, 160, 260, 24);
  m_pConfirm = AddPasswordEdit(QStringLiteral("1012"), 160);
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setObjectName(QStringLiteral("1047"));
  ok->setGeometry(320, 206, 84, 28);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("1014"));
  cancel->setGeometry(416, 206, 84, 28);
  connect(ok, &QPushButton::clicked, this, &CUserPasswordDlg::OnBnClickedOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_pCurrent, &QLineEdit::textChanged, this, &CUserPasswordDlg::OnEnChangeCurrentPassword);
  OnInitDialog();
}

QLineEdit* CUserPasswordDlg::AddPasswordEdit(const QString& id, int top) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(id);
  edit->setEchoMode(QLineEdit::Password);
  edit->setMaxLength(CNewUserDlg::kMaxTextChars);
  edit->setGeometry(290, top, 210, 24);
  return edit;
}

void CUserPasswordDlg::OnInitDialog() {
  m_pPin->setText(m_strPin);
  ShowPasswordModeControls();
}

void CUserPasswordDlg::ShowPasswordModeControls() {
  const bool change = m_nMode == kChange;
  m_pCurrentLabel->setVisible(change);
  m_pCurrent->setVisible(change);
  m_pSpecify->setVisible(!change);
  if (!change) return;
  m_pNew->setEnabled(false);
  m_pConfirm->setEnabled(false);
}

void CUserPasswordDlg::OnEnChangeCurrentPassword() {
  const bool accepted = CheckCurrentPassword();
  m_pNew->setEnabled(accepted);
  m_pConfirm->setEnabled(accepted);
}

bool CUserPasswordDlg::CheckCurrentPassword() const {
  const QString current = m_pCurrent->text();
  if (CheckAdminPassword(current)) return true;
  PasswordStatusRecord record{m_strPin, QString(), QString()};
  return GetUserPasswordStatus(m_settings, &record) == 1 && record.Password == current;
}

void CUserPasswordDlg::Refuse(const QString& text) {
  platform::MessageBox(this, text, ProgramTitle(), platform::MB_ICONERROR);
}

bool CUserPasswordDlg::ReadNewPassword(QString* password) {
  *password = m_pNew->text();
  if (password->isEmpty()) {
    Refuse(QStringLiteral("Specify New Password, Please Try Again !"));
    return false;
  }
  if (*password != m_pConfirm->text()) {
    Refuse(QStringLiteral("New and Confirm Password Not Equals, Please Try Again !"));
    return false;
  }
  return true;
}

// A store that fails has shown its own box; the dialog stays open.
void CUserPasswordDlg::OnBnClickedOk() {
  if (m_nMode == kChange && !CheckCurrentPassword()) {
    Refuse(QStringLiteral("Admin/User Current Password is wrong, Please Try Again !"));
    return;
  }
  PasswordStatusRecord record{m_strPin, QString(), QString()};
  const bool hasRow = GetUserPasswordStatus(m_settings, &record) == 1;
  if (!ReadNewPassword(&record.Password)) return;
  record.StatusFlag = m_nMode == kSet ? QStringLiteral("A") : QStringLiteral("U");
  const bool insert = m_nMode == kSet && !hasRow;
  const int stored = insert ? SaveUserPasswordStatus(m_settings, record) : UpdateUserPasswordStatus(m_settings, record);
  if (stored == 1) accept();
}
