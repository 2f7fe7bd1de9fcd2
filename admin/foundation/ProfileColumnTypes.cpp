#include "admin/foundation/ProfileColumnTypes.h"

#include "admin/foundation/ProfileDataReader.h"
#include "admin/foundation/SqlTypes.h"

int GetProfileColumnTypes(QStringList* names, QStringList* types, const ProfileRecord& profile) {
  ProfileDataReader reader;
  reader.Profile() = profile;
  if (reader.OpenProfileSource() != 1 || reader.ExecuteProfileQuery() != 1) return 0;
  for (int16_t column = 0; column < reader.GetColumnCount(); ++column) {
    names->append(reader.GetProfileColumnName(column));
    types->append(GetSqlTypeName(reader.GetProfileColumnSqlType(column)));
  }
  return 1;
}
