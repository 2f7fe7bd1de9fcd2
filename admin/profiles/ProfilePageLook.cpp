#include "admin/profiles/ProfilePageLook.h"

#include "admin/profiles/ProfileDraft.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/WizardSheet.h"

void EnterLastProfilePage(CWizardSheet& wizard, const ProfileDraft& draft) {
  wizard.SetTitle(QStringLiteral("New Profile : Build Query"));
  if (!draft.IsEditMode()) {
    wizard.ShowButton(CWizardSheet::Button::Back, true);
    wizard.ShowButton(CWizardSheet::Button::Next, false);
    wizard.ShowButton(CWizardSheet::Button::Apply, true);
  }
  wizard.GetButton(CWizardSheet::Button::Apply)->setEnabled(false);
}
