#pragma once

#include "sync/engine/CdbFile.h"

#include <QList>

#include <cstdint>

// One profile's snapshot as back synchronisation changes it: loaded once, edited for the row a
// device changed, and rewritten whole.
class ProfileSnapshot {
 public:
  explicit ProfileSnapshot(int32_t profileId);

  // The first entry of the record; null when the snapshot does not hold it.
  const CdbEntry* Find(int32_t recordSource, int32_t recordIndex) const;
  void Append(const CdbEntry& entry) { m_entries.append(entry); }
  // How many entries carry `digest`.
  qsizetype CountDigest(const uint8_t digest[kSha512DigestSize]) const;
  // Every entry of the record takes `digest`.
  void ReplaceDigest(int32_t recordSource, int32_t recordIndex, const uint8_t digest[kSha512DigestSize]);
  void Remove(int32_t recordSource, int32_t recordIndex);
  // Writes the snapshot file whole, creating it for a profile in step whose rows all came from
  // the devices; false when that failed.
  bool Rewrite() const { return m_file.WriteCdbRecords(m_entries); }

 private:
  CCdbFile m_file;
  QList<CdbEntry> m_entries;
};
