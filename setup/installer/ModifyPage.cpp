#include "setup/installer/ModifyPage.h"

#include "setup/common/SetupLog.h"
#include "setup/installer/InstallerApp.h"

#include <QRadioButton>
#include <QVBoxLayout>

CModifyPage::CModifyPage(CInstallerApp& app, QWidget* parent)
    : CInstallerPage(app, 0, parent),
      m_pNew(new QRadioButton(QStringLiteral("New installation"), this)),
      m_pModify(new QRadioButton(QStringLiteral("Modify"), this)) {
  setTitle(QStringLiteral("Select Version"));
  m_pNew->setObjectName(QStringLiteral("1027"));
  m_pModify->setObjectName(QStringLiteral("1028"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pNew);
  layout->addWidget(m_pModify);
  layout->addStretch();
  connect(m_pNew, &QRadioButton::clicked, this, &CModifyPage::OnChoice);
  connect(m_pModify, &QRadioButton::clicked, this, &CModifyPage::OnChoice);
  WriteInstallLog(QStringLiteral("SELECT VERSION"));
}

void CModifyPage::OnChoice() {
  const bool modify = m_pModify->isChecked();
  State().modify = modify ? 1 : 0;
  WriteInstallLog(modify ? QStringLiteral("Select version : Modify version")
                         : QStringLiteral("Select version : New version"));
}
