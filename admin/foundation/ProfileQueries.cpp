#include "admin/foundation/ProfileQueries.h"

#include "admin/foundation/SettingsQuery.h"
#include "admin/foundation/StatusFlags.h"
#include "shared/contract/SettingsTables.h"
#include "shared/formtext/TaggedText.h"
#include "shared/odbc/SqlQuotes.h"

#include <algorithm>

namespace {

constexpr int16_t kStatusFlagColumn = 2;

QStringList LiveFlagsOfProfile(const admin::CDatabseConnection& connection, int32_t profileId) {
  return LiveStatusFlags(
      connection,
      QStringLiteral("SELECT * from %1 where ProfileID = %2").arg(settingsdb::kUserProfileStatus).arg(profileId),
      kStatusFlagColumn);
}

}  // namespace

int GetProfileStatusFlag(QString* flag, const admin::CDatabseConnection& connection, int32_t profileId) {
  const QStringList flags = LiveFlagsOfProfile(connection, profileId);
  if (flags.isEmpty()) return 0;
  *flag = flags.first();
  return 1;
}

int IsProfileAssigned(const admin::CDatabseConnection& connection, int32_t profileId) {
  return LiveFlagsOfProfile(connection, profileId).isEmpty() ? 0 : 1;
}

int CountProfileAssignments(const admin::CDatabseConnection& connection, int32_t profileId) {
  const QString sql =
      QStringLiteral("SELECT * from %1 Where ProfileID = %2").arg(settingsdb::kUserProfileStatus).arg(profileId);
  return static_cast<int>(LiveStatusFlags(connection, sql, kStatusFlagColumn).size());
}

int32_t GetHighestUsedProfileID(const admin::CDatabseConnection& connection) {
  int32_t highest = 0;
  for (const QString& table : {QStringLiteral("ProfileInfo"), QStringLiteral("UserProfileStatus")}) {
    SettingsQuery query(connection, QStringLiteral("SELECT MAX(ProfileID) FROM %1").arg(table));
    if (!query.IsExecuted()) return -1;
    if (query.NextRow()) highest = std::max(highest, query.Number(0));
  }
  return highest;
}

int UserHasProfiles(const admin::CDatabseConnection& connection, const QString& userId) {
  const QString sql = QStringLiteral("SELECT * from %1 where UserID = '%2'")
                          .arg(settingsdb::kUserProfileStatus)
                          .arg(SqlTextValue(userId));
  return LiveStatusFlags(connection, sql, kStatusFlagColumn).isEmpty() ? 0 : 1;
}

int IsProfileAssignedToUser(const admin::CDatabseConnection& connection, const QString& userId, int32_t profileId) {
  const QString sql = QStringLiteral("SELECT * from %1 Where UserID = '%2' and ProfileID = %3")
                          .arg(settingsdb::kUserProfileStatus)
                          .arg(SqlTextValue(userId), QString::number(profileId));
  return LiveStatusFlags(connection, sql, kStatusFlagColumn).size() == 1 ? 1 : 0;
}

int AnyProfileAssigned(const admin::CDatabseConnection& connection) {
  const QString sql = QStringLiteral(
                          "Select StatusFlag From %1, %2 Where %1.ProfileID = "
                          "%2.ProfileID")
                          .arg(settingsdb::kProfileInfo, settingsdb::kUserProfileStatus);
  return LiveStatusFlags(connection, sql, 0).isEmpty() ? 0 : 1;
}

int FindProfileByName(const admin::CDatabseConnection& connection, const QString& profileName) {
  const QString sql = QStringLiteral("SELECT count(*) from %1 where DBInfo = '%2'")
                          .arg(settingsdb::kProfileInfo)
                          .arg(SqlTextValue(profileName));
  return SettingsQuery::FirstNumber(connection, sql) != 0 ? 1 : 0;
}

int32_t GetProfileIDByName(const admin::CDatabseConnection& connection, const QString& profileName) {
  const QString sql = QStringLiteral("SELECT ProfileID from %1 where DBInfo = '%2'")
                          .arg(settingsdb::kProfileInfo)
                          .arg(SqlTextValue(profileName));
  return SettingsQuery::FirstNumber(connection, sql);
}

QString GetProfileName(const admin::CDatabseConnection& settings, int32_t profileId) {
  SettingsQuery query(
      settings,
      QStringLiteral("SELECT DBInfo from %1 where ProfileID = %2").arg(settingsdb::kProfileInfo).arg(profileId));
  return query.NextRow() ? query.Text(0) : QString();
}

int GetProfilesOnlyOfUser(const QString& userId, QList<int32_t>* profiles, const admin::CDatabseConnection& connection) {
  int appended = 0;
  for (const QString& text : SettingsQuery::ColumnTexts(
           connection, QStringLiteral("SELECT ProfileID from %1").arg(settingsdb::kProfileInfo), 0)) {
    const int32_t profileId = taggedtext::ToInt(text);
    if (CountProfileAssignments(connection, profileId) == 1 &&
        IsProfileAssignedToUser(connection, userId, profileId) == 1) {
      profiles->append(profileId);
      appended = 1;
    }
  }
  return appended;
}
