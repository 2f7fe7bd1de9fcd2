#include "admin/foundation/FormStatements.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/SettingsQuery.h"
#include "admin/foundation/SettingsStatement.h"
#include "admin/foundation/StatusFlags.h"
#include "shared/contract/SettingsTables.h"
#include "shared/formtext/TaggedText.h"
#include "shared/odbc/SqlQuotes.h"

namespace {

int RunSave(admin::CDatabseConnection& connection, const QString& sql, const QString& failure) {
  if (RunSettingsStatement(connection, sql)) return 1;
  RaiseSettingsFailure(connection, failure);
  return 0;
}

// The statements that delete a form: its status rows marked first, so the sync program tells
// the devices, then its tabs and its own row.
QString MarkStatusRowsDeleted(const QString& id) {
  return QStringLiteral("Update %1 Set StatusFlag = '%2' where FormID = %3")
      .arg(settingsdb::kUserFormStatus)
      .arg(kDeleteStatusFlag, id);
}
QString DeleteTabRows(const QString& id) {
  return QStringLiteral("DELETE FROM %1 where FormID = %2").arg(settingsdb::kFormDetails).arg(id);
}
QString DeleteFormRow(const QString& id) {
  return QStringLiteral("DELETE FROM %1 where FormID = %2").arg(settingsdb::kFormInfo).arg(id);
}

}  // namespace

int SaveFormInfo(admin::CDatabseConnection& connection, int32_t formId, int32_t profileId, const QString& title,
                 const QString& formText) {
  const QString sql =
      QStringLiteral("Insert into  %1 (FormID, ProfileID, FormTitle, FormInfo) values(%2 , %3, '%4', '%5')")
          .arg(settingsdb::kFormInfo)
          .arg(QString::number(formId), QString::number(profileId), SqlTextValue(title), SqlTextValue(formText));
  return RunSave(connection, sql, QStringLiteral("Could not save Database FormInfo."));
}

int SaveFormDetails(admin::CDatabseConnection& connection, int32_t formId, int32_t tabIndex, const QString& tabTitle,
                    const QString& tabText) {
  const QString sql =
      QStringLiteral("Insert into  %1 (FormID, TabID, TabTitle, TabFormInfo) values(%2 , %3, '%4', '%5')")
          .arg(settingsdb::kFormDetails)
          .arg(QString::number(formId), QString::number(tabIndex), SqlTextValue(tabTitle), SqlTextValue(tabText));
  return RunSave(connection, sql, QStringLiteral("Could not save Database FormDetails."));
}

int SaveUserFormStatus(admin::CDatabseConnection& connection, int32_t formId, const QString& userId, const QString& flag) {
  const QString sql = QStringLiteral("Insert into  %1 (FormID, UserID, StatusFlag) values(%2 , '%3', '%4')")
                          .arg(settingsdb::kUserFormStatus)
                          .arg(QString::number(formId), SqlTextValue(userId), SqlTextValue(flag));
  return RunSave(connection, sql, QStringLiteral("Could not save Database UserFormStatus."));
}

int DeleteForm(admin::CDatabseConnection& settings, int32_t formId) {
  const QString id = QString::number(formId);
  if (!RunSettingsStatement(settings, MarkStatusRowsDeleted(id))) {
    WriteAppLog(-1, QStringLiteral("Error while updating UserFormStatus for FormID %1 to Delete Status.").arg(id));
    return 0;
  }
  if (!RunSettingsStatement(settings, DeleteTabRows(id)))
    WriteAppLog(-1, QStringLiteral("Error while deleting FormDetails of each tab for FormID %1.").arg(id));
  if (!RunSettingsStatement(settings, DeleteFormRow(id)))
    WriteAppLog(-1, QStringLiteral("Error while deleting FormInfo for FormID %1.").arg(id));
  return 1;
}

int DeleteFormInTransaction(admin::CDatabseConnection& settings, int32_t formId) {
  const QString id = QString::number(formId);
  for (const QString& sql : {MarkStatusRowsDeleted(id), DeleteTabRows(id), DeleteFormRow(id)})
    if (!RunSettingsStatement(settings, sql)) return 0;
  return 1;
}

int DeleteFormsOfProfile(admin::CDatabseConnection& settings, int32_t profileId) {
  // All identifiers are read before the first deletion, so no deletion moves the rows under a
  // cursor that is still being walked.
  const QStringList formIds = SettingsQuery::ColumnTexts(
      settings, QStringLiteral("Select * From %1 Where ProfileID = %2").arg(settingsdb::kFormInfo).arg(profileId), 0);
  for (const QString& formId : formIds) DeleteForm(settings, taggedtext::ToInt(formId));
  return 1;
}
