#include "sync/engine/DeviceChange.h"

#include "sync/data/ProfileDataReader.h"
#include "sync/data/ProfileInfoDB.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncSettings.h"
#include "sync/engine/BackSyncDigestMap.h"
#include "sync/engine/BackSyncRules.h"
#include "sync/engine/ProfileChangeRun.h"
#include "sync/engine/ProfileSnapshot.h"
#include "sync/engine/RecordLookup.h"
#include "sync/engine/SyncStatus.h"

#include <algorithm>
#include <utility>

using devicemessages::kRecordAdded;
using devicemessages::kRecordUpdated;

namespace {

const QString kNotForProcedure = QStringLiteral("Back Sync Not Allowed for Stored Procedure.");
const QString kConflict = QStringLiteral("Record Data Updated at Desktop.");
const QString kUpdateIgnored = QStringLiteral(
    "Desktop Record with Source : %1 & RecordIndex : %2 for Profile %3 is already Changed, so device update request "
    "is ignored.");
const QString kDeleteIgnored = QStringLiteral(
    "Desktop Record with Source : %1 & RecordIndex : %2 for Profile %3 is already Changed, so device delete request "
    "is ignored.");

}  // namespace

DeviceChangeOutcome DeviceChange::Apply(ProfileChangeRun& run) const {
  LogReceived();
  DeviceChangeOutcome outcome;
  const std::optional<ProfileRecord> profile = ReadProfile(run, &outcome);
  if (!profile) return outcome;
  if (IsWorkbookProfileRecord(*profile)) {
    outcome = ApplyToWorkbook(*profile);
    outcome.workbook = true;
    return outcome;
  }
  return ApplyToTable(*profile, run);
}

void DeviceChange::LogReceived() const {
  if (IsDelete()) {
    WriteBackSyncLog(-1, QStringLiteral("In Record Delete, nProfileID = %1.").arg(m_message.profileId));
    WriteBackSyncLog(-1, RecordText("In Record Delete, RecordSource : %1 & RecordIndex : %2."));
    WriteBackSyncLog(-1, QStringLiteral("In Record Delete, Read Record."));
    return;
  }
  WriteBackSyncLog(74, QStringLiteral("In Record ADD/Update, nProfileID = %1.").arg(m_message.profileId));
  WriteBackSyncLog(-1, RecordText("In Record Add/Update, nRecordSource : %1, nRecordIndex : %2."));
  WriteBackSyncLog(76, QStringLiteral("In Record Add/Update, Read Record."));
  WriteBackSyncLog(79, QStringLiteral("In Record Add/Update, recDataLen = %1.").arg(m_message.rowData.size() + 4));
  WriteBackSyncLog(80, QStringLiteral("In Record Add/Update, Read Record Data."));
}

std::optional<ProfileRecord> DeviceChange::ReadProfile(ProfileChangeRun& run, DeviceChangeOutcome* outcome) const {
  if (!run.Profile()) run.Profile() = ReadProfileRow(outcome);
  if (!run.Profile()) return std::nullopt;
  *outcome = DeviceChangeOutcome::Drop();
  const QString deviceId = GetDeviceId();
  WriteBackSyncLog(-1, (IsDelete() ? QStringLiteral("In Record Delete, DeviceID : %1")
                                   : QStringLiteral("In Record Add/Update, DeviceID : %1"))
                           .arg(deviceId));
  if (!UserListNamesDevice(run.Profile()->UserList, deviceId)) return std::nullopt;
  return run.Profile();
}

std::optional<ProfileRecord> DeviceChange::ReadProfileRow(DeviceChangeOutcome* outcome) const {
  CProfileInfoDB profiles;
  if (!profiles.IsConnected()) {
    WriteBackSyncLog(Code(20, 3), profiles.GetErrorText());
    *outcome = DeviceChangeOutcome::Keep();
    return std::nullopt;
  }
  QString error;
  if (profiles.InitializeTable(QStringLiteral("Where ProfileID = %1").arg(m_message.profileId), &error) != 1) {
    WriteBackSyncLog(Code(21, 4), error);
    *outcome = DeviceChangeOutcome::Keep();
    return std::nullopt;
  }
  *outcome = DeviceChangeOutcome::Drop();
  if (profiles.GetRecordCount() < 1) return std::nullopt;
  return profiles.ReadRecord(0);
}

