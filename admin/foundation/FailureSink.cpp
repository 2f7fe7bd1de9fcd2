#include "admin/foundation/FailureSink.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/Failure.h"

#include <utility>

namespace admin {
namespace {

FailureSink* g_pFailureSink = nullptr;

}  // namespace

FailureSink* SetFailureSink(FailureSink* sink) { return std::exchange(g_pFailureSink, sink); }

void RaiseFailure(const Failure& failure) {
  if (g_pFailureSink != nullptr) {
    g_pFailureSink->Raise(failure);
    return;
  }
  if (failure.logLocation) WriteAppLog(*failure.logLocation, failure.text);
}

}  // namespace admin
