#pragma once

#include <QSize>

class CWizardSheet;
class ProfileDraft;

// The size of every page of the profile wizard.
inline constexpr QSize kProfilePageSize(500, 290);

// Entering a page that ends the wizard: the title "New Profile : Build Query"; a new profile
// gets Back and Apply in place of Next. Apply stays disabled until the page builds a query.
void EnterLastProfilePage(CWizardSheet& wizard, const ProfileDraft& draft);
