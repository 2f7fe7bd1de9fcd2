#pragma once

#include "shared/data/ProfileRecord.h"
#include "sync/data/RowDigest.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/DeviceMessages.h"
#include "sync/engine/TurnRowLookup.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class ProfileChangeRun;
namespace syncservice { class ProfileDataReader; }
class ProfileSnapshot;
class CExcelHandlerForUserDB;
namespace platform {
class Workbook;
}

// What became of one device message.
struct DeviceChangeOutcome {
  enum class Kind {
    Answer,  // applied or refused for good: the device gets `code` and `text`
    Drop,    // not for this desktop (profile missing, device not a user of it): no answer
    Keep,    // the profile's source was out of reach: applied on a later turn
  };
  Kind kind = Kind::Drop;
  int16_t code = 0;
  QString text;
  bool workbook = false;  // came through the workbook path, whose lines carry no codes

  static DeviceChangeOutcome Answer(int16_t code, const QString& text) { return {Kind::Answer, code, text}; }
  static DeviceChangeOutcome Synced() { return Answer(1, QStringLiteral("Synced")); }
  static DeviceChangeOutcome Drop() { return {}; }
  static DeviceChangeOutcome Keep() { return {Kind::Keep, 0, {}}; }
};

// Applies one added, updated or deleted row from a device to its profile's data under the
// conflict rule (a desktop row changed since it went to the devices wins), and keeps the
// profile's snapshot and the record of rows back synchronisation wrote in step with the write.
class DeviceChange {
 public:
  // `mayBeApplied`: the message was being applied when the program ended (it comes from the
  // kept messages), so its change may stand on the desktop already; it is then recorded and
  // answered without being written again.
  explicit DeviceChange(const devicemessages::DeviceMessage& message, bool mayBeApplied = false)
      : m_message(message), m_bMayBeApplied(mayBeApplied) {}

  // With the snapshot lock of the message's profile held by the caller: it spans the conflict
  // test and the snapshot rewrite. `run` is the run of the profile's changes the message is part of.
  DeviceChangeOutcome Apply(ProfileChangeRun& run) const;

  // The back-sync log code of a step: the first for a delete, the second for an add or update.
  int Code(int forDelete, int forAddOrUpdate) const { return IsDelete() ? forDelete : forAddOrUpdate; }
  bool IsDelete() const { return m_message.type == devicemessages::kRecordDeleted; }

 private:
  void LogReceived() const;
  // The profile row of the message, read once for the run; nothing, with `outcome` set, when
  // there is none to apply to (or the device is not one of its users).
  std::optional<ProfileRecord> ReadProfile(ProfileChangeRun& run, DeviceChangeOutcome* outcome) const;
  // The row as the settings database holds it; nothing, with `outcome` set, when there is none.
  std::optional<ProfileRecord> ReadProfileRow(DeviceChangeOutcome* outcome) const;

  // The desktop row of the message's record, found by the digest the snapshot holds for it:
  // through the run's rows when the table is written by key (`values`), else by a read of the
  // rows (`index`).
  struct TableRow {
    CdbEntry entry;
    int32_t index = -1;
    TurnRowLookup::Row* values = nullptr;
  };

