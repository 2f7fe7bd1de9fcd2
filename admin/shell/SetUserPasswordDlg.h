#pragma once

#include <QDialog>

class CColoredListCtrl;
namespace admin { class CDatabseConnection; }
class QPushButton;

// "Set User Password": the device users with buttons to set, change or remove a user's device
// password. A user with a password (a row not marked "D") can have it changed or removed; a
// user without one can have one set.
class SetUserPasswordDlg : public QDialog {
  Q_OBJECT

 public:
  explicit SetUserPasswordDlg(admin::CDatabseConnection& settings, QWidget* parent = nullptr);

 private:
  QPushButton* AddButton(const QString& text, const QString& id, int left);
  void OnInitDialog();
  void OnLvnItemchangedUserList();
  void ApplyPasswordButtons(const QString& pin);
  void OnBnClickedSetPasswordForUser();
  void OnBnClickedChangePasswordForUser();
  void OnBnClickedRemovePasswordForUser();
  // Runs the password dialog for the selected user in `mode` after the log line.
  void RunPasswordDialog(int mode, const QString& logText, int location);
  // The selected PIN; empty after "No User is Selected.".
  QString SelectedPin();

  admin::CDatabseConnection& m_settings;
  CColoredListCtrl* m_pUserList;
  QPushButton* m_pSet;
  QPushButton* m_pChange;
  QPushButton* m_pRemove;
};
