#include "sync/engine/StopEvent.h"

void StopEvent::Signal() {
  {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_bSignalled = true;
  }
  m_signalled.notify_all();
}

bool StopEvent::Wait(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(m_mutex);
  const bool signalled = m_signalled.wait_for(lock, timeout, [this] { return m_bSignalled; });
  m_bSignalled = false;
  return signalled;
}
