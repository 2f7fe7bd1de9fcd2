#pragma once

#include "sync/engine/CdbFile.h"

#include <QByteArray>
#include <QHash>

#include <cstdint>
#include <functional>
#include <utility>

namespace syncservice { class CExcelHandler; }
namespace syncservice { class ProfileDataReader; }

// Finds the desktop row that carries the digest a profile's snapshot holds for a record. Built
// once from the snapshot and one read of the rows, it answers any number of lookups (back
// synchronisation checks a whole batch of device changes against one pass over the rows).
class RecordDigestLookup {
 public:
  // The rows of the reader's executed query, its columns bound while they are read.
  RecordDigestLookup(syncservice::ProfileDataReader& reader, int32_t profileId);
  // The rows of the worksheet; with `skipFirstRow` the header row is never a match.
  RecordDigestLookup(syncservice::CExcelHandler& handler, int32_t profileId, bool skipFirstRow);

  // The first row whose digest is the one the snapshot holds for `entry`'s record source and
  // index: true with its index in `rowIndex` and the snapshot's entry copied into `entry`.
  // False with `rowIndex` -1 when the snapshot has no such entry or no row has its digest.
  bool Find(int32_t* rowIndex, CdbEntry* entry) const;

 private:
  using RowDigest = std::function<bool(int32_t row, uint8_t* digest)>;

  void LoadSnapshot(int32_t profileId);
  void IndexRows(int32_t firstRow, int32_t rowCount, const RowDigest& digestOfRow);

  // The first snapshot entry of each record identity.
  QHash<std::pair<int32_t, int32_t>, CdbEntry> m_entries;
  // The first row of each digest.
  QHash<QByteArray, int32_t> m_rows;
};
