#include "admin/shell/UserManagerDlg.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/foundation/ProfileRemoval.h"
#include "admin/foundation/UserInfoTable.h"
#include "admin/foundation/UserProfileList.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/DeviceUserList.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/NewUserDlg.h"
#include "admin/shell/SetUserOptionsDlg.h"
#include "platform/widgets/MessageBox.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>

namespace {

constexpr uint8_t kIPhone = 2;

}  // namespace

CUserManagerDlg::CUserManagerDlg(admin::CDatabseConnection& settings, QWidget* parent)
    : QDialog(parent, Qt::Widget), m_settings(settings) {
  setObjectName(QStringLiteral("User Manager"));
  resize(660, 480);
  ApplyDialogBrush(this);
  (new QGroupBox(QStringLiteral("User List"), this))->setGeometry(10, 6, 640, 250);
  m_pUserList = NewDeviceUserList(this, QRect(20, 28, 620, 180));
  auto* add = AddButton(QStringLiteral("Add New User"), QStringLiteral("1019"), QRect(20, 216, 150, 28));
  m_pSetUserOptions = AddButton(QStringLiteral("Set User Optios"), QStringLiteral("1020"), QRect(180, 216, 150, 28));
  m_pRemoveUser = AddButton(QStringLiteral("Remove Current User"), QStringLiteral("1021"), QRect(340, 216, 170, 28));
  AddButton(QStringLiteral("Help"), QStringLiteral("1015"), QRect(560, 216, 80, 28));  // has no help to show
  m_pProfileGroup = new QGroupBox(QStringLiteral("Profile Information For Selected Profile"), this);
  m_pProfileGroup->setObjectName(QStringLiteral("1023"));
  m_pProfileGroup->setGeometry(10, 266, 640, 204);
  m_pProfileList = new CColoredListCtrl(this);
  m_pProfileList->setObjectName(QStringLiteral("1024"));
  m_pProfileList->setShowGrid(true);
  m_pProfileList->setGeometry(20, 288, 620, 172);
  connect(add, &QPushButton::clicked, this, &CUserManagerDlg::OnBnClickedAddNewUser);
  connect(m_pSetUserOptions, &QPushButton::clicked, this, &CUserManagerDlg::OnBnClickedSetUserOptions);
  connect(m_pRemoveUser, &QPushButton::clicked, this, &CUserManagerDlg::OnBnClickedRemoveCurrentUser);
  connect(m_pUserList, &QTableWidget::itemSelectionChanged, this, &CUserManagerDlg::OnLvnItemchangedUserList);
  OnInitDialog();
}

QPushButton* CUserManagerDlg::AddButton(const QString& text, const QString& id, const QRect& place) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(id);
  button->setGeometry(place);
  return button;
}

// Enter and Escape do not close the module.
void CUserManagerDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(event);
}

int CUserManagerDlg::Box(const QString& text, unsigned type) {
  return platform::MessageBox(this, text, ProgramTitle(), type);
}

bool CUserManagerDlg::Ask(const QString& question) {
  return Box(question, platform::MB_YESNO | platform::MB_DEFBUTTON2) == platform::IDYES;
}

void CUserManagerDlg::OnInitDialog() {
  InitUserListColumns(m_pUserList);
  InitProfileListColumns();
  FillUserList();
}

void CUserManagerDlg::InitProfileListColumns() {
  const int width = ShareOfListWidth(*m_pProfileList, 3);
  int column = 0;
  for (const QString& heading :
       {QStringLiteral("Profile Name"), QStringLiteral("Desktop Database Name/DSN Name"), QStringLiteral("SQL Query")})
    m_pProfileList->InsertColumn(column++, heading, width);
}

void CUserManagerDlg::ShowProfileInformation(bool shown) {
  m_pProfileGroup->setVisible(shown);
  m_pProfileList->setVisible(shown);
}

void CUserManagerDlg::EnableUserButtons(bool enabled) {
  m_pSetUserOptions->setEnabled(enabled);
  m_pRemoveUser->setEnabled(enabled);
}

void CUserManagerDlg::FillUserList() {
  const int count = FillDeviceUserList(m_pUserList, m_settings);
  WriteAppLog(11, QStringLiteral("%1 Number of User's are Available.").arg(count));
  ShowProfileInformation(false);
  EnableUserButtons(count > 0);
}

