#include "admin/shell/SetUserOptionsDlg.h"

#include "admin/foundation/UserInfoTable.h"
#include "admin/shell/DialogLook.h"

#include <QPushButton>
#include <QRadioButton>

namespace {

// The user's row; false when the table has no row of exactly that PIN.
bool FindUser(admin::CDatabseConnection& settings, const QString& pin, UserInfoRow* user) {
  UserInfoTable table(settings);
  for (const UserInfoRow& row : table.Rows()) {
    if (row.PIN != pin) continue;
    *user = row;
    return true;
  }
  return false;
}

}  // namespace

CSetUserOptionsDlg::CSetUserOptionsDlg(admin::CDatabseConnection& settings, const QString& pin, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_strPin(pin), m_syncOption(this, QPoint(20, 16)) {
  setWindowTitle(QStringLiteral("Set User Options"));
  setFixedSize(400, 180);
  ApplyDialogBrush(this);
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setObjectName(QStringLiteral("1047"));
  ok->setGeometry(200, 140, 84, 28);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("1014"));
  cancel->setGeometry(296, 140, 84, 28);
  connect(ok, &QPushButton::clicked, this, &CSetUserOptionsDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_syncOption.SyncMenu(), &QRadioButton::clicked, this, &CSetUserOptionsDlg::OnBnClickedSyncOption);
  connect(m_syncOption.SyncInterval(), &QRadioButton::clicked, this, &CSetUserOptionsDlg::OnBnClickedSyncOption);
  OnInitDialog();
}

void CSetUserOptionsDlg::OnInitDialog() {
  LoadUserOptions();
  m_syncOption.EnableSyncIntervalControls();
}

void CSetUserOptionsDlg::LoadUserOptions() {
  UserInfoRow user;
  if (FindUser(m_settings, m_strPin, &user)) m_syncOption.ShowSyncOption(user.SyncOption, user.SyncInterval);
}

void CSetUserOptionsDlg::OnBnClickedSyncOption() { m_syncOption.EnableSyncIntervalControls(); }

// A failed store has shown its box; the dialog stays for another try or Cancel.
void CSetUserOptionsDlg::OnOK() {
  int32_t option = 0;
  int32_t interval = 0;
  if (!m_syncOption.ReadSyncOption(this, &option, &interval)) return;
  UserInfoRow user;
  if (!FindUser(m_settings, m_strPin, &user)) user.PIN = m_strPin;  // the update tells it is gone
  user.SyncOption = option;
  user.SyncInterval = interval;
  user.StatusFlag = QStringLiteral("U");
  if (UserInfoTable(m_settings).UpdateUserInfo(user) == 1) accept();
}
