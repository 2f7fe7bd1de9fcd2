#pragma once

#include <QDialog>

class CInstallerApp;
class QLineEdit;

// The administrator password, typed twice; kept with the wizard but not shown.
class CAdminPasswordDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMinimumLength = 6;

  explicit CAdminPasswordDlg(CInstallerApp& app, QWidget* parent = nullptr);

  void OnOK();

 private:
  CInstallerApp& m_app;
  QLineEdit* m_pPassword;
  QLineEdit* m_pConfirm;
};
