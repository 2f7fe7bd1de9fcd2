#pragma once

#include <QDialog>

class QLineEdit;

// Asks for a new administrator password of at least 6 characters.
class CSetAdministrativePasswordDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CSetAdministrativePasswordDlg(QWidget* parent = nullptr);

  QString GetPassword() const { return m_strPassword; }

 private:
  void OnOK();

  QLineEdit* m_pPassword;
  QString m_strPassword;
};
