#pragma once

#include "admin/foundation/FailureSink.h"

namespace admin {

// Tells the user of a failure the data layer raised: its text in a message box without an owner,
// under the program's caption, then its log line when it has one.
class FailurePresenter : public FailureSink {
 public:
  void Raise(const Failure& failure) override;
};

}  // namespace admin
