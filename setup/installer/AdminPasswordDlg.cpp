#include "setup/installer/AdminPasswordDlg.h"

#include "platform/widgets/MessageBox.h"
#include "setup/installer/InstallerApp.h"
#include "setup/installer/InstallerTexts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CAdminPasswordDlg::CAdminPasswordDlg(CInstallerApp& app, QWidget* parent)
    : QDialog(parent), m_app(app), m_pPassword(new QLineEdit(this)), m_pConfirm(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Administrator Password"));
  m_pPassword->setEchoMode(QLineEdit::Password);
  m_pConfirm->setEchoMode(QLineEdit::Password);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Password :"), this), 0, 0);
  layout->addWidget(m_pPassword, 0, 1);
  layout->addWidget(new QLabel(QStringLiteral("Confirm Password :"), this), 1, 0);
  layout->addWidget(m_pConfirm, 1, 1);
  layout->addWidget(buttons, 2, 0, 1, 2);
  connect(buttons, &QDialogButtonBox::accepted, this, &CAdminPasswordDlg::OnOK);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CAdminPasswordDlg::OnOK() {
  const QString password = m_pPassword->text();
  QString problem;
  if (password.size() < kMinimumLength) {
    problem = QStringLiteral("Password should be at least 6 characters long.");
  } else if (password != m_pConfirm->text()) {
    problem = QStringLiteral("Password and Confirm Password do not match.");
  }
  if (!problem.isEmpty()) {
    platform::MessageBox(this, problem, installer::kTitle, platform::MB_ICONINFORMATION);
    return;
  }
  m_app.State().adminPassword = password;
  accept();
}
