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
// The snapshot is written in row order, so while the rows match its entries one after the other
// they are taken in that order with no table at all. The first row that does not is looked up in
// one flat open-addressing table of entry numbers over the entries themselves, built then: a few
// bytes per entry beside its 72, and no allocation per entry, since a profile may hold millions
// of rows.
class SnapshotIndex {
 public:
  using Digest = std::array<uint8_t, kSha512DigestSize>;

  explicit SnapshotIndex(QList<CdbEntry> entries);

  // Marks the first untaken entry of `digest` as taken and answers it; nullptr when every entry
  // of the digest is taken (or there is none): the row is new.
  const CdbEntry* Match(const Digest& digest);
  // The position of an entry Match or ForEachUnmatched gave among the entries as loaded.
  uint32_t NumberOf(const CdbEntry& entry) const { return static_cast<uint32_t>(&entry - m_entries.constData()); }

  bool AllMatched() const { return m_nUnmatched == 0; }

  // Every untaken entry with its key (hex digest and its "_n" suffix), in ascending key order.
  void ForEachUnmatched(const std::function<void(const CdbEntry&, const QString& key)>& visit);

  // The entries as loaded, for the caller to keep once matching is over; the index is empty then.
  QList<CdbEntry> TakeEntries();

  // The key of the `n`-th entry of a digest (0 for the first): "<hex>" or "<hex>_<n>".
  static QString KeyOf(const Digest& digest, int n);

 private:
  static constexpr uint32_t kNone = UINT32_MAX;

  // Builds the table, the entries taken in order so far marked as taken.
  void BuildTable();
  // The table slot of `digest`: the one holding its first entry, or the empty one where it would go.
  size_t SlotOf(const Digest& digest) const;

  QList<CdbEntry> m_entries;
  uint32_t m_nTakenInOrder = 0;       // entries taken one after the other before the table was needed
  bool m_bTable = false;
  std::vector<uint32_t> m_slots;      // first entry of a digest, or kNone
  std::vector<uint32_t> m_next;       // the next entry of the same digest, or kNone
  std::vector<uint32_t> m_untaken;    // per first entry: its digest's first untaken entry, or kNone
  qsizetype m_nUnmatched = 0;
};
