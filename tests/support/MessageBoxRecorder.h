#pragma once

#include "platform/widgets/MessageBox.h"

#include <QList>

namespace testsupport {

// Answers every message box in place of a dialog and keeps what was shown, so that a GUI test
// never blocks and can check the text, caption and icon.
class MessageBoxRecorder {
 public:
  // The recorder every GUI test program starts with; it answers IDOK (or IDYES) until scripted.
  static MessageBoxRecorder& Global();
  static void InstallGlobal();

  // Answers to give, first in first out; when none is left, the default answer is given.
  void ScriptAnswers(QList<int> answers) { answers_ = std::move(answers); }
  void SetDefaultAnswer(int answer) { defaultAnswer_ = answer; }

  const QList<platform::MessageBoxRequest>& shown() const { return shown_; }
  void Clear();

 private:
  int Answer(const platform::MessageBoxRequest& request);

  QList<platform::MessageBoxRequest> shown_;
  QList<int> answers_;
  int defaultAnswer_ = 0;
};

}  // namespace testsupport
