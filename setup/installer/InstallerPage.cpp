#include "setup/installer/InstallerPage.h"

#include "setup/installer/InstallerApp.h"

CInstallerPage::CInstallerPage(CInstallerApp& app, int helpTopic, QWidget* parent)
    : QWizardPage(parent), m_app(app), m_nHelpTopic(helpTopic) {}

InstallState& CInstallerPage::State() { return m_app.State(); }
