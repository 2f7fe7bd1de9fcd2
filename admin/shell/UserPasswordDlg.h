#pragma once

#include <QDialog>

namespace admin { class CDatabseConnection; }
class QLabel;
class QLineEdit;

// "User Password": sets (mode 1) or changes (mode 0) the device password of one user. A change
// needs the administrator's password or the user's current one first.
class CUserPasswordDlg : public QDialog {
  Q_OBJECT

 public:
  enum Mode { kChange = 0, kSet = 1 };

  CUserPasswordDlg(admin::CDatabseConnection& settings, int mode, const QString& pin, QWidget* parent = nullptr);

 private:
  QLineEdit* AddPasswordEdit(const QString& id, int top);
  void OnInitDialog();
  void ShowPasswordModeControls();
  void OnEnChangeCurrentPassword();
  bool CheckCurrentPassword() const;
  void OnBnClickedOk();
  // The new password when both edits agree; else the box and false.
  bool ReadNewPassword(QString* password);
  void Refuse(const QString& text);

  admin::CDatabseConnection& m_settings;
  int m_nMode;
  QString m_strPin;
  QLabel* m_pPin;
  QLabel* m_pSpecify;
  QLabel* m_pCurrentLabel;
  QLineEdit* m_pCurrent;
  QLineEdit* m_pNew;
  QLineEdit* m_pConfirm;
};
