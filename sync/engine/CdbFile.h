#pragma once

#include "sync/data/Sha2.h"

#include <QList>
#include <QString>

class SnapshotJournal;

#include <array>
#include <cstdint>

// One row that the devices hold: its record identity and the digest of its values. The unit of
// the snapshot file, 72 bytes little-endian.
struct CdbEntry {
  static constexpr int kSize = 72;

  int32_t recordSource = 0;
  int32_t recordIndex = 0;
  std::array<uint8_t, kSha512DigestSize> digest{};

  bool operator==(const CdbEntry&) const = default;

  // A record the devices may or may not hold: its add went out and no answer came. Its digest is
  // all zeros, which no row's digest is, so change detection never matches it and sends its
  // delete (a device that does not hold the record takes that as done).
  static CdbEntry InDoubt(int32_t recordSource, int32_t recordIndex);
  bool IsInDoubt() const;
};

// The snapshot of one profile's rows on the devices, "cdb_<ProfileID>.bin" in the installation's
// "Desktop Files/DB/CDB Files" folder: a plain sequence of entries. Every write replaces the file
// whole (temporary file, then rename), so a crash or a full disk leaves the previous snapshot.
// Changes made since the last whole write stand in its journal (SnapshotJournal): loading applies
// them, and a whole write makes the journal void.
class CCdbFile {
 public:
  CCdbFile();

  void SetCdbFileName(int32_t profileId);
  QString Path() const { return m_strFolder + m_strName; }
  SnapshotJournal Journal() const;

  // The entries as the file holds them.
  static QByteArray Bytes(const QList<CdbEntry>& entries);

  // Writes the entries as the whole snapshot, creating the file when it does not exist.
  bool WriteCdbRecords(const QList<CdbEntry>& entries) const;
  bool WriteCdbBytes(const QByteArray& bytes) const;
  // Rewrites an existing snapshot with the entries; a snapshot that is gone (the profile was
  // deleted meanwhile) stays gone.
  bool WriteCdbVector(const QList<CdbEntry>& entries) const;
  bool RewriteCdbBytes(const QByteArray& bytes) const;
  // Appends the snapshot's entries, its journal applied, to `entries` and answers how many; a
  // missing file has none. A partial entry at the end (only an outside change makes one) is left
  // out with a log line.
  int32_t LoadCdbRecords(QList<CdbEntry>* entries) const;
  // Writes the snapshot whole with its journal applied, when it has one; false when that failed
  // (the journal then stays).
  bool FoldJournal() const;
  // The snapshot and its journal are gone; a missing file is no error.
  void Remove() const;
  // Removes the temporary files that writers killed mid-write left in the snapshots' folder: a
  // profile that no longer changes may never be written again to take them.
  void RemoveStaleTemporaryFiles() const;

  // The note that the profile's first delivery (its strips) is under way: written, on the disk,
  // before the first strip goes and removed once the delivery ended either way, so that a start
  // after a crash knows that the devices may hold part of the profile.
  bool NoteDeliveryStarted() const;
  bool DeliveryWasCutShort() const;
  void EndDelivery() const;

 private:
  // The file beside the snapshot named like it with `extension` in place of ".bin".
  QString SiblingPath(const QString& extension) const;
  QString DeliveryNotePath() const { return SiblingPath(QStringLiteral(".delivery")); }

  QString m_strFolder;
  QString m_strName;
};
