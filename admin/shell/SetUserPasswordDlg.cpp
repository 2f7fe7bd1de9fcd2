#include "admin/shell/SetUserPasswordDlg.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/PasswordStatements.h"
#include "admin/foundation/StatusFlags.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/DeviceUserList.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/UserPasswordDlg.h"
#include "platform/widgets/MessageBox.h"

#include <QGroupBox>
#include <QPushButton>

namespace {

bool HasLivePassword(const admin::CDatabseConnection& settings, const QString& pin) {
  PasswordStatusRecord record{pin, QString(), QString()};
  return GetUserPasswordStatus(settings, &record) == 1 && IsLiveStatusFlag(record.StatusFlag);
}

}  // namespace

SetUserPasswordDlg::SetUserPasswordDlg(admin::CDatabseConnection& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
  setWindowTitle(QStringLiteral("Set User Password"));
  setFixedSize(620, 330);
  ApplyDialogBrush(this);
  (new QGroupBox(QStringLiteral("User List"), this))->setGeometry(10, 6, 600, 266);
  m_pUserList = NewDeviceUserList(this, QRect(20, 28, 580, 232));
  m_pSet = AddButton(QStringLiteral("Set Password"), QStringLiteral("1087"), 20);
  m_pChange = AddButton(QStringLiteral("Change Password"), QStringLiteral("1088"), 170);
  m_pRemove = AddButton(QStringLiteral("Remove Password"), QStringLiteral("1089"), 320);
  auto* cancel = AddButton(QStringLiteral("Cancel"), QStringLiteral("1014"), 470);
  connect(m_pSet, &QPushButton::clicked, this, &SetUserPasswordDlg::OnBnClickedSetPasswordForUser);
  connect(m_pChange, &QPushButton::clicked, this, &SetUserPasswordDlg::OnBnClickedChangePasswordForUser);
  connect(m_pRemove, &QPushButton::clicked, this, &SetUserPasswordDlg::OnBnClickedRemovePasswordForUser);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_pUserList, &QTableWidget::itemSelectionChanged, this, &SetUserPasswordDlg::OnLvnItemchangedUserList);
  OnInitDialog();
}

QPushButton* SetUserPasswordDlg::AddButton(const QString& text, const QString& id, int left) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(id);
  button->setGeometry(left, 286, 140, 28);
  return button;
}

void SetUserPasswordDlg::OnInitDialog() {
  InitUserListColumns(m_pUserList);
  FillDeviceUserList(m_pUserList, m_settings);
  for (QPushButton* button : {m_pSet, m_pChange, m_pRemove}) button->setEnabled(false);
}

void SetUserPasswordDlg::OnLvnItemchangedUserList() {
  const QString pin = SelectedUserPin(*m_pUserList);
  if (!pin.isEmpty()) ApplyPasswordButtons(pin);
}

void SetUserPasswordDlg::ApplyPasswordButtons(const QString& pin) {
  const bool hasPassword = HasLivePassword(m_settings, pin);
  m_pSet->setEnabled(!hasPassword);
  m_pChange->setEnabled(hasPassword);
  m_pRemove->setEnabled(hasPassword);
}

QString SetUserPasswordDlg::SelectedPin() {
  const QString pin = SelectedUserPin(*m_pUserList);
  if (pin.isEmpty())
    platform::MessageBox(this, QStringLiteral("No User is Selected."), ProgramTitle(), platform::MB_OK);
  return pin;
}

void SetUserPasswordDlg::RunPasswordDialog(int mode, const QString& logText, int location) {
  const QString pin = SelectedPin();
  if (pin.isEmpty()) return;
  WriteAppLog(location, logText.arg(pin));
  CUserPasswordDlg dialog(m_settings, mode, pin, this);
  dialog.exec();
  ApplyPasswordButtons(pin);
}

void SetUserPasswordDlg::OnBnClickedSetPasswordForUser() {
  RunPasswordDialog(CUserPasswordDlg::kSet, QStringLiteral("Set Device Password for User %1."), 69);
}

void SetUserPasswordDlg::OnBnClickedChangePasswordForUser() {
  RunPasswordDialog(CUserPasswordDlg::kChange, QStringLiteral("Change Device Password for User %1."), 70);
}

void SetUserPasswordDlg::OnBnClickedRemovePasswordForUser() {
  const QString pin = SelectedPin();
  if (pin.isEmpty()) return;
  if (platform::MessageBox(this, QStringLiteral("Are You Sure to Remove Password for User %1 ?").arg(pin),
                           ProgramTitle(), platform::MB_YESNO | platform::MB_DEFBUTTON2) != platform::IDYES)
    return;
  WriteAppLog(71, QStringLiteral("Remove Device Password for User %1.").arg(pin));
  PasswordStatusRecord record{pin, QString(), QString()};
  GetUserPasswordStatus(m_settings, &record);
  record.StatusFlag = kDeleteStatusFlag;
  UpdateUserPasswordStatus(m_settings, record);
  ApplyPasswordButtons(pin);
}
