#include "sync/engine/SyncStatus.h"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace {

constexpr std::chrono::milliseconds kWaitSlice{100};

std::atomic<int32_t> statusCopy{0};

}  // namespace

int32_t SyncStatusCopy() { return statusCopy.load(); }

void SetSyncStatusCopy(int32_t status) { statusCopy.store(status); }

bool SyncStopRequested() { return SyncStatusCopy() == 0; }

bool SyncRunRequested() { return SyncStatusCopy() == 1; }

bool SyncSemaphore::WaitUnlessStopped() {
  std::unique_lock<std::mutex> lock(m_mutex);
  const uint64_t ticket = m_nextTicket++;
  m_waiting.push_back(ticket);
  for (;;) {
    if (SyncStopRequested()) return GiveUpTicket(ticket);
    if (!m_bHeld && m_waiting.front() == ticket) break;
    m_changed.wait_for(lock, kWaitSlice);
  }
  m_waiting.pop_front();
  m_bHeld = true;
  return true;
}

// Called with m_mutex held; the waiter behind the ticket may now be first.
bool SyncSemaphore::GiveUpTicket(uint64_t ticket) {
  m_waiting.erase(std::find(m_waiting.begin(), m_waiting.end(), ticket));
  m_changed.notify_all();
  return false;
}

void SyncSemaphore::Release() {
  {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_bHeld = false;
  }
  m_changed.notify_all();
}

SyncSemaphore& ChangeDetectSemaphore() {
  static SyncSemaphore semaphore;  // CHANGE_DETECT_FOR_TarnwickPLite
  return semaphore;
}

SyncSemaphore& BackTrackConflictSemaphore() {
  static SyncSemaphore semaphore;  // BACK_TRACK_CONFLICT_FOR_TarnwickPLite
  return semaphore;
}
