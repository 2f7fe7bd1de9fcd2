#pragma once

#include "sync/engine/CdbFile.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// A profile's snapshot entries indexed by digest, for matching the current rows against them.
// Entries of one digest are told apart by their order of loading: the first stands under the
// digest's hex key, the next ones under the key with "_1", "_2", ... appended. A row takes the
// first entry of its digest that no row took yet.
//
// One flat open-addressing table of entry numbers over the entries themselves: a few bytes per
// entry beside its 72, and no allocation per entry, since a profile may hold millions of rows.
class SnapshotIndex {
 public:
  using Digest = std::array<uint8_t, kSha512DigestSize>;

  explicit SnapshotIndex(QList<CdbEntry> entries);

  // Marks the first untaken entry of `digest` as taken and answers it; nullptr when every entry
  // of the digest is taken (or there is none): the row is new.
  const CdbEntry* Match(const Digest& digest);

  bool AllMatched() const { return m_nUnmatched == 0; }

  // Every untaken entry with its key (hex digest and its "_n" suffix), in ascending key order.
  void ForEachUnmatched(const std::function<void(const CdbEntry&, const QString& key)>& visit) const;

  // The key of the `n`-th entry of a digest (0 for the first): "<hex>" or "<hex>_<n>".
  static QString KeyOf(const Digest& digest, int n);

 private:
  static constexpr uint32_t kNone = UINT32_MAX;

  // The table slot of `digest`: the one holding its first entry, or the empty one where it would go.
  size_t SlotOf(const Digest& digest) const;

  QList<CdbEntry> m_entries;
  std::vector<uint32_t> m_slots;      // first entry of a digest, or kNone
  std::vector<uint32_t> m_next;       // the next entry of the same digest, or kNone
  std::vector<uint32_t> m_untaken;    // per first entry: its digest's first untaken entry, or kNone
  qsizetype m_nUnmatched = 0;
};
