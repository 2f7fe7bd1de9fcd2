#pragma once

#include "shared/data/FetchedRow.h"
#include "sync/data/RowDigest.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace syncservice {

// The rows of a forward-only result read ahead a batch at a time, their digests made on a second
// thread while the next batch is fetched, so that reading a profile for its digests costs little
// more than fetching it. Rows are asked for in ascending order; the row asked for last may be
// asked for again.
class ReadAheadRows {
 public:
  // Fetches the next row of the result into `row`; false when the fetch failed.
  using FetchNext = std::function<bool(data::FetchedRow* row)>;

  ReadAheadRows(int32_t rowCount, FetchNext fetchNext);
  ~ReadAheadRows();
  ReadAheadRows(const ReadAheadRows&) = delete;
  ReadAheadRows& operator=(const ReadAheadRows&) = delete;

  // The digest of zero-based `row`; false when the row could not be fetched.
  bool Digest(int32_t row, uint8_t digest[kRowDigestSize]);
  // The values of `row`, the row Digest answered last.
  const data::FetchedRow& Row(int32_t row) const;

 private:
  static constexpr int32_t kBatchRows = 256;
  // One being read by the caller, one being digested, one being fetched.
  static constexpr int32_t kBatches = 3;

  struct Batch {
    int32_t count = 0;  // the rows fetched
    std::vector<data::FetchedRow> rows = std::vector<data::FetchedRow>(kBatchRows);
    std::vector<std::array<uint8_t, kRowDigestSize>> digests = std::vector<std::array<uint8_t, kRowDigestSize>>(kBatchRows);
  };

  Batch& BatchOf(int32_t index) { return m_batches[static_cast<size_t>(index % kBatches)]; }
  const Batch& BatchOf(int32_t index) const { return m_batches[static_cast<size_t>(index % kBatches)]; }
  // Fetches the rows of the next batch and hands it to the worker.
  void FetchBatch();
  // The worker: digests the fetched batches in order until told to quit.
  void DigestBatches();

  const int32_t m_nRowCount;
  const FetchNext m_fetchNext;
  std::array<Batch, kBatches> m_batches;
  int32_t m_nFetched = 0;  // batches fetched; written by the caller's thread only
  bool m_bFetchFailed = false;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  int32_t m_nHandedOver = 0;  // batches the worker may digest
  int32_t m_nDigested = 0;    // batches whose digests are made
  bool m_bQuit = false;
  std::thread m_worker;
};

}  // namespace syncservice
