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

// The rows of a forward-only result read ahead a batch at a time on a fetching thread, their
// digests made on worker threads while the next batches are fetched, so that reading a profile
// for its digests costs little more than fetching it. Rows are asked for in ascending order; the
// row asked for last may be asked for again. The result's statement belongs to the fetching
// thread until the object goes.
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
  static constexpr int32_t kBatchRows = 1024;
  // Digesting keeps pace with fetching with a few workers; more would only take cores.
  static constexpr int32_t kMaxWorkers = 3;

  struct Batch {
    int32_t count = 0;           // the rows fetched
    int32_t digestedIndex = -1;  // the batch whose digests the slot holds; guarded by m_mutex
    std::vector<data::FetchedRow> rows = std::vector<data::FetchedRow>(kBatchRows);
    std::vector<std::array<uint8_t, kRowDigestSize>> digests = std::vector<std::array<uint8_t, kRowDigestSize>>(kBatchRows);
  };

  // One worker for each core the fetching thread and the caller leave.
  static int32_t WorkerCount();
  // One batch being read by the caller, one being fetched, one for each worker and one ready.
  int32_t SlotCount() const { return static_cast<int32_t>(m_batches.size()); }
  int32_t BatchCount() const { return (m_nRowCount + kBatchRows - 1) / kBatchRows; }
  Batch& BatchOf(int32_t index) { return m_batches[static_cast<size_t>(index % SlotCount())]; }
  const Batch& BatchOf(int32_t index) const { return m_batches[static_cast<size_t>(index % SlotCount())]; }
  // The fetching thread: fetches every batch in turn into a slot the caller and the workers have
  // left, and hands it to the workers; it ends at the last batch, a failed fetch or the quit.
  void FetchBatches();
  // Fetches the rows of batch `index` into its slot; false when a fetch failed.
  bool FetchBatch(int32_t index);
  // A worker: digests the fetched batches handed out to it until told to quit.
  void DigestBatches();
  // Waits until batch `index` is digested, or will never be; true when it is.
  bool WaitForDigests(int32_t index);

  const int32_t m_nRowCount;
  const FetchNext m_fetchNext;
  const int32_t m_nWorkers;
  std::vector<Batch> m_batches;
  int32_t m_nDigestedSeen = -1;  // the batch the caller last found digested; the caller's own
  std::mutex m_mutex;
  std::condition_variable m_fetchedOrQuit;   // the workers wait on it
  std::condition_variable m_digestedOrLeft;  // the caller and the fetcher wait on it
  int32_t m_nFetched = 0;      // batches fetched and handed to the workers
  bool m_bFetchEnded = false;  // no batch after m_nFetched comes
  int32_t m_nClaimed = 0;      // batches a worker has taken
  int32_t m_nInUse = 0;        // the batch the caller reads; the slots of the ones before are free
  bool m_bQuit = false;
  std::vector<std::thread> m_workers;
  std::thread m_fetcher;
};

}  // namespace syncservice
