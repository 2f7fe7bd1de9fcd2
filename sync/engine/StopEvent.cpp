#include "sync/engine/StopEvent.h"

#include <algorithm>

namespace {

// The clock cannot count a wait as long as the largest interval a setting can ask for; a century
// is as good as forever.
constexpr std::chrono::hours kLongestWait{24 * 365 * 100};

}  // namespace

void StopEvent::Signal() {
  {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_bSignalled = true;
  }
  m_signalled.notify_all();
}

bool StopEvent::Wait(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(m_mutex);
  const bool signalled = m_signalled.wait_for(lock, std::min<std::chrono::milliseconds>(timeout, kLongestWait),
                                              [this] { return m_bSignalled; });
  m_bSignalled = false;
  return signalled;
}
