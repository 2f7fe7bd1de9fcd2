#include "admin/profiles/ProfileList.h"

#include "admin/foundation/ProfileInfoRows.h"
#include "admin/foundation/ProfileQueries.h"

namespace {

QString SourceText(const ProfileRecord& record) {
  return record.DBType == u"0" ? record.DB_DSN : record.Path + record.DB_DSN;
}

}  // namespace

QList<ProfileListRow> LoadProfileList(const admin::CDatabseConnection& settings) {
  const QList<ProfileRecord> records = ReadStoredProfiles(settings);
  QList<ProfileListRow> rows;
  for (const ProfileRecord& record : records) {
    if (IsProfileAssigned(settings, record.ProfileID) == 0) continue;
    QString flag;
    const bool pending = GetProfileStatusFlag(&flag, settings, record.ProfileID) == 1 && !flag.isEmpty();
    rows.append({record.ProfileID, record.DBInfo, SourceText(record), record.Query, pending});
  }
  return rows;
}
