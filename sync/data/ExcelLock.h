#pragma once

#include "platform/files/HeldFileLock.h"

#include <functional>

class CMutexSharedMemory;

// Lets one connection at a time, across the program's threads and other programs, work on a
// workbook through the ODBC Excel driver. The lock itself is a held file lock, which the kernel
// frees when its holder dies; "MSEXCELKEY" of the shared table mirrors it (1 held, 0 free).
class ExcelLock {
 public:
  // `table` may be absent or uninitialised: the lock then works without its mirror.
  explicit ExcelLock(CMutexSharedMemory* table);
  ~ExcelLock();
  ExcelLock(const ExcelLock&) = delete;
  ExcelLock& operator=(const ExcelLock&) = delete;

  // Waits for the lock; false when `giveUp` answered true first.
  bool Take(const std::function<bool()>& giveUp);
  // Gives back a lock this object holds; a lock held by another connection is never touched.
  void Release();
  bool Held() const { return m_lock.Held(); }

  static constexpr const char16_t* kVariableName = u"MSEXCELKEY";

 private:
  void Mirror(int32_t value);

  CMutexSharedMemory* m_pTable;
  platform::HeldFileLock m_lock;
};
