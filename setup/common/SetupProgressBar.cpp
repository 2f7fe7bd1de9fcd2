#include "setup/common/SetupProgressBar.h"

#include <QProgressBar>

#include <algorithm>

namespace {

// The run-up stops once the bar stands at this mark; the run-down at 1 or below.
constexpr int kRunUpMark = 250;
constexpr int kRunDownMark = 1;
constexpr int kRunDownStep = 2;
constexpr int kWrapMark = 254;

}  // namespace

SetupProgressBar::SetupProgressBar(QProgressBar* bar) : bar_(bar) {
  bar_->setRange(0, kMaximum);
  bar_->setValue(0);
}

int SetupProgressBar::Position() const { return bar_->value(); }

void SetupProgressBar::SetPosition(int position) { bar_->setValue(std::clamp(position, 0, kMaximum)); }

void SetupProgressBar::Step(int steps) {
  if (Position() > kWrapMark) SetPosition(0);
  SetPosition(Position() + steps);
}

void SetupProgressBar::RunUp(const Pause& pause) {
  const int step = std::max(1, Position() / 10);
  while (Position() < kRunUpMark) {
    pause();
    SetPosition(Position() + step);
  }
}

void SetupProgressBar::RunDown(const Pause& pause) {
  while (Position() > kRunDownMark) {
    pause();
    SetPosition(Position() - kRunDownStep);
  }
}
