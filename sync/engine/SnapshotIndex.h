#pragma once

#include "sync/engine/CdbFile.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

// A profile's snapshot entries indexed by digest, for matching the current rows against them.
// Entries of one digest are told apart by their order of loading: the first stands under the
// digest's hex key, the next ones under the key with "_1", "_2", ... appended. A row takes the
// first entry of its digest that no row took yet.
class SnapshotIndex {
 public:
  using Digest = std::array<uint8_t, kSha512DigestSize>;

  explicit SnapshotIndex(const QList<CdbEntry>& entries);

  // Marks the first untaken entry of `digest` as taken and answers it; nullptr when every entry
  // of the digest is taken (or there is none): the row is new.
  const CdbEntry* Match(const Digest& digest);

  bool AllMatched() const { return m_nUnmatched == 0; }

  // Every untaken entry with its key (hex digest and its "_n" suffix), in ascending key order.
  void ForEachUnmatched(const std::function<void(const CdbEntry&, const QString& key)>& visit) const;

  // The key of the `n`-th entry of a digest (0 for the first): "<hex>" or "<hex>_<n>".
  static QString KeyOf(const Digest& digest, int n);

 private:
  struct DigestHash {
    size_t operator()(const Digest& digest) const;
  };
  struct Slots {
    std::vector<CdbEntry> entries;
    size_t matched = 0;  // entries are taken in order, so the taken ones are a prefix
  };

  std::unordered_map<Digest, Slots, DigestHash> m_slots;
  qsizetype m_nUnmatched = 0;
};
