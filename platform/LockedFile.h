#pragma once

#include <QByteArray>
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

// Reads the whole file. A missing file is no error: `content` stays empty and `missing` is set.
bool ReadWholeFile(const QString& path, QByteArray* content, bool* missing);

// Replaces the file with `content` through a temporary file beside it, fsync and rename, so a
// reader sees the old or the new file, never a torn one. Only the holder of the file's lock may
// call it (the temporary file has one fixed name).
bool ReplaceFileAtomically(const QString& path, const QByteArray& content);

}  // namespace platform
