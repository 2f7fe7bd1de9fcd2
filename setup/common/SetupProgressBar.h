#pragma once

#include "setup/common/SetupProgress.h"

#include <QString>

#include <functional>

class QLabel;
class QProgressBar;

// The setup programs' progress display: a QProgressBar with the range 0..255, the status line
// under it and the message pump that keeps the window painting between steps. Positions are
// clamped to the range as the Windows control clamps them, so a loop that runs the bar up to a
// bound it cannot pass still ends.
class SetupProgressBar : public SetupProgress {
 public:
  static constexpr int kMaximum = 255;
  using Pump = std::function<void()>;

  // Sets the bar's range to 0..255 and its position to 0. Without `pump`, the pump processes the
  // application's waiting events.
  SetupProgressBar(QProgressBar* bar, QLabel* statusLine, Pump pump = {});

  // Past 254 the bar starts again at 0; then it moves by `steps` (negative steps go back) and the
  // status line shows the current status text.
  void StepProgress(int steps) override;
  // Keeps the text as the current status text; the next step shows it.
  void SetStatusText(const QString& text) override;
  void PumpWaitingMessages() override;

  // Shows the current status text now.
  void ShowStatusText();
  const QString& StatusText() const { return status_; }

  int Position() const;
  // Sets the position, clamped to 0..255.
  void SetPosition(int position);

  // Fills the bar: after each pause of `pauseMs`, a move by a tenth of the starting position (at
  // least 1, so a bar at 0 fills too) and a pump, until it stands at 250 or more.
  void RunUp(int pauseMs);
  // Empties the bar: after each pause, a move back by 2 and a pump, until it stands at 1 or 0.
  void RunDown(int pauseMs);

 private:
  void Pause(int pauseMs);

  QProgressBar* bar_;
  QLabel* statusLine_;
  Pump pump_;
  QString status_;
};
