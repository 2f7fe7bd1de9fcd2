#pragma once

#include "admin/foundation/FailureSink.h"

namespace admin {

// Makes `sink` the sink of the process while the scope lasts, then restores the one before.
class FailureSinkScope {
 public:
  explicit FailureSinkScope(FailureSink* sink) : m_pPrevious(SetFailureSink(sink)) {}
  ~FailureSinkScope() { SetFailureSink(m_pPrevious); }
  FailureSinkScope(const FailureSinkScope&) = delete;
  FailureSinkScope& operator=(const FailureSinkScope&) = delete;

 private:
  FailureSink* m_pPrevious;
};

}  // namespace admin
