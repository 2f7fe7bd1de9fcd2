#include "admin/profiles/ProfilePageLook.h"

#include "admin/profiles/NewProfileWizard.h"
#include "admin/shell/BMButton.h"

void EnterLastProfilePage(CNewProfileWizard* wizard) {
  wizard->SetTitle(QStringLiteral("New Profile : Build Query"));
  if (!wizard->IsEditMode()) {
    wizard->ShowButton(CWizardSheet::Button::Back, true);
    wizard->ShowButton(CWizardSheet::Button::Next, false);
    wizard->ShowButton(CWizardSheet::Button::Apply, true);
  }
  wizard->GetButton(CWizardSheet::Button::Apply)->setEnabled(false);
}
