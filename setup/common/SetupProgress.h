#pragma once

#include <QString>

// What a long setup step shows while it runs: the progress bar it advances, the status line it
// sets and the message queue it empties so that the window keeps painting. The installer's
// finish page and the uninstaller's dialog implement it; tests record it.
class SetupProgress {
 public:
  virtual ~SetupProgress() = default;
  virtual void StepProgress(int steps) = 0;
  virtual void SetStatusText(const QString& text) = 0;
  virtual void PumpWaitingMessages() = 0;
};
