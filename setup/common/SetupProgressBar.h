#pragma once

#include <functional>

class QProgressBar;

// The setup programs' progress bar over a QProgressBar with the range 0..255. Positions are
// clamped to the range as the Windows control clamps them, so a loop that runs the bar up to a
// bound it cannot pass still ends.
class SetupProgressBar {
 public:
  static constexpr int kMaximum = 255;

  // Sets the bar's range to 0..255 and its position to 0.
  explicit SetupProgressBar(QProgressBar* bar);

  int Position() const;
  // Sets the position, clamped to 0..255.
  void SetPosition(int position);
  // Past 254 the bar starts again at 0; then it moves by `steps` (negative steps go back).
  void Step(int steps);

  // Between the moves of the run-up and run-down the caller waits and keeps the window painting.
  using Pause = std::function<void()>;
  // Fills the bar: moves of a tenth of the position (at least 1, so a bar at 0 fills too) until
  // it stands at 250 or more.
  void RunUp(const Pause& pause);
  // Empties the bar by 2 until it stands at 1 or 0.
  void RunDown(const Pause& pause);

 private:
  QProgressBar* bar_;
};
