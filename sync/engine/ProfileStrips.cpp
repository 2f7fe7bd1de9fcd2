#include "shared/Endian.h"
#include "sync/data/ProfileDataReader.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncRegistry.h"
#include "sync/data/UserProfileStatusTable.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/MessageBuilders.h"
#include "sync/engine/ProfileSnapshotLock.h"
#include "sync/engine/ProfileSource.h"
#include "sync/engine/StatusChangeCheck.h"
#include "sync/engine/StatusWorkList.h"
#include "sync/engine/StripBuilder.h"
#include "sync/engine/SyncStatus.h"

#include <algorithm>

namespace {

const QString kAdded = QStringLiteral("A");
const QString kDefinitionSent = QStringLiteral("AD");
const QString kDataSent = QStringLiteral("AF");
constexpr int32_t kDesktopRow = 1;

void Log(int code, const QString& text) { WriteSyncServiceLog(code, text); }

void MoveFlag(CUserProfileStatusTable& table, int32_t profileId, const QString& to, int failureCode, int errorCode) {
  QString error;
  if (table.SetStatusFlag(profileId, kDefinitionSent, to, &error) == 1) return;
  Log(failureCode, QStringLiteral("Failed to Set the Status of Profile %1.").arg(profileId));
  Log(errorCode, error);
}

void StoreNextIndex(int32_t profileId, int32_t value) {
  if (SetNextRecIndex(profileId, value)) return;
  PrintConsole(QStringLiteral("\n##### Problem in SetNextRecIndex() #####\n"));
  Log(-1, QStringLiteral("Failed to Set the Next Record Index Settings of Profile %1.").arg(profileId));
}

// The devices may hold part of the profile: its Add Profile goes out again (it replaces what they
// hold), and its rows after it under indexes from 1.
void StartAgain(CUserProfileStatusTable& table, int32_t profileId, int flagCode, int errorCode) {
  MoveFlag(table, profileId, kAdded, flagCode, errorCode);
  StoreNextIndex(profileId, 1);
}

// The record entry of one row into `entry`: its length, RecordSource, RecordIndex and the device
// record. The buffer is reused from row to row.
void RecordEntry(int32_t recordIndex, QByteArrayView row, QByteArray* entry) {
  entry->resize(0);
  endian::AppendLE<uint32_t>(entry, static_cast<uint32_t>(row.size() + 8));
  endian::AppendLE<uint32_t>(entry, kDesktopRow);
  endian::AppendLE<uint32_t>(entry, static_cast<uint32_t>(recordIndex));
  entry->append(row);
}

// One profile's rows on their way to the devices.
class ProfileSending {
 public:
  ProfileSending(CUserProfileStatusTable& table, const DeviceListEntry& entry, syncservice::ProfileDataReader& reader,
                 int32_t firstIndex)
      : m_table(table), m_entry(entry), m_reader(reader), m_firstIndex(firstIndex), m_nextIndex(firstIndex),
        m_strip(messages::AddProfileDataHeader(entry.id)) {}

  void Run() {
    const int32_t count = m_reader.GetRecordCount();
    m_reader.BindColumns();
    const bool allRead = SendRows(count);
    m_reader.UnbindColumns();
    if (!allRead) return;
    if (SyncStopRequested()) {
      Log(-1, QStringLiteral("Stop SyncService Event occurs."));
      StopBeforeTheEnd();
      return;
    }
    SendLastStrip(count);
  }

 private:
  // False when a strip was refused or a stop was requested before every row was read.
  bool SendRows(int32_t count) {
    m_snapshot.reserve(count);
    QByteArray entry;
    for (int32_t row = 0; row < count; ++row) {
      if (SyncStopRequested()) return true;  // the caller's stop test ends it
      QByteArray data;
      CdbEntry snapshotEntry;
      const int length = m_reader.FetchRecord(row, &data, snapshotEntry.digest.data());
      if (length <= 0) continue;
      RecordEntry(m_nextIndex, QByteArrayView(data).first(std::min<qsizetype>(length, data.size())), &entry);
      if (m_strip.IsFullFor(entry.size())) {
        Log(-1, QStringLiteral("Send %1 Records of Profile %2 to Web Service.").arg(row).arg(m_entry.id));
        if (!SendToWebService(m_strip.Bytes())) {
          Refused(-1, -1, -1);
          return false;
        }
        Accepted(row, -1);
        m_strip.Restart(messages::AddProfileDataHeader(m_entry.id));
      }
      m_strip.Append(entry);
      snapshotEntry.recordSource = kDesktopRow;
      snapshotEntry.recordIndex = m_nextIndex++;
      m_snapshot.append(snapshotEntry);
    }
    return true;
  }

