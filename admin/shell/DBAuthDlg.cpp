#include "admin/shell/DBAuthDlg.h"

#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"

#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int kHelpTopic = 20;

}  // namespace

CDBAuthDlg::CDBAuthDlg(QWidget* parent)
    : QDialog(parent), m_pUserName(new QLineEdit(this)), m_pPassword(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Database Authentication"));
  setFixedSize(360, 170);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  AddFrame(this, QStringLiteral("1203"), QRect(10, 8, 340, 106));
  (new QLabel(QStringLiteral("User Name :"), this))->setGeometry(24, 30, 110, 22);
  m_pUserName->setObjectName(QStringLiteral("1055"));
  m_pUserName->setGeometry(140, 30, 196, 24);
  (new QLabel(QStringLiteral("Password :"), this))->setGeometry(24, 70, 110, 22);
  m_pPassword->setObjectName(QStringLiteral("1003"));
  m_pPassword->setEchoMode(QLineEdit::Password);
  m_pPassword->setGeometry(140, 70, 196, 24);
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(90, 128, 80, 26);
  ok->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(180, 128, 80, 26);
  auto* help = new CBMButton(QStringLiteral("Help"), this);
  help->setObjectName(QStringLiteral("1015"));
  help->setGeometry(270, 128, 80, 26);
  m_pHelp = help;
  connect(ok, &QPushButton::clicked, this, &CDBAuthDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &CDBAuthDlg::OnBnClickedHelp);
  m_pUserName->setFocus();
}

void CDBAuthDlg::OnOK() {
  m_strUserName = m_pUserName->text();
  m_strPassword = m_pPassword->text();
  accept();
}

void CDBAuthDlg::OnBnClickedHelp() { ShowHelpBalloon(kHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton); }
