#pragma once

#include <QString>

#include <cstdint>

namespace platform {

// A small block of bytes that threads and processes share by name, as a named file mapping is
// shared on Windows: a file in the run folder that every open object holds a shared flock on,
// so the block lives while anyone has it open. The opener that finds no other holder is the
// first one and starts from zeroes. Reads and writes belong under the block's guard.
class SharedMemoryFile {
 public:
  SharedMemoryFile(const QString& name, uint32_t size);
  ~SharedMemoryFile();
  SharedMemoryFile(const SharedMemoryFile&) = delete;
  SharedMemoryFile& operator=(const SharedMemoryFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // True when this object found no other holder and zeroed the block.
  bool Created() const { return created_; }
  // The system's error code of a failed open; 0 when open.
  int OpenError() const { return openError_; }

  // Holds the block for one operation, one thread or process at a time (blocking wait).
  class Guard {
   public:
    explicit Guard(const SharedMemoryFile& block);
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
    bool Held() const { return fd_ >= 0; }

   private:
    int fd_ = -1;
  };

  // Whole reads and writes at an offset; false when the file refuses them (or is not open).
  bool Read(uint32_t offset, void* data, uint32_t length) const;
  bool Write(uint32_t offset, const void* data, uint32_t length);

 private:
  bool OpenAsFirstOrNext(uint32_t size);

  QString guardPath_;
  int fd_ = -1;
  bool created_ = false;
  int openError_ = 0;
};

}  // namespace platform
