#include "setup/installer/AccountInfoPage.h"

#include "platform/widgets/MessageBox.h"
#include "setup/common/HostedPagesClient.h"
#include "setup/common/SetupLog.h"
#include "setup/installer/InstallerApp.h"
#include "setup/installer/InstallerTexts.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace installer;

namespace {

constexpr int kHelpTopic = 1;

const QString kForbiddenCharacters = QStringLiteral("/\\*?:\"<>|");
const QString kInvalidNameBox = QStringLiteral(
    "Computer Name should not be less than 6 characters and do not use special charcters such as / \\ * ? : \" < > |");
const QString kUnverifiedBox =
    QStringLiteral("Unable to verify information you have specified, Please check internet Connection.");

void Tell(QWidget* parent, const QString& text) {
  platform::MessageBox(parent, text, kTitle, platform::MB_ICONINFORMATION);
}

void Refuse(QWidget* parent, const QString& text) { platform::MessageBox(parent, text, kTitle, platform::MB_ICONERROR); }

bool IsValidName(const QString& name) {
  if (name.size() < CAccountInfoPage::kMinimumLength) return false;
  for (const QChar c : kForbiddenCharacters) {
    if (name.contains(c)) return false;
  }
  return true;
}

}  // namespace

CAccountInfoPage::CAccountInfoPage(CInstallerApp& app, QWidget* parent)
    : CInstallerPage(app, kHelpTopic, parent),
      m_pName(new QLineEdit(this)),
      m_pPassword(new QLineEdit(this)),
      m_pConfirm(new QLineEdit(this)) {
  setTitle(QStringLiteral("Account Information"));
  m_pName->setObjectName(QStringLiteral("1005"));
  m_pPassword->setObjectName(QStringLiteral("1006"));
  m_pConfirm->setObjectName(QStringLiteral("1007"));
  m_pPassword->setEchoMode(QLineEdit::Password);
  m_pConfirm->setEchoMode(QLineEdit::Password);
  auto* check = new QPushButton(QStringLiteral("Check Computer Name Availability"), this);
  check->setObjectName(QStringLiteral("1033"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Computer Name :"), this), 0, 0);
  layout->addWidget(m_pName, 0, 1);
  layout->addWidget(check, 1, 1, Qt::AlignRight);
  layout->addWidget(new QLabel(QStringLiteral("Password :"), this), 2, 0);
  layout->addWidget(m_pPassword, 2, 1);
  layout->addWidget(new QLabel(QStringLiteral("Confirm Password :"), this), 3, 0);
  layout->addWidget(m_pConfirm, 3, 1);
  connect(m_pName, &QLineEdit::editingFinished, this, &CAccountInfoPage::RemoveBlanksFromName);
  connect(check, &QPushButton::clicked, this, &CAccountInfoPage::OnCheckAvailability);
}

void CAccountInfoPage::PumpWaitingMessages() { CInstallerApp::PumpWaitingMessages(); }

void CAccountInfoPage::RemoveBlanksFromName() { m_pName->setText(m_pName->text().remove(u' ')); }

bool CAccountInfoPage::ValidateName() {
  RemoveBlanksFromName();
  const QString name = m_pName->text();
  if (name.isEmpty()) {
    Tell(this, QStringLiteral("Please enter Computer Name."));
    return false;
  }
  if (!IsValidName(name)) {
    Refuse(this, kInvalidNameBox);
    return false;
  }
  return true;
}

bool CAccountInfoPage::ValidatePasswords() {
  const QString password = m_pPassword->text();
  if (password.trimmed().isEmpty()) {
    Tell(this, QStringLiteral("Please enter Password."));
    return false;
  }
  if (password.size() < kMinimumLength) {
    Tell(this, QStringLiteral("Password should be at least 6 characters long."));
    return false;
  }
  if (password != m_pConfirm->text()) {
    Tell(this, QStringLiteral("Password and Confirm Password do not match."));
    return false;
  }
  return true;
}

bool CAccountInfoPage::validatePage() {
  if (!ValidateName() || !ValidatePasswords()) return false;
  State().service.desktopName = m_pName->text();
  State().devicePassword = m_pPassword->text();
  return true;
}

void CAccountInfoPage::OnCheckAvailability() {
  WriteInstallLog(QStringLiteral("Account info : Check validity start"));
  if (!ValidateName()) return;
  const QString name = m_pName->text();
  CHostedPagesClient pages(HostedPagesOf(State()), WriteInstallLog, this);
  QString reply;
  if (pages.CheckAvailability(name, &reply) != 1) {
    Refuse(this, kUnverifiedBox);
    return;
  }
  const bool available = reply.contains(QStringLiteral("Valid"));
  Tell(this, QStringLiteral("Computer Name \"") + name +
                 (available ? QStringLiteral("\" is available.") : QStringLiteral("\" not available.")));
}
