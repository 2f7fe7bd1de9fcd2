#include "setup/installer/FinishPage.h"

CFinishPage::CFinishPage(CInstallerApp& app, QWidget* parent) : CInstallerPage(app, 0, parent) {}
