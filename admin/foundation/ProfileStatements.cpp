#include "admin/foundation/ProfileStatements.h"

#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/SettingsStatement.h"
#include "admin/foundation/StatusFlags.h"
#include "shared/contract/SettingsTables.h"
#include "shared/odbc/SqlQuotes.h"

int SaveProfileInfo(admin::CDatabseConnection& connection, const ProfileRecord& record) {
  const QString sql =
      QStringLiteral(
          "Insert into  %1 (ProfileID, DBInfo, DBType, DB_DSN, UserName, Password, Query, Path, "
          "UserList, PrimaryKeyField, SyncDestination, tempPath, ProfileType, IsPrimaryKeySelected, "
          "SortColumnsInfo, FiltersInfo) values(%2 , '%3', '%4', '%5', '%6', '%7', '%8', '%9', '%10', '%11', "
          "'%12', '%13', %14, %15, '%16','%17')")
          .arg(settingsdb::kProfileInfo)
          .arg(QString::number(record.ProfileID), SqlTextValue(record.DBInfo), SqlTextValue(record.DBType),
               SqlTextValue(record.DB_DSN), SqlTextValue(record.UserName), SqlTextValue(record.Password),
               SqlTextValue(record.Query), SqlTextValue(record.Path), SqlTextValue(record.UserList), QString(),
               SqlTextValue(record.SyncDestination), SqlTextValue(record.tempPath), QString::number(record.ProfileType),
               QString::number(record.IsPrimaryKeySelected), SqlTextValue(record.SortColumnsInfo),
               SqlTextValue(record.FiltersInfo));
  if (RunSettingsStatement(connection, sql)) return 1;
  RaiseSettingsFailure(connection, QStringLiteral("Could not save Database ProfileInfo."));
  return 0;
}

int SaveUserProfileStatus(admin::CDatabseConnection& connection, const ProfileStatusRecord& record) {
  const QString sql =
      QStringLiteral("Insert into  %1 (UserID, ProfileID, StatusFlag) values('%2', '%3', '%4')")
          .arg(settingsdb::kUserProfileStatus)
          .arg(SqlTextValue(record.UserID), QString::number(record.ProfileID), SqlTextValue(record.StatusFlag));
  if (RunSettingsStatement(connection, sql)) return 1;
  RaiseSettingsFailure(connection, QStringLiteral("Could not save UserProfileStatus."));
  return 0;
}

bool MarkProfileStatusDeleted(admin::CDatabseConnection& settings, int32_t profileId) {
  const QString sql = QStringLiteral("Update %1 Set StatusFlag = '%2' where ProfileID = %3")
                          .arg(settingsdb::kUserProfileStatus)
                          .arg(kDeleteStatusFlag, QString::number(profileId));
  return RunSettingsStatement(settings, sql);
}

bool DeleteProfileInfoRow(admin::CDatabseConnection& settings, int32_t profileId) {
  return RunSettingsStatement(
      settings, QStringLiteral("DELETE FROM %1 where ProfileID = %2").arg(settingsdb::kProfileInfo).arg(profileId));
}

int DeleteProfile(admin::CDatabseConnection& settings, int32_t profileId) {
  const QString id = QString::number(profileId);
  if (!MarkProfileStatusDeleted(settings, profileId)) {
    // Without the "D" rows the devices would never hear of the deletion: keep the profile.
    WriteAppLog(89,
                QStringLiteral("Error while updating UserProfileStatus for ProfileId %1 to Delete Status.").arg(id));
    return 0;
  }
  if (!DeleteProfileInfoRow(settings, profileId))
    WriteAppLog(-89, QStringLiteral("Error to Delete ProfileInfo for ProfileId %1.").arg(id));
  DeleteNextRecIndex(profileId);
  return 1;
}
