#pragma once

#include "admin/forms/NewFormWizard.h"

#include <QApplication>
#include <QTimer>

#include <functional>

namespace formtests {

// Plays the user of every new-form wizard that opens: the scripted step runs on the shown
// wizard, which is cancelled afterwards unless the step ended it.
class WizardPlayer {
 public:
  using Step = std::function<void(CNewFormWizard&)>;

  explicit WizardPlayer(Step step = {}) : step_(std::move(step)) {
    timer_.callOnTimeout([this] { Look(); });
    timer_.start(5);
  }
  int opened() const { return opened_; }

 private:
  void Look() {
    auto* wizard = qobject_cast<CNewFormWizard*>(QApplication::activeModalWidget());
    if (wizard == nullptr || !wizard->isVisible() || busy_) return;
    busy_ = true;
    ++opened_;
    if (step_) step_(*wizard);
    if (wizard->isVisible()) wizard->PressCancel();
    busy_ = false;
  }

  Step step_;
  QTimer timer_;
  int opened_ = 0;
  bool busy_ = false;
};

}  // namespace formtests
