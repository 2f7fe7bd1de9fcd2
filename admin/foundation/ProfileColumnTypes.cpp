#include "admin/foundation/ProfileColumnTypes.h"

#include "admin/foundation/ExcelProfile.h"
#include "admin/foundation/ProfileDataReader.h"
#include "admin/foundation/SqlTypes.h"

int GetProfileColumnTypes(QStringList* names, QStringList* types, const ProfileRecord& profile) {
  // A workbook read as text is exported afresh; when that fails, the text files of an earlier
  // export would be read as if they were current.
  if (profile.Path != profile.tempPath && admin::ConnectExcelProfile(profile.Path + profile.DB_DSN, profile.DB_DSN) == 0) {
    return 0;
  }
  admin::ProfileDataReader reader;
  reader.Profile() = profile;
  if (reader.OpenProfileSource() != 1 || reader.ExecuteProfileQuery() != 1) return 0;
  for (int16_t column = 0; column < reader.GetColumnCount(); ++column) {
    names->append(reader.GetProfileColumnName(column));
    types->append(GetSqlTypeName(reader.GetProfileColumnSqlType(column)));
  }
  return 1;
}
