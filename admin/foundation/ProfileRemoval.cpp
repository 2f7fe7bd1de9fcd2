#include "admin/foundation/ProfileRemoval.h"

#include "admin/foundation/FormQueries.h"
#include "admin/foundation/FormStatements.h"
#include "admin/foundation/ProfileStatements.h"

namespace {

using Outcome = ProfileRemovalResult::Outcome;

// The refusal of the first profile that must stay; Removed when every one may go.
ProfileRemovalResult CheckRemovable(const admin::CDatabseConnection& settings, const QList<int32_t>& profiles) {
  ProfileRemovalResult result;
  for (const int32_t profileId : profiles) {
    QString title;
    if (FindFormUsingLookupProfile(settings, profileId, &title) == 1) {
      result.outcome = Outcome::RefusedLookupSource;
      result.message =
          QStringLiteral("You can not delete this profile, Profile is used as Lookup Profile in \"%1\" Form.")
              .arg(title);
      return result;
    }
    if (IsProfileFormGoToTarget(settings, profileId) == 1) {
      result.outcome = Outcome::RefusedGoToTarget;
      result.message = QStringLiteral(
          "You can not delete this Profile, Form assigned to this Profile is used in another Form for \"Go To Form\" "
          "option.");
      return result;
    }
  }
  return result;
}

bool ConfirmedForms(const admin::CDatabseConnection& settings, const QList<int32_t>& profiles,
                    const ConfirmFormsRemoval& confirmForms) {
  if (!confirmForms) return true;
  for (const int32_t profileId : profiles)
    if (ProfileHasForms(settings, profileId) == 1 && !confirmForms(profileId)) return false;
  return true;
}

}  // namespace

ProfileRemovalResult RemoveProfiles(admin::CDatabseConnection& settings, const QList<int32_t>& profiles,
                                    const ConfirmFormsRemoval& confirmForms) {
  ProfileRemovalResult result = CheckRemovable(settings, profiles);
  if (result.outcome != Outcome::Removed) return result;
  if (!ConfirmedForms(settings, profiles, confirmForms)) {
    result.outcome = Outcome::Declined;
    return result;
  }
  for (const int32_t profileId : profiles) {
    if (DeleteProfile(settings, profileId) != 1) continue;
    DeleteFormsOfProfile(settings, profileId);
    result.removed.append(profileId);
  }
  return result;
}
