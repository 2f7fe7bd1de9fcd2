#include "sync/data/AckFromDesktopTableDB.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncSettings.h"
#include "sync/engine/DeviceChange.h"
#include "sync/engine/DeviceMessages.h"
#include "sync/engine/KeptDeviceMessages.h"
#include "sync/engine/ProfileChangeRun.h"
#include "sync/engine/ProfileSnapshotLock.h"
#include "sync/engine/StatusChangeCheck.h"
#include "sync/engine/SyncStatus.h"
#include "sync/engine/WebServiceCaller.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

using devicemessages::DeviceMessage;

namespace {

QString AckLine(const char* what, const AckRecord& record) {
  return QStringLiteral("%1 for Profile %2 for User %3 and RecordSource : %4 & RecordIndex : %5")
      .arg(QLatin1String(what))
      .arg(record.ProfileID)
      .arg(record.DeviceID)
      .arg(record.RecordSource)
      .arg(record.RecordIndex);
}

QByteArray AckBytes(const AckRecord& record) {
  return devicemessages::BuildAckRecord(record.ProfileID, record.RecordSource, record.RecordIndex,
                                        static_cast<int16_t>(record.ResultCode), record.ResultText);
}

// The device stream waiting at the service, fetched while no other exchange runs.
bool FetchDeviceStream(QByteArray* stream) {
  const SyncSemaphoreHold hold(ChangeDetectSemaphore());
  if (!hold.Held()) return false;
  CWebServiceCaller caller;
  return caller.GetDataForDesktop(stream);
}

// The log codes of acknowledging: the workbook path logs without codes.
int AckCode(const DeviceChange& change, const DeviceChangeOutcome& outcome, int forDelete, int forAddOrUpdate) {
  return outcome.workbook ? -1 : change.Code(forDelete, forAddOrUpdate);
}

// Sends the answer to one message; a refused one is stored for the next turn's resend.
void Acknowledge(const DeviceMessage& message, const DeviceChange& change, const DeviceChangeOutcome& outcome) {
  AckRecord record;
  record.ProfileID = message.profileId;
  record.RecordSource = message.recordSource;
  record.RecordIndex = message.recordIndex;
  record.DeviceID = GetDeviceId();
  record.ResultCode = outcome.code;
  record.ResultText = outcome.text;
  CWebServiceCaller caller;
  if (caller.AckFromDesktop(AckBytes(record))) return;
  CAckFromDesktopTableDB table;
  if (!table.IsConnected()) WriteBackSyncLog(AckCode(change, outcome, 27, 15), table.GetErrorText());
  WriteBackSyncLog(AckCode(change, outcome, 28, 16), AckLine("Failed to Send AckFromDesktop", record));
  QString error;
  if (table.AddAckRecord(record, &error) != 1) {
    WriteBackSyncLog(AckCode(change, outcome, 29, 17), AckLine("Failed to Add Record in AckFromDesktopTable", record));
  }
}

bool CarriesChange(const DeviceMessage& message) {
  return message.type == devicemessages::kRecordAdded || message.type == devicemessages::kRecordUpdated ||
         message.type == devicemessages::kRecordDeleted;
}

// The records that the run of change messages of one profile starting at `first` touches.
QSet<uint64_t> RunRecords(const std::vector<DeviceMessage>& messages, size_t first) {
  QSet<uint64_t> records;
  const int32_t profileId = messages[first].profileId;
  for (size_t i = first; i < messages.size(); ++i) {
    if (!CarriesChange(messages[i])) continue;
    if (messages[i].profileId != profileId) break;
    records.insert(ProfileSnapshot::RecordKey(messages[i].recordSource, messages[i].recordIndex));
  }
  return records;
}

}  // namespace

