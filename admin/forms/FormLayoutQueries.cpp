#include "admin/forms/FormLayoutQueries.h"

#include "admin/forms/FormMapping.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/SettingsQuery.h"
#include "shared/contract/SettingsTables.h"
#include "shared/formtext/FormTextReader.h"

namespace {

void AppendMissing(const QStringList& names, QStringList* columns) {
  for (const QString& name : names) {
    if (!columns->contains(name)) columns->append(name);
  }
}

// A damaged stored text is read as far as it is whole; what was wrong goes to the log.
void LogProblems(const QString& function, const FormTextReader& reader) {
  for (const QString& problem : reader.Problems())
    WriteAppLog(-1, QStringLiteral("<%1> ").arg(function) + problem);
}

std::vector<StoredControl> ReadTab(const QString& function, const QString& text) {
  FormTextReader reader;
  std::vector<StoredControl> controls = reader.ReadTab(text);
  LogProblems(function, reader);
  return controls;
}

QStringList GroupColumns(const QString& formText) {
  FormTextReader reader;
  FormLevelInfo form;
  reader.ReadFormLevel(formText, &form);
  LogProblems(QStringLiteral("GetFormMappedColumns"), reader);
  QStringList names;
  for (const RadioGroupInfo& group : form.Groups) names.append(group.DataColumn);
  return names;
}

}  // namespace

void GetFormMappedColumns(const admin::CDatabseConnection& settings, int32_t profileId, QStringList* columns) {
  if (!settings.IsConnected()) return;
  SettingsQuery forms(settings, QStringLiteral("Select FormID ,FormInfo  from %1 Where ProfileID = %2")
                                    .arg(settingsdb::kFormInfo)
                                    .arg(profileId));
  while (forms.NextRow()) {
    QStringList tabColumns;
    GetFormTabMappedColumns(settings, forms.Number(0), &tabColumns);
    AppendMissing(tabColumns, columns);
    AppendMissing(GroupColumns(forms.Text(1)), columns);
  }
}

void GetFormTabMappedColumns(const admin::CDatabseConnection& settings, int32_t formId, QStringList* columns) {
  if (!settings.IsConnected()) return;
  SettingsQuery tabs(
      settings,
      QStringLiteral("Select TabFormInfo from %1 Where FormID = %2").arg(settingsdb::kFormDetails).arg(formId));
  while (tabs.NextRow()) {
    for (const StoredControl& control : ReadTab(QStringLiteral("GetFormTabMappedColumns"), tabs.Text(0))) {
      const FormControlProperties& c = control.Properties;
      if (CFormMapping::MapsADataColumn(c.Type) && !c.DataColumn.isEmpty()) columns->append(c.DataColumn);
    }
  }
}

void GetLookupColumns(const admin::CDatabseConnection& settings, int32_t profileId, QStringList* columns) {
  if (!settings.IsConnected()) return;
  // The lookup columns come from all stored tabs, whichever form holds them, so one stored form
  // is enough to read them.
  SettingsQuery forms(settings, QStringLiteral("Select FormID from %1").arg(settingsdb::kFormInfo));
  if (!forms.NextRow()) return;
  QStringList lookups;
  GetFormLookupColumns(settings, &lookups, profileId);
  AppendMissing(lookups, columns);
}

void GetFormLookupColumns(const admin::CDatabseConnection& settings, QStringList* columns, int32_t profileId) {
  if (!settings.IsConnected()) return;
  SettingsQuery tabs(settings, QStringLiteral("Select TabFormInfo from %1").arg(settingsdb::kFormDetails));
  while (tabs.NextRow()) {
    for (const StoredControl& control : ReadTab(QStringLiteral("GetFormLookupColumns"), tabs.Text(0))) {
      const FormControlProperties& c = control.Properties;
      if (c.Type != kComboBox || c.SrcType != kSourceAnotherProfile || c.LkProfileID != profileId) continue;
      columns->append(c.LkCol);
      columns->append(c.LkViewCol);
    }
  }
}
