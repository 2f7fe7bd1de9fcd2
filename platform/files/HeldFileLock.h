#pragma once

#include <QString>

#include <chrono>
#include <functional>

namespace platform {

// An exclusive flock on a file of the run folder, taken and given back by its owner and held
// in between; the kernel frees it when the holder dies, so a killed program never leaves the
// others waiting. The wait goes in short slices so that the caller can give it up.
class HeldFileLock {
 public:
  explicit HeldFileLock(const QString& name);
  ~HeldFileLock();
  HeldFileLock(const HeldFileLock&) = delete;
  HeldFileLock& operator=(const HeldFileLock&) = delete;

  // Waits until the lock is had (true) or `giveUp` answers true between two slices (false).
  // Taking a lock this object already holds answers true at once.
  bool Acquire(const std::function<bool()>& giveUp);
  // Gives the lock back; nothing happens when this object does not hold it.
  void Release();
  bool Held() const { return fd_ >= 0; }

  static constexpr std::chrono::milliseconds kWaitSlice{50};

 private:
  QString path_;
  int fd_ = -1;
};

}  // namespace platform