void CUserManagerDlg::OnLvnItemchangedUserList() {
  const QString pin = SelectedUserPin(*m_pUserList);
  if (pin.isEmpty()) return;
  WriteAppLog(12, QStringLiteral("User having PIN : %1 is selected.").arg(pin));
  if (UserHasProfiles(m_settings, pin) == 1) {
    ShowProfileInformation(true);
    FillUserProfileList(pin);
    return;
  }
  ShowProfileInformation(false);
  EnableUserButtons(true);
}

void CUserManagerDlg::FillUserProfileList(const QString& pin) {
  m_pProfileList->DeleteAllItems();
  if (pin.isEmpty()) return;
  const QList<UserProfileEntry> entries = GetUserProfileEntries(m_settings, pin);
  for (const UserProfileEntry& entry : entries) {
    const int row = m_pProfileList->InsertItem(m_pProfileList->GetItemCount(), entry.name);
    m_pProfileList->SetItemText(row, 1, entry.source);
    m_pProfileList->SetItemText(row, 2, entry.query);
  }
  WriteAppLog(13, QStringLiteral("%1 Number of Profile's are assigned to User : %2.").arg(entries.size()).arg(pin));
}

void CUserManagerDlg::OnBnClickedAddNewUser() {
  CNewUserDlg dialog(m_settings, this);
  if (dialog.exec() != QDialog::Accepted) return;
  UserInfoRow user;
  user.PIN = dialog.GetDeviceId();
  user.Name = dialog.GetFirstName() + u' ' + dialog.GetLastName();
  user.Designation = dialog.GetDesignation();
  user.Department = dialog.GetDepartment();
  user.StatusFlag = QStringLiteral("A");
  user.SyncOption = dialog.GetSyncOption();
  user.SyncInterval = dialog.GetSyncInterval();
  user.DeviceType = dialog.GetDeviceType();
  if (UserInfoTable(m_settings).AddUserInfo(user) == 1)
    WriteAppLog(18, QStringLiteral("User %1 with PIN %2 is Added.").arg(user.Name, user.PIN));
  FillUserList();
}

bool CUserManagerDlg::SelectedUser(UserInfoRow* user) {
  const QString pin = SelectedUserPin(*m_pUserList);
  if (pin.isEmpty()) {
    Box(QStringLiteral("No User is Selected."), platform::MB_OK);
    return false;
  }
  user->PIN = pin;
  for (const UserInfoRow& row : UserInfoTable(m_settings).Rows()) {
    if (row.PIN != pin) continue;
    *user = row;
    break;
  }
  return true;
}

void CUserManagerDlg::OnBnClickedSetUserOptions() {
  UserInfoRow user;
  if (!SelectedUser(&user)) return;
  if (user.DeviceType == kIPhone) {
    Box(QStringLiteral("This option not available for iPhone Users."), platform::MB_OK);
    return;
  }
  CSetUserOptionsDlg dialog(m_settings, user.PIN, this);
  dialog.exec();
}

void CUserManagerDlg::OnBnClickedRemoveCurrentUser() {
  UserInfoRow user;
  if (!SelectedUser(&user)) return;
  if (!Ask(QStringLiteral("Are you sure to remove user : %1 ?").arg(user.Name))) return;
  WriteAppLog(14, QStringLiteral("Remove User Name : %1 and PIN : %2").arg(user.Name, user.PIN));
  if (!RemoveProfilesOnlyOfUser(user)) return;
  user.StatusFlag = QStringLiteral("D");
  if (UserInfoTable(m_settings).UpdateUserInfo(user) == 1)
    WriteAppLog(15, QStringLiteral("User %1 with PIN %2 is Removed.").arg(user.Name, user.PIN));
  FillUserList();
}

bool CUserManagerDlg::RemoveProfilesOnlyOfUser(const UserInfoRow& user) {
  QList<int32_t> profiles;
  if (GetProfilesOnlyOfUser(user.PIN, &profiles, m_settings) != 1) return true;
  if (!Ask(QStringLiteral("Removing %1 User will remove some profiles assigned to only this user, Are You sure to "
                          "remove user ?")
               .arg(user.Name))) {
    WriteAppLog(17, QStringLiteral("Removing %1 User is Canceled.").arg(user.Name));
    return false;
  }
  const ProfileRemovalResult result = RemoveProfiles(m_settings, profiles);
  if (!result.message.isEmpty()) {
    Box(result.message, platform::MB_OK | platform::MB_ICONERROR);
    return false;
  }
  for (const int32_t profileId : result.removed)
    WriteAppLog(16, QStringLiteral("Profile %1 removed while removing %2 User.").arg(profileId).arg(user.Name));
  return true;
}
