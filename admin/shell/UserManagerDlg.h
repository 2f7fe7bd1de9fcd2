#pragma once

#include <QDialog>

class CColoredListCtrl;
namespace admin { class CDatabseConnection; }
class QGroupBox;
class QPushButton;
struct UserInfoRow;

// The User Manager module: the device users, adding one, changing a user's sync option,
// removing a user (with the profiles only that user has), and the selected user's profiles.
class CUserManagerDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CUserManagerDlg(admin::CDatabseConnection& settings, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* AddButton(const QString& text, const QString& id, const QRect& place);
  void OnInitDialog();
  void InitProfileListColumns();
  void FillUserList();
  void FillUserProfileList(const QString& pin);
  void ShowProfileInformation(bool shown);
  void EnableUserButtons(bool enabled);
  void OnLvnItemchangedUserList();
  void OnBnClickedAddNewUser();
  void OnBnClickedSetUserOptions();
  void OnBnClickedRemoveCurrentUser();
  // The selected user's row; false (after "No User is Selected.") without a selection.
  bool SelectedUser(UserInfoRow* user);
  // Removes the profiles only this user has, after asking; false when they stay.
  bool RemoveProfilesOnlyOfUser(const UserInfoRow& user);
  int Box(const QString& text, unsigned type);
  bool Ask(const QString& question);

  admin::CDatabseConnection& m_settings;
  CColoredListCtrl* m_pUserList;
  QPushButton* m_pSetUserOptions;
  QPushButton* m_pRemoveUser;
  QGroupBox* m_pProfileGroup;
  CColoredListCtrl* m_pProfileList;
};
