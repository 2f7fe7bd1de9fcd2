#include "admin/forms/FormListRows.h"

#include "admin/foundation/SettingsQuery.h"
#include "shared/contract/SettingsTables.h"

std::vector<FormListRow> ReadFormListRows(const admin::CDatabseConnection& settings) {
  SettingsQuery query(settings, QStringLiteral("Select FormID, FormTitle, DBInfo, FormInfo  from %1, %2 "
                                               "Where %1.ProfileID = %2.ProfileID")
                                    .arg(settingsdb::kFormInfo, settingsdb::kProfileInfo));
  std::vector<FormListRow> rows;
  while (query.NextRow()) rows.push_back({query.Number(0), query.Text(1), query.Text(2), query.Text(3)});
  return rows;
}
