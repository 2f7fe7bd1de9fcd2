#pragma once

#include "sync/engine/CdbFile.h"
#include "sync/engine/SnapshotJournal.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <cstdint>
#include <vector>

// One profile's snapshot as back synchronisation changes it: loaded once and edited for the rows
// the devices changed. Each Save puts the changes since the last one on the disk: a plain
// snapshot is written whole each time; a journaled one appends them to its journal and is written
// whole once, by Close (one write for a run of changes to a large snapshot).
class ProfileSnapshot {
 public:
  // The key of a record identity in `named`.
  static uint64_t RecordKey(int32_t recordSource, int32_t recordIndex) {
    return (uint64_t{static_cast<uint32_t>(recordSource)} << 32) | static_cast<uint32_t>(recordIndex);
  }

  // `named`: the records the changes will touch, indexed in the pass that loads the snapshot;
  // any other record is looked for by a pass over the entries when it is first asked for.
  explicit ProfileSnapshot(int32_t profileId, bool journaled = false, const QSet<uint64_t>& named = {});

  // The first entry of the record; null when the snapshot does not hold it. Valid until the
  // next change.
  const CdbEntry* Find(int32_t recordSource, int32_t recordIndex) const;
  void Append(const CdbEntry& entry);
  // How many entries carry `digest`.
  qsizetype CountDigest(const uint8_t digest[kSha512DigestSize]) const;
  // Every entry of the record takes `digest`.
  void ReplaceDigest(int32_t recordSource, int32_t recordIndex, const uint8_t digest[kSha512DigestSize]);
  void Remove(int32_t recordSource, int32_t recordIndex);
  // Puts the changes made since the last Save on the disk, creating the snapshot for a profile in
  // step whose rows all came from the devices; false when that failed.
  bool Save();
  // A journaled snapshot that changed is written whole, which makes its journal void; false when
  // that failed (the journal then still holds the changes).
  bool Close() const;

 private:
  // The positions of the record's live entries.
  QList<qsizetype>& Positions(int32_t recordSource, int32_t recordIndex) const;
  QList<CdbEntry> LiveEntries() const;

  CCdbFile m_file;
  QList<CdbEntry> m_entries;
  std::vector<bool> m_removed;
  mutable QHash<uint64_t, QList<qsizetype>> m_positions;
  QList<SnapshotChange> m_pending;
  bool m_bJournaled = false;
  bool m_bChanged = false;
};
