#include "admin/shell/WizardSheetPage.h"

CWizardSheetPage::CWizardSheetPage(QWidget* parent) : QWizardPage(parent) {}
