#include "sync/data/SyncLog.h"
#include "sync/data/UserFormStatusTable.h"
#include "sync/data/UserProfileStatusTable.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/MessageBuilders.h"
#include "sync/engine/RecordLookup.h"
#include "sync/engine/StatusChangeCheck.h"
#include "sync/engine/StatusWorkList.h"


namespace {

const QString kAdded = QStringLiteral("A");
const QString kDeleted = QStringLiteral("D");
const QString kUpdated = QStringLiteral("U");
const QString kUpdateSent = QStringLiteral("UD");
const QString kDefinitionSent = QStringLiteral("AD");
const QString kDataSent = QStringLiteral("AF");
const QString kInStep;

QString ProfileLine(const StatusRow& row) {
  return QStringLiteral("profile %1, userID = %2, Flag = %3").arg(row.id).arg(row.userId, row.flag);
}

QString FormLine(const StatusRow& row) {
  return QStringLiteral("Form %1, userID = %2, Flag = %3").arg(row.id).arg(row.userId, row.flag);
}

void Log(int code, const QString& text) { WriteSyncServiceLog(code, text); }

void Log(int code, const char* format, int32_t id) { WriteSyncServiceLog(code, QString::fromLatin1(format).arg(id)); }

// Moves the flag of every row of `id`; a failure logs `failure` and the table's error text.
void MoveFlag(StatusSettingsTable& table, int32_t id, const QString& from, const QString& to, int failureCode,
              const char* failure, int errorCode) {
  QString error;
  if (table.SetStatusFlag(id, from, to, &error) == 1) return;
  Log(failureCode, failure, id);
  Log(errorCode, error);
}

void DeleteRows(StatusSettingsTable& table, int32_t id, int failureCode, const char* failure, int errorCode) {
  QString error;
  if (table.DeleteStatusRecord(id, kDeleted, &error) == 1) return;
  Log(failureCode, failure, id);
  Log(errorCode, error);
}

// The snapshot of a profile the devices no longer hold; a missing file is no error.
void DeleteSnapshot(int32_t profileId) {
  CCdbFile snapshot;
  snapshot.SetCdbFileName(profileId);
  snapshot.Remove();
}

// Appends the message of `entry` when one was built; the entry is included only then.
void AppendMessage(QByteArray* buffer, DeviceListEntry* entry, const QByteArray& message) {
  entry->included = !message.isEmpty();
  *buffer += message;
}

// What a finish pass says about its kind of item.
struct FinishTexts {
  const char* prefix;      // "Finish Profile : "
  QString (*line)(const StatusRow&);
  const char* adding;      // "Add Finish ... %1 to BytesForSending."
  const char* sending;
  const char* problem;
  const char* success;
  const char* reset;
  const char* resetFailed;
  QByteArray (*message)(int32_t);
};

const FinishTexts kFinishedProfiles{
    "Finish Profile : ",
    &ProfileLine,
    "Add Finish Profile message for Profile %1 to BytesForSending.",
    "Send Data of Finished Profile to Web Service.",
    "Problem to Send Data of Finished Profile to Web Service.",
    "Successful to Send Data of Finished Profile to Web Service.",
    "Reset Status of Finished Profile %1.",
    "Failed to Reset Status of Finished Profile %1.",
    &messages::AddFinishProfileMessage};

const FinishTexts kFinishedForms{
    "Finish Form : ",
    &FormLine,
    "Add Finish Form message for Form %1 to BytesForSending.",
    "Send Data of Finished Form to Web Service.",
    "Problem to Send Data of Finished Form to Web Service.",
    "Successful to Send Data of Finished Form to Web Service.",
    "Reset Status of Finished Form %1.",
    "Failed to Reset Status of Finished Form %1.",
    &messages::AddFinishFormMessage};

// Sends the finish message of every item whose data went out ("AF") and marks it in step.
template <typename Table>
bool ProcessFinished(const FinishTexts& texts) {
  Table table;
  StatusWorkList work;
  for (const StatusRow& row : SelectStatusRows(table, QStringLiteral("Where StatusFlag = '%1'").arg(kDataSent), -1)) {
    const QString line = texts.line(row);
    PrintConsole(line + u'\n');
    Log(-1, QLatin1String(texts.prefix) + line);
    work.Add(row.id, row.userId);
  }
  QByteArray buffer;
  for (DeviceListEntry& entry : work.Entries()) {
    Log(-1, texts.adding, entry.id);
    AppendMessage(&buffer, &entry, texts.message(entry.id));
  }
  if (buffer.isEmpty()) return true;
  Log(-1, QLatin1String(texts.sending));
  if (!SendToWebService(buffer)) {
    Log(-1, QLatin1String(texts.problem));
    return false;
  }
  Log(-1, QLatin1String(texts.success));
  for (const DeviceListEntry& entry : work.Entries()) {
    if (!entry.included) continue;
    Log(-1, texts.reset, entry.id);
    MoveFlag(table, entry.id, kDataSent, kInStep, -1, texts.resetFailed, -1);
  }
  return true;
}

}  // namespace

