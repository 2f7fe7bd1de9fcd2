#include "tests/support/MessageBoxRecorder.h"

namespace testsupport {

MessageBoxRecorder& MessageBoxRecorder::Global() {
  static MessageBoxRecorder recorder;
  return recorder;
}

void MessageBoxRecorder::InstallGlobal() {
  platform::SetMessageBoxHandler(
      [](const platform::MessageBoxRequest& request) { return Global().Answer(request); });
}

void MessageBoxRecorder::Clear() {
  shown_.clear();
  answers_.clear();
  defaultAnswer_ = 0;
}

int MessageBoxRecorder::Answer(const platform::MessageBoxRequest& request) {
  shown_.append(request);
  if (!answers_.isEmpty()) return answers_.takeFirst();
  if (defaultAnswer_ != 0) return defaultAnswer_;
  const unsigned buttons = request.buttons();
  return buttons == platform::MB_YESNO || buttons == platform::MB_YESNOCANCEL ? platform::IDYES
                                                                               : platform::IDOK;
}

}  // namespace testsupport
