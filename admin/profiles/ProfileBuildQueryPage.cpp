#include "admin/profiles/ProfileBuildQueryPage.h"

#include "admin/foundation/AppLog.h"
#include "admin/profiles/NewProfileWizard.h"
#include "admin/profiles/ProfilePageLook.h"

CProfileBuildQueryPage::CProfileBuildQueryPage(CNewProfileWizard* wizard) : CWizardSheetPage(wizard), m_pWizard(wizard) { resize(kProfilePageSize); }

bool CProfileBuildQueryPage::OnSetActive() {
  WriteAppLog(-1, QStringLiteral("<CProfileBuildQueryPage> On SetActive Page "));
  EnterLastProfilePage(m_pWizard);
  return true;
}