bool DeviceChange::OpenTable(const ProfileRecord& profile, ProfileChangeRun& run) const {
  syncservice::ProfileDataReader& reader = run.Reader(profile);
  QString error;
  if (!reader.IsProfileConnected() && reader.OpenProfileSource(&error) != 1) {
    WriteBackSyncLog(Code(31, 19), error);
    run.DropReader();
    return false;
  }
  if (!run.NeedsQuery()) return true;
  if (reader.ExecuteProfileQuery(&error) != 1 || !run.QueryRan(&error)) {
    WriteBackSyncLog(Code(30, 18), error);
    run.DropReader();
    return false;
  }
  return true;
}

DeviceChangeOutcome DeviceChange::ApplyToTable(const ProfileRecord& profile, ProfileChangeRun& run) const {
  if (!OpenTable(profile, run)) return DeviceChangeOutcome::Keep();
  syncservice::ProfileDataReader& reader = run.Reader(profile);
  if (reader.IsProcedureProfile()) {
    WriteBackSyncLog(-1, kNotForProcedure);
    return DeviceChangeOutcome::Answer(0, kNotForProcedure);
  }
  ProfileSnapshot& snapshot = run.Snapshot();
  switch (m_message.type) {
    case kRecordAdded:
      if (const std::optional<CdbEntry> landed = LandedRow(run, reader, snapshot)) {
        WriteBackSyncLog(-1, RecordText("In Record Add, RecordSource : %1 & RecordIndex : %2"));
        const SyncSemaphoreHold hold(BackTrackConflictSemaphore());
        if (!hold.Held()) return DeviceChangeOutcome::Keep();
        RecordAddedRow(landed->digest.data(), snapshot);
        return AlreadyApplied("added");
      }
      return AddRow(snapshot, 9, [&](uint8_t* digest, QString* reason) { return AddTableRow(run, reader, digest, reason); });
    case kRecordUpdated:
      return UpdateTable(run, reader, snapshot);
    default:
      return DeleteFromTable(run, reader, snapshot);
  }
}

bool DeviceChange::AddTableRow(ProfileChangeRun& run, syncservice::ProfileDataReader& reader, uint8_t* digest,
                               QString* reason) const {
  TurnRowLookup::Row stored;
  TurnRowLookup* rows = run.Rows();
  if (reader.AddRecord(m_message.rowData, digest, rows != nullptr ? &stored : nullptr, reason) != 1) return false;
  run.Written();
  if (rows != nullptr) rows->Move(nullptr, digest, std::move(stored));
  return true;
}

DeviceChangeOutcome DeviceChange::AddRow(ProfileSnapshot& snapshot, int failureCode, const RowWrite& write) const {
  WriteBackSyncLog(-1, RecordText("In Record Add, RecordSource : %1 & RecordIndex : %2"));
  if (WasAddedBefore(snapshot)) return DeviceChangeOutcome::Synced();
  const SyncSemaphoreHold hold(BackTrackConflictSemaphore());
  if (!hold.Held()) return DeviceChangeOutcome::Keep();
  uint8_t digest[kRowDigestSize];
  QString error;
  if (!write(digest, &error)) return WriteFailed(failureCode, error);
  RecordAddedRow(digest, snapshot);
  return DeviceChangeOutcome::Synced();
}

std::optional<DeviceChange::TableRow> DeviceChange::FindTableRow(ProfileChangeRun& run, syncservice::ProfileDataReader& reader,
                                                                 const ProfileSnapshot& snapshot) const {
  TableRow found;
  found.entry = MessageEntry();
  TurnRowLookup* rows = run.Rows();
  if (rows == nullptr) {
    if (!FindRecordByDigest(reader, m_message.profileId, &found.index, &found.entry)) return std::nullopt;
    return found;
  }
  const CdbEntry* held = snapshot.Find(m_message.recordSource, m_message.recordIndex);
  found.values = held != nullptr ? rows->Find(held->digest.data()) : nullptr;
  if (found.values == nullptr) return std::nullopt;
  found.entry = *held;
  return found;
}

