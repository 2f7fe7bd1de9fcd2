#pragma once

#include "admin/shell/WizardSheetPage.h"

class CNewProfileWizard;

// The profile wizard's stored-procedure page. For now it only takes its place in the page order: entering it
// sets the wizard for its last page; it builds no query yet, so Finish stays disabled.
class CProfileBuildQueryForProcPage : public CWizardSheetPage {
  Q_OBJECT

 public:
  explicit CProfileBuildQueryForProcPage(CNewProfileWizard* wizard);

  bool OnSetActive() override;

 private:
  CNewProfileWizard* m_pWizard;
};
