#include "sync/engine/SyncStatus.h"

#include <atomic>

namespace {

constexpr std::chrono::milliseconds kWaitSlice{100};

std::atomic<int32_t> statusCopy{0};

}  // namespace

int32_t SyncStatusCopy() { return statusCopy.load(); }

void SetSyncStatusCopy(int32_t status) { statusCopy.store(status); }

bool SyncStopRequested() { return SyncStatusCopy() == 0; }

bool SyncRunRequested() { return SyncStatusCopy() == 1; }

bool SyncSemaphore::WaitUnlessStopped() {
  while (!SyncStopRequested()) {
    if (m_mutex.try_lock_for(kWaitSlice)) return true;
  }
  return false;
}

void SyncSemaphore::Release() { m_mutex.unlock(); }

SyncSemaphore& ChangeDetectSemaphore() {
  static SyncSemaphore semaphore;  // CHANGE_DETECT_FOR_TarnwickPLite
  return semaphore;
}

SyncSemaphore& BackTrackConflictSemaphore() {
  static SyncSemaphore semaphore;  // BACK_TRACK_CONFLICT_FOR_TarnwickPLite
  return semaphore;
}