DeviceChangeOutcome DeviceChange::UpdateTable(ProfileChangeRun& run, syncservice::ProfileDataReader& reader,
                                              ProfileSnapshot& snapshot) const {
  WriteBackSyncLog(-1, RecordText("In Record Update, RecordSource : %1 & RecordIndex : %2"));
  const std::optional<TableRow> found = FindTableRow(run, reader, snapshot);
  if (!found) {
    const std::optional<CdbEntry> landed = snapshot.Find(m_message.recordSource, m_message.recordIndex)
                                               ? LandedRow(run, reader, snapshot)
                                               : std::nullopt;
    if (!landed) return Conflict(kUpdateIgnored);
    const SyncSemaphoreHold hold(BackTrackConflictSemaphore());
    if (!hold.Held()) return DeviceChangeOutcome::Keep();
    snapshot.ReplaceDigest(m_message.recordSource, m_message.recordIndex, landed->digest.data());
    RecordWrittenRow(landed->digest.data(), snapshot);
    return AlreadyApplied("updated");
  }
  // The same update again (its acknowledgement was lost): the row holds it already.
  if (HoldsUpdate(reader, *found)) {
    WriteBackSyncLog(-1, RecordText("Record with Source : %1 & RecordIndex : %2 holds the update already."));
    return DeviceChangeOutcome::Synced();
  }
  const SyncSemaphoreHold hold(BackTrackConflictSemaphore());
  if (!hold.Held()) return DeviceChangeOutcome::Keep();
  uint8_t digest[kRowDigestSize];
  QString error;
  if (!UpdateRow(run, reader, *found, digest, &error)) return WriteFailed(14, error);
  snapshot.ReplaceDigest(m_message.recordSource, m_message.recordIndex, digest);
  RecordWrittenRow(digest, snapshot);
  return DeviceChangeOutcome::Synced();
}

bool DeviceChange::HoldsUpdate(syncservice::ProfileDataReader& reader, const TableRow& found) const {
  if (found.values != nullptr) return devicerecord::Encode(*found.values) == m_message.rowData;
  QByteArray current;
  uint8_t currentDigest[kRowDigestSize];
  return reader.FetchRecord(found.index, &current, currentDigest) > 0 && current == m_message.rowData;
}

bool DeviceChange::UpdateRow(ProfileChangeRun& run, syncservice::ProfileDataReader& reader, const TableRow& found,
                             uint8_t digest[kRowDigestSize], QString* error) const {
  const uint8_t* expected = found.entry.digest.data();
  if (found.values == nullptr) {
    if (reader.UpdateRecord(m_message.rowData, found.index, error, digest, expected) != 1) return false;
    run.Written();
    return true;
  }
  TurnRowLookup::Row row = *found.values;
  if (reader.UpdateRecordByKey(m_message.rowData, &row, digest, error, expected) != 1) return false;
  run.Written();
  run.Rows()->Move(expected, digest, std::move(row));
  return true;
}

DeviceChangeOutcome DeviceChange::DeleteFromTable(ProfileChangeRun& run, syncservice::ProfileDataReader& reader,
                                                  ProfileSnapshot& snapshot) const {
  WriteBackSyncLog(-1, RecordText("In Record Delete, RecordSource : %1 & RecordIndex : %2"));
  const std::optional<TableRow> found = FindTableRow(run, reader, snapshot);
  if (!found) {
    // A delete that may have been applied: its row is gone, whichever way it went.
    if (!m_bMayBeApplied) return Conflict(kDeleteIgnored);
    if (const CdbEntry* held = snapshot.Find(m_message.recordSource, m_message.recordIndex)) {
      const SyncSemaphoreHold hold(BackTrackConflictSemaphore());
      if (!hold.Held()) return DeviceChangeOutcome::Keep();
      const CdbEntry removed = *held;
      snapshot.Remove(m_message.recordSource, m_message.recordIndex);
      RecordWrittenRow(removed.digest.data(), snapshot);
    }
    return AlreadyApplied("deleted");
  }
  const SyncSemaphoreHold hold(BackTrackConflictSemaphore());
  if (!hold.Held()) return DeviceChangeOutcome::Keep();
  QString error;
  if (!DeleteRow(run, reader, *found, &error)) return WriteFailed(26, error);
  snapshot.Remove(m_message.recordSource, m_message.recordIndex);
  RecordWrittenRow(found->entry.digest.data(), snapshot);
  return DeviceChangeOutcome::Synced();
}

