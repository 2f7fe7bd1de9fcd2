#include "admin/forms/DesignerProfile.h"

#include "admin/foundation/ProfileColumnTypes.h"
#include "admin/foundation/ProfileInfoRows.h"
#include "admin/foundation/ProfileQueries.h"

int LoadProfileForDesigner(const admin::CDatabseConnection& settings, const QString& profileName, DesignerProfile* profile) {
  ProfileRecord record;
  const int32_t profileId = GetProfileIDByName(settings, profileName);
  if (profileId == 0 || !ReadStoredProfile(settings, profileId, &record)) return 0;
  DesignerProfile loaded;
  loaded.ProfileID = record.ProfileID;
  loaded.ProfileType = record.ProfileType;
  if (GetProfileColumnTypes(&loaded.ColumnNames, &loaded.ColumnTypes, record) != 1) return 0;
  *profile = loaded;
  return 1;
}
