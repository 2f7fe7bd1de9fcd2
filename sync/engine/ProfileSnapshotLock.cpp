#include "sync/engine/ProfileSnapshotLock.h"

#include <map>
#include <memory>
#include <mutex>

SyncSemaphore& ProfileSnapshotSemaphore(int32_t profileId) {
  static std::mutex guard;
  static std::map<int32_t, std::unique_ptr<SyncSemaphore>> semaphores;
  const std::lock_guard<std::mutex> lock(guard);
  std::unique_ptr<SyncSemaphore>& semaphore = semaphores[profileId];
  if (!semaphore) semaphore = std::make_unique<SyncSemaphore>();
  return *semaphore;
}