bool DeviceChange::DeleteRow(ProfileChangeRun& run, syncservice::ProfileDataReader& reader, const TableRow& found,
                             QString* error) const {
  const uint8_t* expected = found.entry.digest.data();
  const bool deleted = found.values == nullptr ? reader.DeleteRecord(error, found.index, expected) == 1
                                               : reader.DeleteRecordByKey(*found.values, error, expected) == 1;
  if (!deleted) return false;
  run.Written();
  if (found.values != nullptr) run.Rows()->Forget(expected);
  return true;
}

DeviceChangeOutcome DeviceChange::WriteFailed(int code, const QString& reason) const {
  WriteBackSyncLog(code, reason);
  return DeviceChangeOutcome::Answer(0, reason);
}

DeviceChangeOutcome DeviceChange::Conflict(const QString& ignoredLine) const {
  WriteBackSyncLog(-1, kConflict);
  WriteBackSyncLog(-1, ignoredLine.arg(m_message.recordSource).arg(m_message.recordIndex).arg(m_message.profileId));
  return DeviceChangeOutcome::Answer(0, kConflict);
}

CdbEntry DeviceChange::MessageEntry() const {
  CdbEntry entry;
  entry.recordSource = m_message.recordSource;
  entry.recordIndex = m_message.recordIndex;
  return entry;
}

bool DeviceChange::WasAddedBefore(const ProfileSnapshot& snapshot) const {
  // The service sends an add again when its acknowledgement was lost: the row is there already.
  if (snapshot.Find(m_message.recordSource, m_message.recordIndex) == nullptr) return false;
  WriteBackSyncLog(-1, RecordText("Record with Source : %1 & RecordIndex : %2 was added before."));
  return true;
}

void DeviceChange::RecordAddedRow(const uint8_t digest[kRowDigestSize], ProfileSnapshot& snapshot) const {
  CdbEntry entry = MessageEntry();
  std::copy(digest, digest + kRowDigestSize, entry.digest.begin());
  snapshot.Append(entry);
  RecordWrittenRow(digest, snapshot);
}

void DeviceChange::RecordWrittenRow(const uint8_t digest[kRowDigestSize], ProfileSnapshot& snapshot) const {
  BackSyncDigestMap::Instance().MakeStatusKey(m_message.profileId, DigestToHex(digest));
  if (!snapshot.Save()) {
    WriteBackSyncLog(-1, QStringLiteral("The snapshot of Profile %1 could not be rewritten.").arg(m_message.profileId));
  }
}

QString DeviceChange::RecordText(const char* format) const {
  return QString::fromLatin1(format).arg(m_message.recordSource).arg(m_message.recordIndex);
}

std::optional<CdbEntry> DeviceChange::LandedRow(ProfileChangeRun& run, syncservice::ProfileDataReader& reader,
                                                const ProfileSnapshot& snapshot) const {
  if (!m_bMayBeApplied) return std::nullopt;
  QString error;
  if (!run.FreshRows(&error)) {
    WriteBackSyncLog(Code(30, 18), error);
    return std::nullopt;
  }
  CdbEntry landed = MessageEntry();
  qsizetype holding = 0;
  QByteArray record;
  uint8_t digest[kRowDigestSize];
  for (int32_t row = 0; row < reader.GetRecordCount(); ++row) {
    if (reader.FetchRecord(row, &record, digest) <= 0 || record != m_message.rowData) continue;
    std::copy(digest, digest + kRowDigestSize, landed.digest.begin());
    ++holding;
  }
  if (holding == 0 || holding <= snapshot.CountDigest(landed.digest.data())) return std::nullopt;
  return landed;
}

DeviceChangeOutcome DeviceChange::AlreadyApplied(const char* what) const {
  WriteBackSyncLog(-1, RecordText("Record with Source : %1 & RecordIndex : %2 was %3 before the program ended.")
                           .arg(QLatin1String(what)));
  return DeviceChangeOutcome::Synced();
}
