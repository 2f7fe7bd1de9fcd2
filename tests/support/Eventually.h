#pragma once

#include <chrono>
#include <thread>

namespace testsupport {

// Polls `predicate` every 10 ms until it holds or `limit` has passed; its last answer.
template <typename Predicate>
bool Eventually(Predicate predicate, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const std::chrono::steady_clock::time_point end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (predicate()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return predicate();
}

}  // namespace testsupport
