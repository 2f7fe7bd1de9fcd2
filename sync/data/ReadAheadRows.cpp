#include "sync/data/ReadAheadRows.h"

#include "sync/data/FetchedRowText.h"

#include <algorithm>

namespace syncservice {

ReadAheadRows::ReadAheadRows(int32_t rowCount, FetchNext fetchNext)
    : m_nRowCount(std::max(rowCount, 0)),
      m_fetchNext(std::move(fetchNext)),
      m_nWorkers(WorkerCount()),
      m_batches(static_cast<size_t>(m_nWorkers + 3)) {
  m_workers.reserve(static_cast<size_t>(m_nWorkers));
  for (int32_t i = 0; i < m_nWorkers; ++i) m_workers.emplace_back(&ReadAheadRows::DigestBatches, this);
  m_fetcher = std::thread(&ReadAheadRows::FetchBatches, this);
}

ReadAheadRows::~ReadAheadRows() {
  {
    const std::lock_guard lock(m_mutex);
    m_bQuit = true;
  }
  m_fetchedOrQuit.notify_all();
  m_digestedOrLeft.notify_all();
  m_fetcher.join();
  for (std::thread& worker : m_workers) worker.join();
}

int32_t ReadAheadRows::WorkerCount() {
  const auto cores = static_cast<int32_t>(std::thread::hardware_concurrency());
  return std::clamp(cores - 2, 1, kMaxWorkers);
}

bool ReadAheadRows::Digest(int32_t row, uint8_t digest[kRowDigestSize]) {
  if (row < 0 || row >= m_nRowCount) return false;
  const int32_t index = row / kBatchRows;
  // Once seen digested, a batch stays so until the caller moves on: the fetcher leaves its slot.
  if (index != m_nDigestedSeen && !WaitForDigests(index)) return false;
  m_nDigestedSeen = index;
  const Batch& batch = BatchOf(index);
  const int32_t at = row % kBatchRows;
  if (at >= batch.count) return false;
  std::copy(batch.digests[static_cast<size_t>(at)].begin(), batch.digests[static_cast<size_t>(at)].end(), digest);
  return true;
}

bool ReadAheadRows::WaitForDigests(int32_t index) {
  const Batch& batch = BatchOf(index);
  std::unique_lock lock(m_mutex);
  // A batch before the one in use may already lie under a later one.
  if (index < m_nInUse) return false;
  if (index > m_nInUse) {
    // The slots of the batches before are free for the fetcher.
    m_nInUse = index;
    m_digestedOrLeft.notify_all();
  }
  m_digestedOrLeft.wait(lock, [this, &batch, index] {
    return batch.digestedIndex == index || (m_bFetchEnded && index >= m_nFetched);
  });
  return batch.digestedIndex == index;
}

const data::FetchedRow& ReadAheadRows::Row(int32_t row) const { return BatchOf(row / kBatchRows).rows[static_cast<size_t>(row % kBatchRows)]; }

void ReadAheadRows::FetchBatches() {
  bool fetched = true;
  for (int32_t index = 0; index < BatchCount() && fetched; ++index) {
    {
      // The batch that last used the slot must be digested and left by the caller.
      std::unique_lock lock(m_mutex);
      const int32_t previous = index - SlotCount();
      const Batch& batch = BatchOf(index);
      m_digestedOrLeft.wait(lock, [this, &batch, previous] {
        return m_bQuit || previous < 0 || (batch.digestedIndex == previous && m_nInUse > previous);
      });
      if (m_bQuit) break;
    }
    fetched = FetchBatch(index);
    {
      const std::lock_guard lock(m_mutex);
      m_nFetched = index + 1;
    }
    m_fetchedOrQuit.notify_one();
  }
  {
    const std::lock_guard lock(m_mutex);
    m_bFetchEnded = true;
  }
  m_digestedOrLeft.notify_all();
}

bool ReadAheadRows::FetchBatch(int32_t index) {
  Batch& batch = BatchOf(index);
  const int32_t wanted = std::min(kBatchRows, m_nRowCount - index * kBatchRows);
  batch.count = 0;
  while (batch.count < wanted && m_fetchNext(&batch.rows[static_cast<size_t>(batch.count)])) ++batch.count;
  return batch.count == wanted;
}

void ReadAheadRows::DigestBatches() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_fetchedOrQuit.wait(lock, [this] { return m_bQuit || m_nClaimed < m_nFetched; });
    if (m_bQuit) return;
    const int32_t index = m_nClaimed++;
    Batch& batch = BatchOf(index);
    lock.unlock();
    for (int32_t i = 0; i < batch.count; ++i) {
      const auto at = static_cast<size_t>(i);
      ComputeTextDigest(RowTextOf(batch.rows[at]), batch.digests[at].data());
    }
    lock.lock();
    batch.digestedIndex = index;
    m_digestedOrLeft.notify_all();
  }
}

}  // namespace syncservice
