#include "setup/installer/TarnwickInstallWizard.h"

#include "setup/installer/AccountInfoPage.h"
#include "setup/installer/AdminPasswordDlg.h"
#include "setup/installer/FinishPage.h"
#include "setup/installer/HelpDlg.h"
#include "setup/installer/InstallerTexts.h"
#include "setup/installer/ModifyPage.h"
#include "setup/installer/PersonalInfoPage.h"
#include "setup/installer/ProxySettingsPage.h"
#include "setup/installer/SelectEditionPage.h"
#include "setup/installer/SelectPathPage.h"
#include "setup/installer/WelComePage.h"

#include <QCloseEvent>

namespace {

void ModalHelp(int topic) {
  installer::CHelpDlg balloon;
  balloon.SetTopic(topic);
  balloon.exec();
}

TarnwickInstallWizard::HelpRunner& HelpRunnerSlot() {
  static TarnwickInstallWizard::HelpRunner runner = ModalHelp;
  return runner;
}

}  // namespace

TarnwickInstallWizard::TarnwickInstallWizard(CInstallerApp& app, QWidget* parent)
    : QWizard(parent),
      m_pWelcome(new CWelComePage(app)),
      m_pEdition(new CSelectEditionPage(app)),
      m_pProxy(new CProxySettingsPage(app)),
      m_pDevice(new CPersonalInfoPage(app)),
      m_pPath(new CSelectPathPage(app)),
      m_pFinish(new CFinishPage(app)),
      m_pAccount(std::make_unique<CAccountInfoPage>(app)),
      m_pModify(std::make_unique<CModifyPage>(app)),
      m_pAdminPassword(std::make_unique<CAdminPasswordDlg>(app)) {
  setWindowTitle(installer::kTitle);
  setWizardStyle(QWizard::ClassicStyle);
  setOptions(QWizard::HaveHelpButton | QWizard::NoBackButtonOnStartPage);
  for (QWizardPage* page : {static_cast<QWizardPage*>(m_pWelcome), static_cast<QWizardPage*>(m_pEdition),
                            static_cast<QWizardPage*>(m_pProxy), static_cast<QWizardPage*>(m_pDevice),
                            static_cast<QWizardPage*>(m_pPath), static_cast<QWizardPage*>(m_pFinish)}) {
    addPage(page);
  }
  connect(this, &QWizard::currentIdChanged, this, &TarnwickInstallWizard::OnPageActivated);
  connect(this, &QWizard::helpRequested, this, &TarnwickInstallWizard::OnHelp);
}

TarnwickInstallWizard::~TarnwickInstallWizard() = default;

void TarnwickInstallWizard::SetHelpRunner(HelpRunner runner) { HelpRunnerSlot() = std::move(runner); }

void TarnwickInstallWizard::OnPageActivated(int id) {
  auto* installerPage = qobject_cast<CInstallerPage*>(page(id));
  if (installerPage == nullptr) return;
  // A page without a help topic shows no Help button rather than one that does nothing.
  setOption(QWizard::HaveHelpButton, installerPage->HelpTopic() != 0);
  installerPage->OnSetActive();
}

void TarnwickInstallWizard::OnHelp() {
  const auto* installerPage = qobject_cast<const CInstallerPage*>(currentPage());
  if (installerPage != nullptr && installerPage->HelpTopic() != 0) HelpRunnerSlot()(installerPage->HelpTopic());
}

bool TarnwickInstallWizard::Installing() const { return m_pFinish->Installing(); }

void TarnwickInstallWizard::reject() {
  if (!Installing()) QWizard::reject();
}

void TarnwickInstallWizard::closeEvent(QCloseEvent* event) {
  if (Installing()) {
    event->ignore();
    return;
  }
  QWizard::closeEvent(event);
}