bool CStatusChangeCheck::ProcessProfileStatusChanges() const {
  CUserProfileStatusTable table;
  StatusWorkList added;
  StatusWorkList deleted;
  StatusWorkList updated;
  for (const StatusRow& row : SelectStatusRows(table, QStringLiteral("Where StatusFlag <> ''"), 55)) {
    const QString line = ProfileLine(row);
    if (row.flag == kAdded) {
      Log(56, QStringLiteral("Add Profile : ") + line);
      added.Add(row.id, row.userId);
    } else if (row.flag == kDeleted) {
      Log(57, QStringLiteral("Delete Profile : ") + line);
      deleted.Add(row.id, row.userId);
    } else if (row.flag == kUpdated) {
      Log(58, QStringLiteral("Add-Update Profile : ") + line);
      updated.Add(row.id, row.userId);
    } else {
      continue;
    }
    PrintConsole(line + u'\n');
  }

  // Deletions first: a profile deleted and added again is replaced on the devices.
  QByteArray buffer;
  for (DeviceListEntry& entry : deleted.Entries()) {
    Log(60, "Add Data of DeletedProfile %1 to ByteForSending.", entry.id);
    AppendMessage(&buffer, &entry, messages::AddDeleteProfileMessage(entry.id));
  }
  for (DeviceListEntry& entry : added.Entries()) {
    Log(59, "Add Metadata of AddedProfile %1 to BytesForSending.", entry.id);
    AppendMessage(&buffer, &entry, BuildProfileMetadata(entry.id));
  }
  for (DeviceListEntry& entry : updated.Entries()) {
    Log(61, "Add Metadata of AddedProfile %1 for Update to BytesForSending.", entry.id);
    AppendMessage(&buffer, &entry, BuildProfileMetadata(entry.id));
  }
  if (buffer.isEmpty()) return true;

  Log(62, QStringLiteral("Send Data of Added, Deleted or Add-Updated Profile to Web Service."));
  if (!SendToWebService(buffer)) {
    Log(73, QStringLiteral("Problem to Send Data of Added, Deleted or Added-Updated Profile to Web Service."));
    return false;
  }
  Log(63, QStringLiteral("Successful to Send Data of Added, Deleted or Added-Updated Profile to Web Service."));
  for (const DeviceListEntry& entry : added.Entries()) {
    if (!entry.included) continue;
    Log(64, "Reset Status of Added Profile %1.", entry.id);
    MoveFlag(table, entry.id, kAdded, kDefinitionSent, 65, "Failed to Reset Status of Added Profile %1.", 66);
  }
  for (const DeviceListEntry& entry : deleted.Entries()) {
    Log(67, "Delete Status of Deleted Profile %1.", entry.id);
    DeleteRows(table, entry.id, 68, "Failed to Delete Status of Deleted Profile %1.", 69);
    DeleteSnapshot(entry.id);
  }
  // Only profiles whose message went out: the others keep "U" and are tried again.
  for (const DeviceListEntry& entry : updated.Entries()) {
    if (!entry.included) continue;
    Log(70, "Reset Status of Added-Updated Profile %1.", entry.id);
    MoveFlag(table, entry.id, kUpdated, kUpdateSent, 71, "Failed to Reset Status of Added-Updated Profile %1.", 72);
  }
  return true;
}

bool CStatusChangeCheck::ProcessFinishedProfiles() const {
  return ProcessFinished<CUserProfileStatusTable>(kFinishedProfiles);
}

void CStatusChangeCheck::ProcessFormStatusChanges() const {
  CUserFormStatusTable table;
  StatusWorkList added;
  StatusWorkList deleted;
  for (const StatusRow& row : SelectStatusRows(table, QStringLiteral("Where StatusFlag <> ''"), -1)) {
    const QString line = FormLine(row);
    if (row.flag == kAdded) {
      Log(-1, QStringLiteral("Add Form : ") + line);
      DeviceListEntry& entry = added.Add(row.id, row.userId);
      // A form waits at "A" until the devices hold its profile in step.
      if (!IsFormProfileProcessed(row.id)) entry.included = false;
    } else if (row.flag == kDeleted) {
      Log(-1, QStringLiteral("Delete Form : ") + line);
      deleted.Add(row.id, row.userId);
    } else {
      continue;
    }
    PrintConsole(line + u'\n');
  }

  QByteArray buffer;
  for (DeviceListEntry& entry : added.Entries()) {
    if (!entry.included) continue;
    Log(-1, "Add Metadata of AddedForm %1 to BytesForSending.", entry.id);
    AppendMessage(&buffer, &entry, BuildFormMetadata(entry.id));
  }
  for (DeviceListEntry& entry : deleted.Entries()) {
    Log(-1, "Add Data of DeletedForm %1 to ByteForSending.", entry.id);
    AppendMessage(&buffer, &entry, messages::AddDeleteFormMessage(entry.id));
  }
  if (buffer.isEmpty()) return;

  Log(-1, QStringLiteral("Send Data of Added Form to Web Service."));
  if (!SendToWebService(buffer)) {
    Log(-1, QStringLiteral("Problem to Send Data of Added Form to Web Service."));
    return;
  }
  Log(-1, QStringLiteral("Successful to Send Data of Added Form to Web Service."));
  for (const DeviceListEntry& entry : added.Entries()) {
    if (!entry.included) continue;
    Log(-1, "Reset Status of Added Form %1.", entry.id);
    MoveFlag(table, entry.id, kAdded, kDefinitionSent, -1, "Failed to Reset Status of Added Form %1.", -1);
  }
  for (const DeviceListEntry& entry : deleted.Entries()) {
    if (!entry.included) continue;
    Log(-1, "Delete Status of Deleted Form %1.", entry.id);
    DeleteRows(table, entry.id, -1, "Failed to Delete Status of Deleted Form %1.", -1);
  }
}

void CStatusChangeCheck::ProcessFinishedForms() const { ProcessFinished<CUserFormStatusTable>(kFinishedForms); }
