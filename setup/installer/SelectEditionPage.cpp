#include "setup/installer/SelectEditionPage.h"

#include "platform/widgets/DocumentLauncher.h"
#include "platform/widgets/MessageBox.h"
#include "setup/common/SetupLog.h"
#include "setup/installer/HyperLink.h"
#include "setup/installer/InstallerApp.h"
#include "setup/installer/InstallerTexts.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 3;

}  // namespace

const QString CSelectEditionPage::kFeaturesAddress =
    QStringLiteral("https://www.tarnwick.example/plus-lite/enterprise-features.html");

CSelectEditionPage::CSelectEditionPage(CInstallerApp& app, QWidget* parent)
    : CInstallerPage(app, kHelpTopic, parent),
      m_pPersonal(new QRadioButton(QStringLiteral("Personal Edition"), this)),
      m_pEnterprise(new QRadioButton(QStringLiteral("Enterprise Edition"), this)) {
  setTitle(QStringLiteral("Select Edition"));
  m_pPersonal->setObjectName(QStringLiteral("1003"));
  m_pEnterprise->setObjectName(QStringLiteral("1004"));
  auto* link = new CHyperLink(QStringLiteral("Click here to view Features of Enterprise Edition"), this);
  link->setObjectName(QStringLiteral("1052"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pPersonal);
  layout->addWidget(m_pEnterprise);
  layout->addWidget(link);
  layout->addStretch();
  connect(link, &CHyperLink::clicked, this, &CSelectEditionPage::OnFeaturesLink);
  m_pPersonal->setChecked(true);
  WriteInstallLog(QStringLiteral("SELECT EDITION"));
}

void CSelectEditionPage::OnFeaturesLink() { platform::OpenDocument(kFeaturesAddress); }

bool CSelectEditionPage::validatePage() {
  if (m_pPersonal->isChecked()) {
    State().edition = InstallState::kPersonalEdition;
    WriteInstallLog(QStringLiteral("Personal"));
    return true;
  }
  if (m_pEnterprise->isChecked()) {
    State().edition = InstallState::kEnterpriseEdition;
    WriteInstallLog(QStringLiteral("corporate"));
    return true;
  }
  platform::MessageBox(this, QStringLiteral("Please select which edition you want to install"), installer::kTitle,
                       platform::MB_ICONWARNING);
  return false;
}
