#include "sync/data/ReadAheadRows.h"

#include "sync/data/FetchedRowText.h"

#include <algorithm>

namespace syncservice {

ReadAheadRows::ReadAheadRows(int32_t rowCount, FetchNext fetchNext)
    : m_nRowCount(rowCount), m_fetchNext(std::move(fetchNext)), m_worker(&ReadAheadRows::DigestBatches, this) {}

ReadAheadRows::~ReadAheadRows() {
  {
    const std::lock_guard lock(m_mutex);
    m_bQuit = true;
  }
  m_changed.notify_all();
  m_worker.join();
}

bool ReadAheadRows::Digest(int32_t row, uint8_t digest[kRowDigestSize]) {
  if (row < 0 || row >= m_nRowCount) return false;
  const int32_t index = row / kBatchRows;
  // The batch after the one asked for is fetched while the worker digests this one.
  const int32_t batchCount = (m_nRowCount + kBatchRows - 1) / kBatchRows;
  while (!m_bFetchFailed && m_nFetched < std::min(index + 2, batchCount)) FetchBatch();
  if (index >= m_nFetched) return false;
  {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this, index] { return m_nDigested > index; });
  }
  const Batch& batch = BatchOf(index);
  const int32_t at = row % kBatchRows;
  if (at >= batch.count) return false;
  std::copy(batch.digests[static_cast<size_t>(at)].begin(), batch.digests[static_cast<size_t>(at)].end(), digest);
  return true;
}

const data::FetchedRow& ReadAheadRows::Row(int32_t row) const { return BatchOf(row / kBatchRows).rows[static_cast<size_t>(row % kBatchRows)]; }

void ReadAheadRows::FetchBatch() {
  {
    // The batch that last used the slot must be digested before its rows are overwritten.
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_nDigested > m_nFetched - kBatches; });
  }
  Batch& batch = BatchOf(m_nFetched);
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
    m_changed.wait(lock, [this] { return m_bQuit || m_nDigested < m_nHandedOver; });
    if (m_bQuit) return;
    Batch& batch = BatchOf(m_nDigested);
    lock.unlock();
    for (int32_t i = 0; i < batch.count; ++i) {
      const auto at = static_cast<size_t>(i);
      ComputeTextDigest(RowTextOf(batch.rows[at]), batch.digests[at].data());
    }
    lock.lock();
    ++m_nDigested;
    m_changed.notify_all();
  }
}

}  // namespace syncservice
