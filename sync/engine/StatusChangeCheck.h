#pragma once

// The engine of the sync program: the control loop, and (as its methods) the passes that the
// worker threads run. Each turn of a thread works on a fresh object.
class CStatusChangeCheck {
 public:
  virtual ~CStatusChangeCheck() = default;

  // Starts both worker threads, polls SyncServiceStatus every 100 ms while it is 1, then stops
  // and reaps the threads. A thread that does not end within a few seconds of the stop ends the
  // program without it. Returns 0.
  int RunSyncWorker() const;
};
