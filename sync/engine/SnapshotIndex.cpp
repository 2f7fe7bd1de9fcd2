#include "sync/engine/SnapshotIndex.h"

#include "sync/data/RowDigest.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

namespace {

// The digest is a cryptographic hash already: any of its words is spread evenly.
size_t HashOf(const SnapshotIndex::Digest& digest) {
  size_t word = 0;
  std::memcpy(&word, digest.data(), sizeof word);
  return word;
}

}  // namespace

SnapshotIndex::SnapshotIndex(QList<CdbEntry> entries)
    : m_entries(std::move(entries)),
      m_slots(std::bit_ceil(static_cast<size_t>(m_entries.size()) * 2 + 2), kNone),
      m_next(static_cast<size_t>(m_entries.size()), kNone),
      m_untaken(static_cast<size_t>(m_entries.size()), kNone),
      m_nUnmatched(m_entries.size()) {
  // Each digest's last entry so far, so that its entries chain in load order.
  std::vector<uint32_t> last(static_cast<size_t>(m_entries.size()), kNone);
  for (uint32_t i = 0; i < static_cast<uint32_t>(m_entries.size()); ++i) {
    uint32_t& slot = m_slots[SlotOf(m_entries.at(i).digest)];
    if (slot == kNone) {
      slot = i;
      m_untaken[i] = i;
      last[i] = i;
    } else {
      m_next[last[slot]] = i;
      last[slot] = i;
    }
  }
}

size_t SnapshotIndex::SlotOf(const Digest& digest) const {
  const size_t mask = m_slots.size() - 1;
  for (size_t slot = HashOf(digest) & mask;; slot = (slot + 1) & mask) {
    if (m_slots[slot] == kNone || m_entries.at(m_slots[slot]).digest == digest) return slot;
  }
}

const CdbEntry* SnapshotIndex::Match(const Digest& digest) {
  const uint32_t first = m_slots[SlotOf(digest)];
  if (first == kNone || m_untaken[first] == kNone) return nullptr;
  const uint32_t taken = m_untaken[first];
  m_untaken[first] = m_next[taken];
  --m_nUnmatched;
  return &m_entries.at(taken);
}

void SnapshotIndex::ForEachUnmatched(const std::function<void(const CdbEntry&, const QString&)>& visit) const {
  std::vector<std::pair<QString, uint32_t>> unmatched;
  unmatched.reserve(static_cast<size_t>(m_nUnmatched));
  for (const uint32_t first : m_slots) {
    if (first == kNone) continue;
    int n = 0;
    for (uint32_t i = first; i != kNone; i = m_next[i], ++n) {
      if (i == m_untaken[first]) {
        // The untaken entries of a digest are the tail of its chain.
        for (uint32_t j = i; j != kNone; j = m_next[j], ++n) unmatched.emplace_back(KeyOf(m_entries.at(j).digest, n), j);
        break;
      }
    }
  }
  std::sort(unmatched.begin(), unmatched.end());
  for (const auto& [key, i] : unmatched) visit(m_entries.at(i), key);
}

QString SnapshotIndex::KeyOf(const Digest& digest, int n) {
  const QString hex = DigestToHex(digest.data());
  return n == 0 ? hex : QStringLiteral("%1_%2").arg(hex).arg(n);
}
