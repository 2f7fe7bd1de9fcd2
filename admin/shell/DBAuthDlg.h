#pragma once

#include <QDialog>

class QLineEdit;

// Asks for the user name and password of a password-protected data source.
class CDBAuthDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CDBAuthDlg(QWidget* parent = nullptr);

  QString GetUserName() const { return m_strUserName; }
  QString GetPassword() const { return m_strPassword; }

 private:
  void OnOK();
  void OnBnClickedHelp();

  QLineEdit* m_pUserName;
  QLineEdit* m_pPassword;
  QWidget* m_pHelp;
  QString m_strUserName;
  QString m_strPassword;
};
