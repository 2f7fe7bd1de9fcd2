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
#include "sync/engine/SyncStatus.h"

#include <QFileInfo>

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

// Compares the profile's rows with its snapshot and sends what changed.
ProfileResult CompareAndSend(int32_t profileId, ProfileDataReader* reader) {
  CCdbFile snapshotFile;
  snapshotFile.SetCdbFileName(profileId);
  ProfileChanges changes;
  changes.snapshotExisted = QFileInfo::exists(snapshotFile.Path());
  QList<CdbEntry> snapshot;
  snapshotFile.LoadCdbRecords(&snapshot);

  reader->BindColumns();
  const changescan::Outcome outcome = changescan::Compare(
      profileId, std::move(snapshot), reader->GetRecordCount(),
      [reader](int32_t row, QByteArray* record, uint8_t* digest) { return reader->FetchRecord(row, record, digest); },
      &changes);
  reader->UnbindColumns();
  if (outcome == changescan::Outcome::Stopped) return ProfileResult::Stopped;
  if (outcome != changescan::Outcome::Changed) return ProfileResult::Done;
  ChangeBunchSender sender(profileId, snapshotFile, &changes);
  return sender.Send() == ChangeBunchSender::Outcome::Stopped ? ProfileResult::Stopped : ProfileResult::Done;
}

ProfileResult DetectProfileChanges(const ProfileRecord& profile) {
  WriteSyncServiceLogAndConsole(
      41, QStringLiteral("Profile %1 with ProfileID %2 is to Process for DBChange.").arg(profile.DBInfo).arg(profile.ProfileID));
  // Taken before the source is opened, so that it comes before the workbook lock as well.
  const SyncSemaphoreHold lock(ProfileSnapshotSemaphore(profile.ProfileID));
  if (!lock.Held()) return ProfileResult::Stopped;
  ProfileDataReader reader;
  if (!OpenProfileForSending(profile, &reader, 54, 53)) return ProfileResult::Done;
  return CompareAndSend(profile.ProfileID, &reader);
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
