#include "admin/foundation/UserProfileList.h"

#include "admin/foundation/SettingsQuery.h"
#include "admin/foundation/StatusFlags.h"
#include "shared/contract/SettingsTables.h"
#include "shared/odbc/SqlQuotes.h"

namespace {

// Columns of a ProfileInfo row read by position.
constexpr int16_t kDBInfo = 1;
constexpr int16_t kDBType = 2;
constexpr int16_t kDB_DSN = 3;
constexpr int16_t kQuery = 6;
constexpr int16_t kPath = 7;

bool ReadProfileEntry(const admin::CDatabseConnection& settings, int32_t profileId, UserProfileEntry* entry) {
  SettingsQuery profile(
      settings, QStringLiteral("Select * from %1 Where ProfileID = %2").arg(settingsdb::kProfileInfo).arg(profileId));
  if (!profile.NextRow()) return false;
  const QString type = profile.Text(kDBType);
  entry->name = profile.Text(kDBInfo);
  entry->source = type == QStringLiteral("0") || type == QStringLiteral("6")
                      ? profile.Text(kDB_DSN)
                      : profile.Text(kPath) + profile.Text(kDB_DSN);
  entry->query = profile.Text(kQuery);
  return true;
}

}  // namespace

QList<UserProfileEntry> GetUserProfileEntries(const admin::CDatabseConnection& settings, const QString& pin) {
  QList<UserProfileEntry> entries;
  if (pin.isEmpty()) return entries;
  SettingsQuery assignments(settings, QStringLiteral("SELECT ProfileID, StatusFlag from %1 where UserID = '%2'")
                                          .arg(settingsdb::kUserProfileStatus)
                                          .arg(SqlTextValue(pin)));
  while (assignments.NextRow()) {
    if (!IsLiveStatusFlag(assignments.Text(1))) continue;
    UserProfileEntry entry;
    if (ReadProfileEntry(settings, assignments.Number(0), &entry)) entries.append(entry);
  }
  return entries;
}