  // The run's source open and its query run; false, logged, when the source is out of reach.
  bool OpenTable(const ProfileRecord& profile, ProfileChangeRun& run) const;
  DeviceChangeOutcome ApplyToTable(const ProfileRecord& profile, ProfileChangeRun& run) const;
  bool AddTableRow(ProfileChangeRun& run, syncservice::ProfileDataReader& reader, uint8_t* digest, QString* reason) const;
  std::optional<TableRow> FindTableRow(ProfileChangeRun& run, syncservice::ProfileDataReader& reader,
                                       const ProfileSnapshot& snapshot) const;
  DeviceChangeOutcome UpdateTable(ProfileChangeRun& run, syncservice::ProfileDataReader& reader, ProfileSnapshot& snapshot) const;
  // Whether the found row holds the message's record already.
  bool HoldsUpdate(syncservice::ProfileDataReader& reader, const TableRow& found) const;
  // Writes the message's record over the found row, refused when the row no longer has the
  // snapshot's digest: true with the stored row's digest, else false with the reason.
  bool UpdateRow(ProfileChangeRun& run, syncservice::ProfileDataReader& reader, const TableRow& found,
                 uint8_t digest[kRowDigestSize], QString* error) const;
  DeviceChangeOutcome DeleteFromTable(ProfileChangeRun& run, syncservice::ProfileDataReader& reader,
                                      ProfileSnapshot& snapshot) const;
  bool DeleteRow(ProfileChangeRun& run, syncservice::ProfileDataReader& reader, const TableRow& found, QString* error) const;

  DeviceChangeOutcome ApplyToWorkbook(const ProfileRecord& profile) const;
  // `book` is saved after each write, before the snapshot records it.
  DeviceChangeOutcome ApplyToSheet(CExcelHandlerForUserDB& sheet, platform::Workbook& book) const;
  DeviceChangeOutcome ChangeSheetRow(CExcelHandlerForUserDB& sheet, platform::Workbook& book,
                                     ProfileSnapshot& snapshot) const;
  DeviceChangeOutcome UpdateSheetRow(CExcelHandlerForUserDB& sheet, platform::Workbook& book, int32_t sheetRow,
                                     ProfileSnapshot& snapshot) const;
  DeviceChangeOutcome DeleteSheetRow(CExcelHandlerForUserDB& sheet, platform::Workbook& book, int32_t sheetRow,
                                     const CdbEntry& entry, ProfileSnapshot& snapshot) const;
  // The answer to a write that failed (or a workbook that could not be saved), logged with `code`.
  DeviceChangeOutcome WriteFailed(int code, const QString& reason) const;

  // Writes the new row: true with the stored row's digest, false with the reason.
  using RowWrite = std::function<bool(uint8_t* digest, QString* error)>;
  // An add of the message's row through `write`, under BACK_TRACK_CONFLICT_FOR_TarnwickPLite, and
  // its record; an add delivered again is answered without writing. A failure is logged with
  // `failureCode`.
  DeviceChangeOutcome AddRow(ProfileSnapshot& snapshot, int failureCode, const RowWrite& write) const;
  // The snapshot entry of the message's record, without a digest.
  CdbEntry MessageEntry() const;
  // True, with a line, when the snapshot holds the record already: an add delivered again.
  bool WasAddedBefore(const ProfileSnapshot& snapshot) const;
  // After an add: the new row's entry appended, then RecordWrittenRow.
  void RecordAddedRow(const uint8_t digest[kRowDigestSize], ProfileSnapshot& snapshot) const;
  // The answer to a change of a row that changed on the desktop since it was sent.
  DeviceChangeOutcome Conflict(const QString& ignoredLine) const;
  // After a row was written: the row's digest recorded for change detection, the snapshot
  // saved. Called with BACK_TRACK_CONFLICT_FOR_TarnwickPLite held.
  void RecordWrittenRow(const uint8_t digest[kRowDigestSize], ProfileSnapshot& snapshot) const;
  QString RecordText(const char* format) const;
  // For a message that may have been applied: the digest of a desktop row that holds the
  // message's row and that the snapshot does not account for (more such rows than entries of
  // their digest); nothing when there is none.
  std::optional<CdbEntry> LandedRow(ProfileChangeRun& run, syncservice::ProfileDataReader& reader,
                                    const ProfileSnapshot& snapshot) const;
  // Records a change found standing on the desktop already and answers it "Synced".
  DeviceChangeOutcome AlreadyApplied(const char* what) const;

  const devicemessages::DeviceMessage& m_message;
  const bool m_bMayBeApplied;
};
