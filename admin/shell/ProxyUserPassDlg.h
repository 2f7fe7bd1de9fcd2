#pragma once

#include <QDialog>

class QLineEdit;

// Asks for the user name and password a proxy demands.
class CProxyUserPassDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CProxyUserPassDlg(QWidget* parent = nullptr);

  QString GetUserName() const { return m_strUserName; }
  QString GetPassword() const { return m_strPassword; }

 private:
  void OnOK();

  QLineEdit* m_pUserName;
  QLineEdit* m_pPassword;
  QString m_strUserName;
  QString m_strPassword;
};
