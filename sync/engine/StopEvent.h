#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// A worker thread's stop event: created unsignalled, signalled once by the control loop. A wait
// that sees the signal consumes it.
class StopEvent {
 public:
  void Signal();

  // Waits up to `timeout`; true when the event was signalled, false when the time ran out.
  bool Wait(std::chrono::milliseconds timeout);

 private:
  std::mutex m_mutex;
  std::condition_variable m_signalled;
  bool m_bSignalled = false;
};
