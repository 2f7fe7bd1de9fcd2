#include "sync/engine/StatusChangeCheck.h"

#include "sync/data/ProfileDataReader.h"
#include "sync/data/ProfileInfoDB.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncSystem.h"
#include "sync/data/UserProfileStatusTable.h"
#include "sync/engine/BackSyncDigestMap.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/ChangeBunchSender.h"
#include "sync/engine/ConsoleLog.h"
#include "sync/engine/ProfileChangeScan.h"
#include "sync/engine/ProfileSnapshotLock.h"
#include "sync/engine/ProfileSource.h"
#include "sync/engine/SnapshotJournal.h"
#include "sync/engine/SyncStatus.h"

#include <future>
#include <utility>

namespace {

enum class ProfileResult { Done, Stopped };

bool HasUserInStep(CUserProfileStatusTable* statuses, int32_t profileId) {
  QString error;
  if (!statuses->InitializeTable(QStringLiteral("where ProfileID = %1 and StatusFlag = ''").arg(profileId), &error)) {
    WriteSyncServiceLog(40, error);
  }
  return statuses->GetRecordCount() > 0;
}

// Writes the snapshot once for the whole pass over the profile, making its journal void.
void WriteSnapshot(int32_t profileId, const CCdbFile& snapshotFile, const ProfileChanges& changes) {
  if (!changes.AnyWentOut() && !snapshotFile.Journal().Exists()) return;
  if (!snapshotFile.WriteCdbRecords(changes.DeviceSnapshot()))
    WriteSyncServiceLog(-1, QStringLiteral("Failed to Rewrite the Snapshot of Profile %1.").arg(profileId));
}

// Compares the profile's rows with its snapshot and sends what changed.
ProfileResult CompareAndSend(int32_t profileId, const CCdbFile& snapshotFile, QList<CdbEntry> snapshot,
                             syncservice::ProfileDataReader* reader) {
  ProfileChanges changes;
  reader->BindColumns();
  const changescan::Outcome outcome = changescan::Compare(
      profileId, std::move(snapshot), reader->GetRecordCount(),
      [reader](int32_t row, uint8_t* digest) { return reader->FetchDigest(row, digest); },
      [reader](QByteArray* record) { return reader->EncodeFetchedRecord(record); }, &changes);
  reader->UnbindColumns();
  if (outcome != changescan::Outcome::Changed) {
    // A journal a crash left is made part of the snapshot.
    if (!snapshotFile.FoldJournal())
      WriteSyncServiceLog(-1, QStringLiteral("Failed to Rewrite the Snapshot of Profile %1.").arg(profileId));
    return outcome == changescan::Outcome::Stopped ? ProfileResult::Stopped : ProfileResult::Done;
  }
  const SnapshotJournal journal = snapshotFile.Journal();
  ChangeBunchSender sender(profileId, journal, &changes);
  const ChangeBunchSender::Outcome sent = sender.Send();
  WriteSnapshot(profileId, snapshotFile, changes);
  return sent == ChangeBunchSender::Outcome::Stopped ? ProfileResult::Stopped : ProfileResult::Done;
}

ProfileResult DetectProfileChanges(const ProfileRecord& profile) {
  WriteSyncServiceLogAndConsole(
      41, QStringLiteral("Profile %1 with ProfileID %2 is to Process for DBChange.").arg(profile.DBInfo).arg(profile.ProfileID));
  // Taken before the source is opened, so that it comes before the workbook lock as well.
  const SyncSemaphoreHold lock(ProfileSnapshotSemaphore(profile.ProfileID));
  if (!lock.Held()) return ProfileResult::Stopped;
  CCdbFile snapshotFile;
  snapshotFile.SetCdbFileName(profile.ProfileID);
  // Loaded while the source opens and counts its rows.
  std::future<QList<CdbEntry>> snapshot = std::async(std::launch::async, [snapshotFile] {
    QList<CdbEntry> entries;
    snapshotFile.LoadCdbRecords(&entries);
    return entries;
  });
  syncservice::ProfileDataReader reader;
  reader.ReadForwardOnly();
  if (!OpenProfileForSending(profile, &reader, 54, 53)) return ProfileResult::Done;
  return CompareAndSend(profile.ProfileID, snapshotFile, snapshot.get(), &reader);
}

void EndPass() {
  {
    const SyncSemaphoreHold hold(BackTrackConflictSemaphore());
    if (hold.Held()) BackSyncDigestMap::Instance().Clear();
  }
  syncservice::DeleteTempExcelCopies();
}

}  // namespace

bool CStatusChangeCheck::DetectDataChanges() const {
  CProfileInfoDB profiles;
  if (!profiles.IsConnected()) WriteSyncServiceLog(37, profiles.GetErrorText());
  CUserProfileStatusTable statuses;
  QString error;
  if (!profiles.InitializeTable(QString(), &error)) WriteSyncServiceLog(38, error);
  const int32_t count = profiles.GetRecordCount();
  bool stopped = false;
  for (int32_t p = 0; p < count && !stopped; ++p) {
    if (SyncStopRequested()) break;
    const ProfileRecord profile = profiles.ReadRecord(p);
    if (!HasUserInStep(&statuses, profile.ProfileID)) continue;
    stopped = DetectProfileChanges(profile) == ProfileResult::Stopped;
  }
  EndPass();
  return !stopped;
}
