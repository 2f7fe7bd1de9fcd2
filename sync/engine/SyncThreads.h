#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class StopEvent;

// The sync program's two worker threads and what they share with the control loop.

// The change-detection interval: the SyncInfo minutes as milliseconds, 60,000 when they cannot
// be had.
std::chrono::milliseconds GetChangeDetectInterval();
// The back-sync interval: the SyncInfo minutes as milliseconds, 120,000 when they cannot be had.
std::chrono::milliseconds GetBackSyncInterval();

// Waits on `stop` for `interval` and runs `turn` each time the wait times out, until the event
// is signalled, the status copy is other than 1 when a turn would start, or a turn reports that
// it stopped early (false).
void RunWorkerTurns(StopEvent& stop, std::chrono::milliseconds interval, const std::function<bool()>& turn);

// One back-synchronisation turn: the stored acknowledgements, then, when all of them went, the
// device changes, between its start and end lines; false when a stop request ended it early.
bool RunBackSyncTurn();

// Change-detection thread: one turn per change-detection interval.
void ThreadProc(StopEvent* stop);
// Back-synchronisation thread: one turn per back-sync interval.
void ThreadProcForBackSync(StopEvent* stop);

// A thread whose end can be awaited with a deadline. The destructor joins it.
class WorkerThread {
 public:
  explicit WorkerThread(std::function<void()> body);
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // True once the body has returned; false when the deadline passed first.
  bool WaitFinished(std::chrono::steady_clock::time_point deadline);

 private:
  std::mutex m_mutex;
  std::condition_variable m_finishedChanged;
  bool m_bFinished = false;
  std::thread m_thread;  // last: starts once the members above exist
};
