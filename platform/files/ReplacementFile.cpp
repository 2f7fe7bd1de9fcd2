#include "platform/files/ReplacementFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr char kMarker[] = ".tnw~";
constexpr size_t kMarkerSize = sizeof kMarker - 1;
constexpr size_t kUniqueSize = 6;  // the XXXXXX of mkostemp
// A cleaner may take a new file between its creation and its lock; each try gets a new name.
constexpr int kCreateTries = 8;

bool IsReplacementName(const char* name) {
  const size_t size = std::strlen(name);
  if (size <= kMarkerSize + kUniqueSize) return false;
  const char* unique = name + size - kUniqueSize;
  if (std::memcmp(unique - kMarkerSize, kMarker, kMarkerSize) != 0) return false;
  for (const char* c = unique; *c != '\0'; ++c) {
    const bool alphanumeric = (*c >= '0' && *c <= '9') || (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z');
    if (!alphanumeric) return false;
  }
  return true;
}

bool Lock(int fd, int operation) {
  while (::flock(fd, operation) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// True when `name` in the folder is the file open as `fd`, so that removing the name removes
// that file and no other one.
bool NameIsFile(int folderFd, const char* name, int fd) {
  struct stat named {};
  struct stat open {};
  return ::fstatat(folderFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &open) == 0 &&
         S_ISREG(open.st_mode) && named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

// Removes the file when no writer holds it. The lock is kept until the name is gone, so a writer
// that created the file and has yet to lock it finds its name gone once it has the lock.
void RemoveIfUnheld(int folderFd, const char* name) {
  const int fd = ::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  if (Lock(fd, LOCK_EX | LOCK_NB) && NameIsFile(folderFd, name, fd)) ::unlinkat(folderFd, name, 0);
  ::close(fd);
}

bool WriteWhole(int fd, const QByteArray& content) {
  const char* data = content.constData();
  qsizetype left = content.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    left -= written;
  }
  return true;
}

}  // namespace

ReplacementFile::ReplacementFile(const QByteArray& target) {
  for (int tries = 0; tries < kCreateTries && fd_ < 0; ++tries) {
    if (!Create(target)) return;
  }
}

ReplacementFile::~ReplacementFile() {
  if (fd_ < 0) return;
  if (!renamed_) ::unlink(name_.constData());
  ::close(fd_);
}

// False when no file can be created; true with fd_ still -1 when a cleaner took the new file
// before it was locked. Where the file system has no flock the file goes unlocked, and no
// cleaner can lock, and so take, it either.
bool ReplacementFile::Create(const QByteArray& target) {
  name_ = target + kMarker + QByteArray(kUniqueSize, 'X');
  const int fd = ::mkostemp(name_.data(), O_CLOEXEC);
  if (fd < 0) return false;
  Lock(fd, LOCK_EX);
  if (NameIsFile(AT_FDCWD, name_.constData(), fd)) {
    fd_ = fd;
  } else {
    ::close(fd);
  }
  return true;
}

bool ReplacementFile::Fill(const QByteArray& content, mode_t mode) const {
  return fd_ >= 0 && ::fchmod(fd_, mode) == 0 && WriteWhole(fd_, content) && ::fsync(fd_) == 0;
}

bool ReplacementFile::RenameTo(const QByteArray& target) {
  renamed_ = fd_ >= 0 && ::rename(name_.constData(), target.constData()) == 0;
  return renamed_;
}

void ReplacementFile::RemoveStale(const QByteArray& folder) {
  DIR* const listing = ::opendir(folder.constData());
  if (listing == nullptr) return;
  const int folderFd = ::dirfd(listing);
  while (const dirent* entry = ::readdir(listing)) {
    if (IsReplacementName(entry->d_name)) RemoveIfUnheld(folderFd, entry->d_name);
  }
  ::closedir(listing);
}

}  // namespace platform
