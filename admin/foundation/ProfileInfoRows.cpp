#include "admin/foundation/ProfileInfoRows.h"

#include "admin/foundation/SettingsQuery.h"
#include "shared/contract/SettingsTables.h"

namespace {

// The columns of ProfileInfo in table order; PrimaryKeyField (9) is not read.
enum ProfileColumn : int16_t {
  kProfileID,
  kDBInfo,
  kDBType,
  kDB_DSN,
  kUserName,
  kPassword,
  kQuery,
  kPath,
  kUserList,
  kPrimaryKeyField,
  kSyncDestination,
  kTempPath,
  kProfileType,
  kIsPrimaryKeySelected,
  kSortColumnsInfo,
  kFiltersInfo,
};

const QString kSelectProfiles =
    QStringLiteral(
        "Select ProfileID, DBInfo, DBType, DB_DSN, UserName, Password, Query, Path, UserList, PrimaryKeyField, "
        "SyncDestination, tempPath, ProfileType, IsPrimaryKeySelected, SortColumnsInfo, FiltersInfo from %1")
        .arg(settingsdb::kProfileInfo);

ProfileRecord ReadRecord(SettingsQuery& query) {
  ProfileRecord record;
  record.ProfileID = query.Number(kProfileID);
  record.DBInfo = query.Text(kDBInfo);
  record.DBType = query.Text(kDBType);
  record.DB_DSN = query.Text(kDB_DSN);
  record.UserName = query.Text(kUserName);
  record.Password = query.Text(kPassword);
  record.Query = query.Text(kQuery);
  record.Path = query.Text(kPath);
  record.UserList = query.Text(kUserList);
  record.SyncDestination = query.Text(kSyncDestination);
  record.tempPath = query.Text(kTempPath);
  record.ProfileType = query.Number(kProfileType);
  record.IsPrimaryKeySelected = query.Number(kIsPrimaryKeySelected);
  record.SortColumnsInfo = query.Text(kSortColumnsInfo);
  record.FiltersInfo = query.Text(kFiltersInfo);
  return record;
}

}  // namespace

QList<ProfileRecord> ReadStoredProfiles(const admin::CDatabseConnection& settings) {
  QList<ProfileRecord> records;
  SettingsQuery query(settings, kSelectProfiles);
  while (query.NextRow()) records.append(ReadRecord(query));
  return records;
}

bool ReadStoredProfile(const admin::CDatabseConnection& settings, int32_t profileId, ProfileRecord* record) {
  SettingsQuery query(settings, kSelectProfiles + QStringLiteral(" where ProfileID = %1").arg(profileId));
  if (!query.NextRow()) return false;
  *record = ReadRecord(query);
  return true;
}
