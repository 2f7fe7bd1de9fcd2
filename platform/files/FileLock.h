#pragma once

#include <QString>

namespace platform {

// An open lock file holding a flock, both released on destruction. The kernel drops the lock
// when its holder dies, so a crashed program never leaves the others blocked.
class FileLock {
 public:
  enum class Mode { Shared, Exclusive };

  FileLock(const QString& path, Mode mode);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace platform
