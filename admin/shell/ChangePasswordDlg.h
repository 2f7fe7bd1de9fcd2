#pragma once

#include <QDialog>

class CBMButton;
class QLineEdit;

// Changes the administrator password: the current one first, then the new one twice.
class CChangePasswordDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CChangePasswordDlg(QWidget* parent = nullptr);

  // The accepted new password; empty until Apply accepted one.
  QString GetNewPassword() const { return m_strNewPassword; }

 private:
  QLineEdit* AddPasswordRow(const QString& label, const QString& id, int top);
  void OnChangeCurrentPassword();
  void OnChangeNewPassword();
  void OnApply();
  void Refuse(const QString& message);

  QLineEdit* m_pCurrent;
  QLineEdit* m_pNew;
  QLineEdit* m_pConfirm;
  CBMButton* m_pApply;
  QString m_strNewPassword;
};

// Runs the password change and stores an accepted new password, telling how it went.
void ChangeAdministratorPassword(QWidget* parent);
