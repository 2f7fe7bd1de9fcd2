#pragma once

#include "admin/shell/WizardSheetPage.h"

class CNewProfileWizard;

// The profile wizard's table, view and query page. For now it only takes its place in the page order: entering it
// sets the wizard for its last page; it builds no query yet, so Finish stays disabled.
class CProfileBuildQueryPage : public CWizardSheetPage {
  Q_OBJECT

 public:
  explicit CProfileBuildQueryPage(CNewProfileWizard* wizard);

  bool OnSetActive() override;

 private:
  CNewProfileWizard* m_pWizard;
};
