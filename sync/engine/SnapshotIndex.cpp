#include "sync/engine/SnapshotIndex.h"

#include "sync/data/RowDigest.h"

#include <algorithm>
#include <cstring>
#include <utility>

size_t SnapshotIndex::DigestHash::operator()(const Digest& digest) const {
  // The digest is a cryptographic hash already: any of its words is spread evenly.
  size_t word = 0;
  std::memcpy(&word, digest.data(), sizeof word);
  return word;
}

SnapshotIndex::SnapshotIndex(const QList<CdbEntry>& entries) {
  m_slots.reserve(static_cast<size_t>(entries.size()));
  for (const CdbEntry& entry : entries) m_slots[entry.digest].entries.push_back(entry);
  m_nUnmatched = entries.size();
}

const CdbEntry* SnapshotIndex::Match(const Digest& digest) {
  const auto found = m_slots.find(digest);
  if (found == m_slots.end()) return nullptr;
  Slots& slots = found->second;
  if (slots.matched == slots.entries.size()) return nullptr;
  --m_nUnmatched;
  return &slots.entries[slots.matched++];
}

void SnapshotIndex::ForEachUnmatched(const std::function<void(const CdbEntry&, const QString&)>& visit) const {
  std::vector<std::pair<QString, const CdbEntry*>> unmatched;
  unmatched.reserve(static_cast<size_t>(m_nUnmatched));
  for (const auto& [digest, slots] : m_slots) {
    for (size_t n = slots.matched; n < slots.entries.size(); ++n)
      unmatched.emplace_back(KeyOf(digest, static_cast<int>(n)), &slots.entries[n]);
  }
  std::sort(unmatched.begin(), unmatched.end(),
            [](const auto& left, const auto& right) { return left.first < right.first; });
  for (const auto& [key, entry] : unmatched) visit(*entry, key);
}

QString SnapshotIndex::KeyOf(const Digest& digest, int n) {
  const QString hex = DigestToHex(digest.data());
  return n == 0 ? hex : QStringLiteral("%1_%2").arg(hex).arg(n);
}
