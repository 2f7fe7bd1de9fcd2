#include "admin/profiles/ProfileBuildQueryForProcPage.h"

#include "admin/foundation/AppLog.h"
#include "admin/profiles/NewProfileWizard.h"
#include "admin/profiles/ProfilePageLook.h"

CProfileBuildQueryForProcPage::CProfileBuildQueryForProcPage(CNewProfileWizard* wizard) : CWizardSheetPage(wizard), m_pWizard(wizard) { resize(kProfilePageSize); }

bool CProfileBuildQueryForProcPage::OnSetActive() {
  WriteAppLog(-1, QStringLiteral("<ProfileBuildQueryForProcPage> On SetActive Page "));
  EnterLastProfilePage(m_pWizard);
  return true;
}
