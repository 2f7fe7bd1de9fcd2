#include "admin/profiles/ProfileManagerActions.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/ProfileInfoRows.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/foundation/ProfileRemoval.h"
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

}  // namespace

QString EditProfileRefusal(const admin::CDatabseConnection& settings, const QString& name, ProfileRecord* record) {
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

bool RemoveListedProfile(admin::CDatabseConnection& settings, const QString& name) {
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
  const ProfileRemovalResult result = RemoveProfiles(settings, {profileId}, [&name](int32_t) {
    return Ask(QStringLiteral("This Profile have Form assigned, Are you sure to remove Profile : %1 ?").arg(name));
  });
  if (!result.message.isEmpty()) {
    Show(result.message, platform::MB_OK | platform::MB_ICONERROR);
    return false;
  }
  if (result.outcome == ProfileRemovalResult::Outcome::Declined) return false;
  if (result.removed.isEmpty()) {
    const QString failure = QStringLiteral("Failed to remove Profile : %1.").arg(name);
    WriteAppLog(-1, failure);
    Show(failure, platform::MB_OK | platform::MB_ICONERROR);
    return false;
  }
  WriteAppLog(24, QStringLiteral("Profile %1 with Profile ID %2 is removed.").arg(name).arg(profileId));
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
