#pragma once

namespace admin {

struct Failure;

// Where the data layer hands up a failure the user must be told of while it works; the
// administration program's presenter shows it and writes its log line.
class FailureSink {
 public:
  virtual ~FailureSink() = default;
  virtual void Raise(const Failure& failure) = 0;
};

// Makes `sink` the sink of the process (null: none) and answers the one it replaces. The
// program's application object sets it for its lifetime (FailureSinkScope).
FailureSink* SetFailureSink(FailureSink* sink);

// Hands the failure to the sink. Without one (a console caller, a test of the data layer alone)
// only its log line is written.
void RaiseFailure(const Failure& failure);

}  // namespace admin
