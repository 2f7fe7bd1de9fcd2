#include "admin/foundation/PasswordStatements.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/SettingsQuery.h"
#include "admin/foundation/SettingsStatement.h"
#include "shared/contract/SettingsTables.h"
#include "shared/odbc/SqlQuotes.h"

int SaveUserPasswordStatus(admin::CDatabseConnection& connection, const PasswordStatusRecord& record) {
  const QString sql =
      QStringLiteral("Insert into %1 (UserID, Password, StatusFlag) values('%2', '%3', '%4')")
          .arg(settingsdb::kUserPasswordStatus)
          .arg(SqlTextValue(record.UserID), SqlTextValue(record.Password), SqlTextValue(record.StatusFlag));
  if (RunSettingsStatement(connection, sql)) return 1;
  WriteAppLog(73, QStringLiteral("Error to save UserPasswordStatus for User %1 to Status '%2'.")
                      .arg(record.UserID, record.StatusFlag));
  RaiseSettingsFailure(connection, QStringLiteral("Could not save UserPasswordStatus."));
  return 0;
}

int UpdateUserPasswordStatus(admin::CDatabseConnection& connection, const PasswordStatusRecord& record) {
  const QString sql =
      QStringLiteral("Update %1 Set Password = '%2', StatusFlag = '%3' Where UserID = '%4'")
          .arg(settingsdb::kUserPasswordStatus)
          .arg(SqlTextValue(record.Password), SqlTextValue(record.StatusFlag), SqlTextValue(record.UserID));
  if (RunSettingsStatement(connection, sql)) return 1;
  WriteAppLog(72, QStringLiteral("Error to Update UserPasswordStatus for User %1 to Status '%2'.")
                      .arg(record.UserID, record.StatusFlag));
  RaiseSettingsFailure(connection, QStringLiteral("Could not Update UserPasswordStatus."));
  return 0;
}

int GetUserPasswordStatus(const admin::CDatabseConnection& connection, PasswordStatusRecord* record) {
  SettingsQuery query(connection, QStringLiteral("Select * From %1 Where UserID = '%2'")
                                      .arg(settingsdb::kUserPasswordStatus)
                                      .arg(SqlTextValue(record->UserID)));
  if (!query.NextRow()) return 0;
  record->Password = query.Text(1);
  record->StatusFlag = query.Text(2);
  return 1;
}
