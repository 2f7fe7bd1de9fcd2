#include "admin/foundation/FormQueries.h"

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/SettingsQuery.h"
#include "admin/foundation/StatusFlags.h"
#include "shared/contract/SettingsTables.h"
#include "shared/odbc/SqlQuotes.h"

namespace {

// Columns of "Select * from FormInfo".
constexpr int16_t kFormProfileColumn = 1;
constexpr int16_t kFormTitleColumn = 2;

}  // namespace

int IsFormAssigned(const admin::CDatabseConnection& connection, int32_t formId) {
  const QString sql = QStringLiteral("SELECT * from %1 where FormID = %2").arg(settingsdb::kUserFormStatus).arg(formId);
  return LiveStatusFlags(connection, sql, 2).isEmpty() ? 0 : 1;
}

int32_t GetFormIDByTitle(const admin::CDatabseConnection& connection, const QString& title) {
  return SettingsQuery::FirstNumber(connection, QStringLiteral("Select FormID from %1 where FormTitle = '%2'")
                                                    .arg(settingsdb::kFormInfo)
                                                    .arg(SqlTextValue(title)));
}

int ProfileHasForms(const admin::CDatabseConnection& connection, int32_t profileId) {
  const QString sql =
      QStringLiteral("Select count(*) From %1 Where ProfileID = %2").arg(settingsdb::kFormInfo).arg(profileId);
  return SettingsQuery::FirstNumber(connection, sql) != 0 ? 1 : 0;
}

int IsFormTitleUsed(const admin::CDatabseConnection& connection, const QString& title) {
  const QString sql = QStringLiteral("SELECT count(*) from %1 where FormTitle = '%2'")
                          .arg(settingsdb::kFormInfo)
                          .arg(SqlTextValue(title));
  return SettingsQuery::FirstNumber(connection, sql) != 0 ? 1 : 0;
}

int FindFormUsingLookupProfile(const admin::CDatabseConnection& settings, int32_t profileId, QString* title) {
  title->clear();
  if (!settings.IsConnected()) return 0;
  // The closing tag keeps profile 1 from matching a lookup of profile 12.
  const QString probe = QStringLiteral("<LkProfileID>%1</LkProfileID>").arg(profileId);
  SettingsQuery query(settings, QStringLiteral("Select TabID, TabTitle, TabFormInfo, FormTitle From %1, "
                                               "%2 Where %1.FormID = %2.FormID")
                                    .arg(settingsdb::kFormDetails, settingsdb::kFormInfo));
  while (query.NextRow()) {
    if (!query.Text(2).contains(probe)) continue;
    *title = query.Text(3);
    return 1;
  }
  return 0;
}

void GetFormList(const admin::CDatabseConnection& settings, const QString& excludedTitle, QStringList* titles,
                 QStringList* profiles) {
  if (!settings.IsConnected()) return;
  SettingsQuery query(settings, QStringLiteral("Select * from %1").arg(settingsdb::kFormInfo));
  while (query.NextRow()) {
    const int32_t profileId = query.Number(kFormProfileColumn);
    const QString title = query.Text(kFormTitleColumn);
    if (title == excludedTitle) continue;
    titles->append(title);
    profiles->append(QString::number(profileId));
  }
}

int IsGoToFormTarget(const admin::CDatabseConnection& settings, const QString& title) {
  return GetGoToFormSource(settings, title) ? 1 : 0;
}

std::optional<QString> GetGoToFormSource(const admin::CDatabseConnection& settings, const QString& title) {
  if (title.isEmpty() || !settings.IsConnected()) return std::nullopt;
  // The closing tag keeps a title from matching a longer title that begins with it.
  const QString probe = QStringLiteral("<DestForm>") + title + QStringLiteral("</DestForm>");
  SettingsQuery query(settings, QStringLiteral("Select %1.FormID, FormTitle, TabTitle, TabFormInfo from %1, "
                                               "%2 Where %1.FormID = %2.FormID")
                                    .arg(settingsdb::kFormInfo, settingsdb::kFormDetails));
  while (query.NextRow()) {
    if (query.Text(3).contains(probe)) return query.Text(1);
  }
  return std::nullopt;
}

int IsProfileFormGoToTarget(const admin::CDatabseConnection& settings, int32_t profileId) {
  if (!settings.IsConnected()) return 0;
  const QStringList titles = SettingsQuery::ColumnTexts(
      settings, QStringLiteral("Select * from %1 Where ProfileID = %2").arg(settingsdb::kFormInfo).arg(profileId),
      kFormTitleColumn);
  for (const QString& title : titles) {
    if (IsGoToFormTarget(settings, title) == 1) return 1;
  }
  return 0;
}
