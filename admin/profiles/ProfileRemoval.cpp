#include "admin/profiles/ProfileRemoval.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/FormQueries.h"
#include "admin/foundation/FormStatements.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/foundation/ProfileStatements.h"
#include "admin/profiles/ProfileList.h"
#include "platform/widgets/MessageBox.h"

namespace {

const QString kNoProfileSelected = QStringLiteral("No Profile is Selected.");

bool IsSampleProfile(int32_t profileId, const QString& name) {
  return (profileId == 1 || profileId == 2) && (name == u"SampleProfile_Artist" || name == u"SampleProfile_Inventory");
}

int Show(const QString& text, unsigned type) { return platform::MessageBox(nullptr, text, ProgramTitle(), type); }

bool Ask(const QString& question) {
  return Show(question, platform::MB_YESNO | platform::MB_DEFBUTTON2) == platform::IDYES;
}

// The forms that keep the profile: a lookup source or a Go To Form target is refused; other
// forms go with it when the user agrees. True when the removal may go on.
bool MayRemoveWithForms(const CDatabseConnection& settings, int32_t profileId, const QString& name) {
  QString title;
  if (FindFormUsingLookupProfile(settings, profileId, &title) == 1) {
    Show(
        QStringLiteral("You can not delete this profile, Profile is used as Lookup Profile in \"%1\" Form.").arg(title),
        platform::MB_OK | platform::MB_ICONERROR);
    return false;
  }
  if (ProfileHasForms(settings, profileId) == 0) return true;
  if (IsProfileFormGoToTarget(settings, profileId) == 1) {
    Show(QStringLiteral("You can not delete this Profile, Form assigned to this Profile is used in another Form for "
                        "\"Go To Form\" option."),
         platform::MB_OK | platform::MB_ICONERROR);
    return false;
  }
  return Ask(QStringLiteral("This Profile have Form assigned, Are you sure to remove Profile : %1 ?").arg(name));
}

}  // namespace

QString EditProfileRefusal(const CDatabseConnection& settings, const QString& name, ProfileRecord* record) {
  if (name.isEmpty()) return kNoProfileSelected;
  const int32_t profileId = GetProfileIDByName(settings, name);
  // Removed meanwhile: editing what the list still shows would write over another profile.
  if (profileId == 0) return kNoProfileSelected;
  if (IsSampleProfile(profileId, name)) return QStringLiteral("You Can not Edit Sample Profile.");
  QString flag;
  if (GetProfileStatusFlag(&flag, settings, profileId) == 1 && !flag.isEmpty())
    return QStringLiteral(
        "Profile is in syncing process, please wait. You will able to edit the profile, when profile's red color "
        "changes to normal color..");
  if (!ReadStoredProfile(settings, profileId, record)) return kNoProfileSelected;
  return {};
}

bool RemoveListedProfile(CDatabseConnection& settings, const QString& name) {
  if (name.isEmpty()) {
    Show(kNoProfileSelected, platform::MB_OK);
    return false;
  }
  if (!Ask(QStringLiteral("Are you sure to remove Profile : %1 ?").arg(name))) return false;
  const int32_t profileId = GetProfileIDByName(settings, name);
  WriteAppLog(23, QStringLiteral("Remove Profile %1 with Profile ID %2.").arg(name).arg(profileId));
  if (profileId == 0) {
    Show(kNoProfileSelected, platform::MB_OK);
    return false;
  }
  if (!MayRemoveWithForms(settings, profileId, name)) return false;
  if (DeleteProfile(settings, profileId) != 1) {
    const QString failure = QStringLiteral("Failed to remove Profile : %1.").arg(name);
    WriteAppLog(-1, failure);
    Show(failure, platform::MB_OK | platform::MB_ICONERROR);
    return false;
  }
  WriteAppLog(24, QStringLiteral("Profile %1 with Profile ID %2 is removed.").arg(name).arg(profileId));
  if (ProfileHasForms(settings, profileId) == 1) DeleteFormsOfProfile(settings, profileId);
  return true;
}

QString SyncProcessWarning(int running) {
  switch (running) {
    case 1:
      return {};
    case 0:
      return QStringLiteral(
          "Synchronization Service is Stopped, \r\nto Start go to \"Preferences -> Start Synchronization\".");
    default:
      return QStringLiteral(
          "Unable to check SyncService status, \r\nto Start go to \"Preferences -> Start Synchronization\".");
  }
}
