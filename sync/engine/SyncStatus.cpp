#include "sync/engine/SyncStatus.h"

#include <atomic>
#include <map>

namespace {

constexpr std::chrono::milliseconds kWaitSlice{100};

std::atomic<int32_t> statusCopy{0};

}  // namespace

int32_t SyncStatusCopy() { return statusCopy.load(); }

void SetSyncStatusCopy(int32_t status) { statusCopy.store(status); }

bool SyncStopRequested() { return SyncStatusCopy() != 1; }

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

SyncSemaphore& ProfileSnapshotSemaphore(int32_t profileId) {
  static std::mutex guard;
  static std::map<int32_t, SyncSemaphore> semaphores;  // never erased: a holder keeps its reference
  const std::lock_guard<std::mutex> lock(guard);
  return semaphores[profileId];
}
