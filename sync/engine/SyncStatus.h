#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

// The stop switch as the program sees it, and the locks the worker threads share.

// The last SyncServiceStatus value the control loop read; the control loop is its only writer.
int32_t SyncStatusCopy();
void SetSyncStatusCopy(int32_t status);

// The exit test of the worker threads and their passes: 0 means stop now. Any other value but 1
// stops the threads too, but only at the end of the turn under way.
bool SyncStopRequested();
// Whether the worker threads are to go on: the copy is 1.
bool SyncRunRequested();

// A lock shared by both worker threads (the program runs as a single instance, so a lock of the
// process serves). It is handed out in the order it was asked for, so a thread that takes it turn
// after turn cannot keep the other out. Waits are taken in short slices and given up when a stop
// is requested, so no thread stays blocked after a stop.
class SyncSemaphore {
 public:
  // True with the lock held; false when a stop was requested before it could be had.
  bool WaitUnlessStopped();
  void Release();

 private:
  bool GiveUpTicket(uint64_t ticket);

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<uint64_t> m_waiting;  // tickets, the next holder first
  uint64_t m_nextTicket = 0;
  bool m_bHeld = false;
};

// Held around each exchange with the web service.
SyncSemaphore& ChangeDetectSemaphore();
// Guards the record of rows that back synchronisation has written.
SyncSemaphore& BackTrackConflictSemaphore();

// Holds a semaphore from construction to destruction, unless the wait was given up.
class SyncSemaphoreHold {
 public:
  explicit SyncSemaphoreHold(SyncSemaphore& semaphore)
      : m_semaphore(semaphore), m_bHeld(semaphore.WaitUnlessStopped()) {}
  ~SyncSemaphoreHold() {
    if (m_bHeld) m_semaphore.Release();
  }
  SyncSemaphoreHold(const SyncSemaphoreHold&) = delete;
  SyncSemaphoreHold& operator=(const SyncSemaphoreHold&) = delete;

  bool Held() const { return m_bHeld; }

 private:
  SyncSemaphore& m_semaphore;
  bool m_bHeld;
};