  void SendLastStrip(int32_t count) {
    PrintConsole(QStringLiteral("\n All records finished : END_OF_REC \n"));
    Log(9, QStringLiteral("All records finished, append END_OF_REC."));
    m_strip.AppendEnd();
    Log(10, QStringLiteral("Send %1 Records of Profile %2 to Web Service.").arg(count).arg(m_entry.id));
    if (!SendToWebService(m_strip.Bytes())) {
      Refused(17, -15, -16);
      return;
    }
    Accepted(count, 11);
    CCdbFile snapshot;
    snapshot.SetCdbFileName(m_entry.id);
    if (!snapshot.WriteCdbRecords(m_snapshot))
      Log(-1, QStringLiteral("Failed to write the snapshot of Profile %1.").arg(m_entry.id));
    if (m_nextIndex != 0) StoreNextIndex(m_entry.id, m_nextIndex);
    PrintConsole(QStringLiteral("\n New Profile Data sent : %1\n").arg(m_entry.id));
    Log(14, QStringLiteral("New Profile Data Send : %1.").arg(m_entry.id));
    MoveFlag(m_table, m_entry.id, kDataSent, 15, 16);
  }

  void Accepted(int32_t rows, int code) {
    m_bStripAccepted = true;
    PrintConsole(QStringLiteral("\nNumber of Records %1 of Profile %2 Send.\n").arg(rows).arg(m_entry.id));
    Log(code, QStringLiteral("Number of Recods %1 of Profile %2 Send.").arg(rows).arg(m_entry.id));
  }

  void Refused(int code, int flagCode, int errorCode) {
    PrintConsole(QStringLiteral("\nProblem to Send Data of Profile %1 to Web Service.\n").arg(m_entry.id));
    Log(code, QStringLiteral("Problem to Send Data of Profile %1 to Web Service.").arg(m_entry.id));
    StartAgain(m_table, m_entry.id, flagCode, errorCode);
  }

  // A stop before END_OF_REC: once the devices took a strip they hold rows under indexes this
  // pass used, so the profile starts again from its Add Profile; before that the indexes it
  // allocated are given back and the flag stays "AD".
  void StopBeforeTheEnd() {
    if (m_bStripAccepted)
      StartAgain(m_table, m_entry.id, -1, -1);
    else
      StoreNextIndex(m_entry.id, m_firstIndex);
  }

  CUserProfileStatusTable& m_table;
  const DeviceListEntry& m_entry;
  syncservice::ProfileDataReader& m_reader;
  const int32_t m_firstIndex;
  int32_t m_nextIndex;
  StripBuilder m_strip;
  QList<CdbEntry> m_snapshot;  // only the rows sent
  bool m_bStripAccepted = false;
};

}  // namespace

bool CStatusChangeCheck::SendNewProfileData() const {
  CUserProfileStatusTable table;
  StatusWorkList work;
  for (const StatusRow& row : SelectStatusRows(table, QStringLiteral("Where StatusFlag = '%1'").arg(kDefinitionSent), 6))
    work.Add(row.id, row.userId);
  for (const DeviceListEntry& entry : work.Entries()) {
    if (SyncStopRequested()) break;
    // Held from the first row read to the snapshot's write, like every writer of the snapshot.
    const SyncSemaphoreHold lock(ProfileSnapshotSemaphore(entry.id));
    if (!lock.Held()) break;
    CCdbFile snapshot;
    snapshot.SetCdbFileName(entry.id);
    if (snapshot.DeliveryWasCutShort()) {
      Log(-1, QStringLiteral("The delivery of Profile %1 was cut short; it starts again from its Add Profile.").arg(entry.id));
      StartAgain(table, entry.id, -1, -1);
      snapshot.EndDelivery();
      continue;
    }
    std::optional<ProfileRecord> record = ReadProfileRecord(entry.id, 3, 5);
    if (!record) continue;
    syncservice::ProfileDataReader reader;
    reader.ReadForwardOnly();
    if (!OpenProfileForSending(*record, &reader, 21, 20)) continue;
    Log(8, QStringLiteral("Create Byte Strip For New Profile %1 and Device List %2.").arg(entry.id).arg(entry.deviceList));
    const int32_t firstIndex = AllocateNextRecIndex(entry.id);
    if (firstIndex < 0) {
      Log(-1, QStringLiteral("Profile %1 is not sent this turn: its next record index cannot be had (%2).")
                  .arg(entry.id)
                  .arg(firstIndex));
      continue;
    }
    if (!snapshot.NoteDeliveryStarted()) {
      Log(-1, QStringLiteral("Profile %1 is not sent this turn: the note of its delivery cannot be written.").arg(entry.id));
      StoreNextIndex(entry.id, firstIndex);
      continue;
    }
    ProfileSending(table, entry, reader, firstIndex).Run();
    snapshot.EndDelivery();
  }
  return true;
}
