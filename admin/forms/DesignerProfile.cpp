#include "admin/forms/DesignerProfile.h"

#include "admin/foundation/ProfileColumnTypes.h"
#include "admin/foundation/ProfileRecord.h"
#include "admin/foundation/SettingsQuery.h"
#include "shared/odbc/SqlQuotes.h"

namespace {

// The record of the profile; false when no profile has that name.
bool ReadProfileRecord(const CDatabseConnection& settings, const QString& profileName, ProfileRecord* record) {
  SettingsQuery query(settings,
                      QStringLiteral("SELECT ProfileID, DBInfo, DBType, DB_DSN, UserName, Password, Query, Path, "
                                     "UserList, SyncDestination, tempPath, ProfileType, IsPrimaryKeySelected "
                                     "FROM ProfileInfo WHERE DBInfo = '%1'")
                          .arg(SqlTextValue(profileName)));
  if (!query.NextRow()) return false;
  record->ProfileID = query.Number(0);
  record->DBInfo = query.Text(1);
  record->DBType = query.Text(2);
  record->DB_DSN = query.Text(3);
  record->UserName = query.Text(4);
  record->Password = query.Text(5);
  record->Query = query.Text(6);
  record->Path = query.Text(7);
  record->UserList = query.Text(8);
  record->SyncDestination = query.Text(9);
  record->tempPath = query.Text(10);
  record->ProfileType = query.Number(11);
  record->IsPrimaryKeySelected = query.Number(12);
  return true;
}

}  // namespace

int LoadProfileForDesigner(const CDatabseConnection& settings, const QString& profileName, DesignerProfile* profile) {
  ProfileRecord record;
  if (!ReadProfileRecord(settings, profileName, &record)) return 0;
  DesignerProfile loaded;
  loaded.ProfileID = record.ProfileID;
  loaded.ProfileType = record.ProfileType;
  if (GetProfileColumnTypes(&loaded.ColumnNames, &loaded.ColumnTypes, record) != 1) return 0;
  *profile = loaded;
  return 1;
}
