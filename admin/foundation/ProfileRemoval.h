#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

namespace admin { class CDatabseConnection; }

// What became of a removal of profiles, and the message (stop icon) its caller shows when it
// was refused; the message is empty otherwise.
struct ProfileRemovalResult {
  enum class Outcome {
    Removed,
    // A form reads one of the profiles as its lookup source.
    RefusedLookupSource,
    // A Go To Form button points at a form of one of the profiles.
    RefusedGoToTarget,
    // The caller declined to remove a profile's forms with it.
    Declined,
  };
  Outcome outcome = Outcome::Removed;
  QString message;
  // The profiles whose deletion succeeded, in the order given.
  QList<int32_t> removed;
};

// Asked for a profile that has forms before anything is removed; false keeps every profile.
using ConfirmFormsRemoval = std::function<bool(int32_t profileId)>;

// Removes profiles with their forms, or none of them: when one of them is the lookup source of a
// form, or has a form a Go To Form button points at, nothing is removed and the message says
// why. Otherwise each profile is deleted (its status rows marked "D", its row and record index
// gone) and, once that succeeded, its forms, so that no form outlives its profile. `settings` is
// the application's settings connection.
ProfileRemovalResult RemoveProfiles(admin::CDatabseConnection& settings, const QList<int32_t>& profiles,
                                    const ConfirmFormsRemoval& confirmForms = {});
