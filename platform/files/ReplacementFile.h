#pragma once

#include <QByteArray>

#include <sys/types.h>

namespace platform {

// The temporary file that a replace fills beside its target, "<target>.tnw~XXXXXX". Its writer
// holds an exclusive flock on it from its creation until it is renamed into place or removed.
// The kernel drops that lock when the writer dies, so a file of this naming that nobody holds
// was left by a killed writer: RemoveStale takes it away. No age bound is needed, and a slow
// writer (a stopped process, a large file on a slow disk) never loses its file.
class ReplacementFile {
 public:
  explicit ReplacementFile(const QByteArray& target);
  // Removes the file unless it was renamed into place.
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  bool Fill(const QByteArray& content, mode_t mode) const;
  bool RenameTo(const QByteArray& target);

  // Removes every file of this naming in the folder that no live writer holds, whichever
  // target it was meant for: the target of a killed writer may never be written again.
  static void RemoveStale(const QByteArray& folder);

 private:
  bool Create(const QByteArray& target);

  QByteArray name_;
  int fd_ = -1;
  bool renamed_ = false;
};

}  // namespace platform
