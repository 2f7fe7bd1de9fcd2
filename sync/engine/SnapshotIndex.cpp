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

SnapshotIndex::SnapshotIndex(QList<CdbEntry> entries) : m_entries(std::move(entries)), m_nUnmatched(m_entries.size()) {}

void SnapshotIndex::BuildTable() {
  m_bTable = true;
  const auto count = static_cast<size_t>(m_entries.size());
  m_slots.assign(std::bit_ceil(count * 2 + 2), kNone);
  m_next.assign(count, kNone);
  m_untaken.assign(count, kNone);
  // Each digest's last entry so far, so that its entries chain in load order.
  std::vector<uint32_t> last(count, kNone);
  for (uint32_t i = 0; i < static_cast<uint32_t>(count); ++i) {
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
  // The entries taken in order are the first of their digests' chains.
  for (uint32_t i = 0; i < m_nTakenInOrder; ++i) {
    const uint32_t first = m_slots[SlotOf(m_entries.at(i).digest)];
    m_untaken[first] = m_next[i];
  }
}

size_t SnapshotIndex::SlotOf(const Digest& digest) const {
  const size_t mask = m_slots.size() - 1;
  for (size_t slot = HashOf(digest) & mask;; slot = (slot + 1) & mask) {
    if (m_slots[slot] == kNone || m_entries.at(m_slots[slot]).digest == digest) return slot;
  }
}

const CdbEntry* SnapshotIndex::Match(const Digest& digest) {
  if (!m_bTable) {
    // While every entry before it is taken, the next entry is the first untaken of its digest.
    if (m_nTakenInOrder < static_cast<uint32_t>(m_entries.size()) && m_entries.at(m_nTakenInOrder).digest == digest) {
      --m_nUnmatched;
      return &m_entries.at(m_nTakenInOrder++);
    }
    BuildTable();
  }
  const uint32_t first = m_slots[SlotOf(digest)];
  if (first == kNone || m_untaken[first] == kNone) return nullptr;
  const uint32_t taken = m_untaken[first];
  m_untaken[first] = m_next[taken];
  --m_nUnmatched;
  return &m_entries.at(taken);
}

QList<CdbEntry> SnapshotIndex::TakeEntries() {
  m_bTable = false;
  m_nTakenInOrder = 0;
  m_slots.clear();
  m_next.clear();
  m_untaken.clear();
  m_nUnmatched = 0;
  return std::exchange(m_entries, {});
}

void SnapshotIndex::ForEachUnmatched(const std::function<void(const CdbEntry&, const QString&)>& visit) {
  if (!m_bTable) BuildTable();
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
