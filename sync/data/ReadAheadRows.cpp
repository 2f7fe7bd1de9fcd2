#include "sync/data/ReadAheadRows.h"

#include "sync/data/FetchedRowText.h"

#include <algorithm>

namespace syncservice {

ReadAheadRows::ReadAheadRows(int32_t rowCount, FetchNext fetchNext)
    : m_nRowCount(rowCount),
      m_fetchNext(std::move(fetchNext)),
      m_nWorkers(WorkerCount()),
      m_batches(static_cast<size_t>(m_nWorkers + 2)) {
  m_workers.reserve(static_cast<size_t>(m_nWorkers));
  for (int32_t i = 0; i < m_nWorkers; ++i) m_workers.emplace_back(&ReadAheadRows::DigestBatches, this);
}

ReadAheadRows::~ReadAheadRows() {
  {
    const std::lock_guard lock(m_mutex);
    m_bQuit = true;
  }
  m_changed.notify_all();
  for (std::thread& worker : m_workers) worker.join();
}

int32_t ReadAheadRows::WorkerCount() {
  const auto cores = static_cast<int32_t>(std::thread::hardware_concurrency());
  return std::clamp(cores - 2, 1, kMaxWorkers);
}

bool ReadAheadRows::Digest(int32_t row, uint8_t digest[kRowDigestSize]) {
  if (row < 0 || row >= m_nRowCount) return false;
  const int32_t index = row / kBatchRows;
  // The batches after the one asked for are fetched while the workers digest the ones before.
  const int32_t batchCount = (m_nRowCount + kBatchRows - 1) / kBatchRows;
  while (!m_bFetchFailed && m_nFetched < std::min(index + 1 + m_nWorkers, batchCount)) FetchBatch();
  if (index >= m_nFetched) return false;
  const Batch& batch = BatchOf(index);
  {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&batch, index] { return batch.digestedIndex == index; });
  }
  const int32_t at = row % kBatchRows;
  if (at >= batch.count) return false;
  std::copy(batch.digests[static_cast<size_t>(at)].begin(), batch.digests[static_cast<size_t>(at)].end(), digest);
  return true;
}

const data::FetchedRow& ReadAheadRows::Row(int32_t row) const { return BatchOf(row / kBatchRows).rows[static_cast<size_t>(row % kBatchRows)]; }

void ReadAheadRows::FetchBatch() {
  Batch& batch = BatchOf(m_nFetched);
  {
    // The batch that last used the slot must be digested before its rows are overwritten.
    std::unique_lock lock(m_mutex);
    const int32_t previous = m_nFetched - SlotCount();
    m_changed.wait(lock, [&batch, previous] { return previous < 0 || batch.digestedIndex == previous; });
  }
  const int32_t wanted = std::min(kBatchRows, m_nRowCount - m_nFetched * kBatchRows);
  batch.count = 0;
  while (batch.count < wanted && m_fetchNext(&batch.rows[static_cast<size_t>(batch.count)])) ++batch.count;
  m_bFetchFailed = batch.count < wanted;
  ++m_nFetched;
  {
    const std::lock_guard lock(m_mutex);
    m_nHandedOver = m_nFetched;
  }
  m_changed.notify_all();
}

void ReadAheadRows::DigestBatches() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return m_bQuit || m_nClaimed < m_nHandedOver; });
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
    m_changed.notify_all();
  }
}

}  // namespace syncservice
