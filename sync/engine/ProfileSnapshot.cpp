#include "sync/engine/ProfileSnapshot.h"

#include <algorithm>
#include <cstring>

namespace {

SnapshotChange ChangeOf(SnapshotChange::Kind kind, int32_t recordSource, int32_t recordIndex,
                        const uint8_t* digest = nullptr) {
  SnapshotChange change;
  change.kind = kind;
  change.entry.recordSource = recordSource;
  change.entry.recordIndex = recordIndex;
  if (digest != nullptr) std::memcpy(change.entry.digest.data(), digest, change.entry.digest.size());
  return change;
}

}  // namespace

ProfileSnapshot::ProfileSnapshot(int32_t profileId, bool journaled, const QSet<uint64_t>& named)
    : m_bJournaled(journaled) {
  m_file.SetCdbFileName(profileId);
  m_file.LoadCdbRecords(&m_entries);
  m_removed.assign(static_cast<size_t>(m_entries.size()), false);
  if (named.isEmpty()) return;
  for (const uint64_t key : named) m_positions.insert(key, {});
  for (qsizetype at = 0; at < m_entries.size(); ++at) {
    const auto positions = m_positions.find(RecordKey(m_entries.at(at).recordSource, m_entries.at(at).recordIndex));
    if (positions != m_positions.end()) positions->append(at);
  }
}

QList<qsizetype>& ProfileSnapshot::Positions(int32_t recordSource, int32_t recordIndex) const {
  const uint64_t key = RecordKey(recordSource, recordIndex);
  auto positions = m_positions.find(key);
  if (positions != m_positions.end()) return *positions;
  QList<qsizetype> found;
  for (qsizetype at = 0; at < m_entries.size(); ++at) {
    const CdbEntry& entry = m_entries.at(at);
    if (!m_removed[static_cast<size_t>(at)] && entry.recordSource == recordSource && entry.recordIndex == recordIndex)
      found.append(at);
  }
  return *m_positions.insert(key, found);
}

const CdbEntry* ProfileSnapshot::Find(int32_t recordSource, int32_t recordIndex) const {
  const QList<qsizetype>& positions = Positions(recordSource, recordIndex);
  return positions.isEmpty() ? nullptr : &m_entries.at(positions.first());
}

void ProfileSnapshot::Append(const CdbEntry& entry) {
  const auto positions = m_positions.find(RecordKey(entry.recordSource, entry.recordIndex));
  if (positions != m_positions.end()) positions->append(m_entries.size());
  m_entries.append(entry);
  m_removed.push_back(false);
  SnapshotChange change;
  change.entry = entry;
  m_pending.append(change);
}

void ProfileSnapshot::ReplaceDigest(int32_t recordSource, int32_t recordIndex,
                                    const uint8_t digest[kSha512DigestSize]) {
  for (const qsizetype at : Positions(recordSource, recordIndex)) {
    std::memcpy(m_entries[at].digest.data(), digest, kSha512DigestSize);
  }
  m_pending.append(ChangeOf(SnapshotChange::kSetDigest, recordSource, recordIndex, digest));
}

void ProfileSnapshot::Remove(int32_t recordSource, int32_t recordIndex) {
  QList<qsizetype>& positions = Positions(recordSource, recordIndex);
  for (const qsizetype at : positions) m_removed[static_cast<size_t>(at)] = true;
  positions.clear();
  m_pending.append(ChangeOf(SnapshotChange::kRemove, recordSource, recordIndex));
}

qsizetype ProfileSnapshot::CountDigest(const uint8_t digest[kSha512DigestSize]) const {
  qsizetype count = 0;
  for (qsizetype at = 0; at < m_entries.size(); ++at) {
    if (!m_removed[static_cast<size_t>(at)] &&
        std::memcmp(m_entries.at(at).digest.data(), digest, kSha512DigestSize) == 0)
      ++count;
  }
  return count;
}

QList<CdbEntry> ProfileSnapshot::LiveEntries() const {
  if (std::find(m_removed.begin(), m_removed.end(), true) == m_removed.end()) return m_entries;
  QList<CdbEntry> live;
  live.reserve(m_entries.size());
  for (qsizetype at = 0; at < m_entries.size(); ++at) {
    if (!m_removed[static_cast<size_t>(at)]) live.append(m_entries.at(at));
  }
  return live;
}

bool ProfileSnapshot::Save() {
  if (m_pending.isEmpty()) return true;
  // A change the journal could not take is saved by writing the snapshot whole.
  const bool saved = (m_bJournaled && m_file.Journal().Append(m_pending)) || m_file.WriteCdbRecords(LiveEntries());
  m_bChanged = true;
  m_pending.clear();
  return saved;
}

bool ProfileSnapshot::Close() const {
  if (!m_bJournaled || !m_bChanged) return true;
  return m_file.WriteCdbRecords(LiveEntries());
}
