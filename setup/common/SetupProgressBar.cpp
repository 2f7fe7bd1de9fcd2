#include "setup/common/SetupProgressBar.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QThread>

#include <algorithm>
#include <utility>

namespace {

// The run-up stops once the bar stands at this mark; the run-down at 1 or below.
constexpr int kRunUpMark = 250;
constexpr int kRunDownMark = 1;
constexpr int kRunDownStep = 2;
constexpr int kWrapMark = 254;

}  // namespace

SetupProgressBar::SetupProgressBar(QProgressBar* bar, QLabel* statusLine, Pump pump)
    : bar_(bar), statusLine_(statusLine), pump_(std::move(pump)) {
  if (!pump_) pump_ = [] { QCoreApplication::processEvents(); };
  bar_->setRange(0, kMaximum);
  bar_->setValue(0);
}

void SetupProgressBar::StepProgress(int steps) {
  if (Position() > kWrapMark) SetPosition(0);
  SetPosition(Position() + steps);
  ShowStatusText();
}

void SetupProgressBar::SetStatusText(const QString& text) { status_ = text; }

void SetupProgressBar::PumpWaitingMessages() { pump_(); }

void SetupProgressBar::ShowStatusText() { statusLine_->setText(status_); }

int SetupProgressBar::Position() const { return bar_->value(); }

void SetupProgressBar::SetPosition(int position) { bar_->setValue(std::clamp(position, 0, kMaximum)); }

void SetupProgressBar::Pause(int pauseMs) {
  if (pauseMs > 0) QThread::msleep(static_cast<unsigned long>(pauseMs));
}

void SetupProgressBar::RunUp(int pauseMs) {
  const int step = std::max(1, Position() / 10);
  while (Position() < kRunUpMark) {
    Pause(pauseMs);
    SetPosition(Position() + step);
    PumpWaitingMessages();
  }
}

void SetupProgressBar::RunDown(int pauseMs) {
  while (Position() > kRunDownMark) {
    Pause(pauseMs);
    SetPosition(Position() - kRunDownStep);
    PumpWaitingMessages();
  }
}