bool CStatusChangeCheck::ResendPendingAcks() const {
  std::vector<AckRecord> pending;
  {
    CAckFromDesktopTableDB table;
    if (!table.IsConnected()) WriteBackSyncLog(33, table.GetErrorText());
    QString error;
    if (table.InitializeTable(QString(), &error) != 1) {
      WriteBackSyncLog(36, error);
      return false;
    }
    // Read whole before any row is deleted, so that deleting does not move the rows still to come.
    for (int32_t row = 0; row < table.GetRecordCount(); ++row) pending.push_back(table.ReadRecord(row));
  }
  CWebServiceCaller caller;
  CAckFromDesktopTableDB table;
  for (const AckRecord& record : pending) {
    if (!caller.AckFromDesktop(AckBytes(record))) {
      WriteBackSyncLog(34, AckLine("Failed to Send AckFromDesktop", record));
      return false;
    }
    QString error;
    if (table.DeleteAckRecord(record, &error) != 1) {
      WriteBackSyncLog(35, AckLine("Failed to Delete Record from AckFromDesktopTable", record));
    }
  }
  return true;
}

void CStatusChangeCheck::ProcessDeviceChanges() const {
  const KeptDeviceMessages kept;
  std::vector<DeviceMessage> messages = kept.Load();
  // The kept messages were being applied when an earlier run ended: any of them may stand on the
  // desktop already.
  const size_t mayBeApplied = messages.size();
  QByteArray stream;
  if (!FetchDeviceStream(&stream)) {
    WriteBackSyncLog(32, QStringLiteral("Failed to Call GetDataForDekstop WebService method."));
  } else {
    devicemessages::DeviceStream read = devicemessages::ReadDeviceStream(stream);
    if (!read.problem.isEmpty()) WriteBackSyncLog(-1, read.problem);
    // A kept message handed out again (its answer never reached the service) is the same edit.
    for (const DeviceMessage& message : read.messages) {
      const auto keptEnd = messages.begin() + static_cast<std::ptrdiff_t>(mayBeApplied);
      if (std::find(messages.begin(), keptEnd, message) == keptEnd) messages.push_back(message);
    }
    // The service hands each message out once: until it is answered, the file holds it.
    kept.Store(messages);
  }
  std::vector<DeviceMessage> stillKept;
  // A profile's snapshot lock is held across a run of its messages (first in the lock order, as
  // change detection takes it): taken for each message, every one would wait for a whole
  // change-detection pass. The run's changes share one read of the profile's rows and one load
  // and write of its snapshot; the run ends (its snapshot written) before the lock is let go.
  std::optional<SyncSemaphoreHold> profileHold;
  std::optional<ProfileChangeRun> profileRun;
  int32_t heldProfile = 0;
  for (size_t i = 0; i < messages.size(); ++i) {
    const DeviceMessage& message = messages[i];
    // After a stop the messages not applied yet wait in the file for the next start.
    if (SyncStopRequested()) {
      stillKept.push_back(message);
      continue;
    }
    WriteBackSyncLog(73, QStringLiteral("In MessType Loop, MsgType = %1.").arg(message.type));
    if (!CarriesChange(message)) continue;
    if (!profileHold || heldProfile != message.profileId) {
      profileRun.reset();
      profileHold.reset();
      profileHold.emplace(ProfileSnapshotSemaphore(message.profileId));
      heldProfile = message.profileId;
      profileRun.emplace(message.profileId, RunRecords(messages, i));
    }
    if (!profileHold->Held()) {  // the wait was given up for a stop
      stillKept.push_back(message);
      continue;
    }
    const DeviceChange change(message, i < mayBeApplied);
    const DeviceChangeOutcome outcome = change.Apply(*profileRun);
    if (outcome.kind == DeviceChangeOutcome::Kind::Answer) Acknowledge(message, change, outcome);
    if (outcome.kind == DeviceChangeOutcome::Kind::Keep) stillKept.push_back(message);
  }
  if (!kept.Store(stillKept)) {
    WriteBackSyncLog(-1, QStringLiteral("Device messages to apply later could not be kept in %1.").arg(kept.Path()));
  }
}
