#include "admin/shell/FailurePresenter.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/Failure.h"
#include "platform/widgets/MessageBox.h"

namespace admin {
namespace {

unsigned BoxType(FailureLook look) {
  return look == FailureLook::Error ? platform::MB_OK | platform::MB_ICONERROR : platform::MB_OK;
}

}  // namespace

void FailurePresenter::Raise(const Failure& failure) {
  platform::MessageBox(nullptr, failure.text, ProgramTitle(), BoxType(failure.look));
  if (failure.logLocation) WriteAppLog(*failure.logLocation, failure.text);
}

}  // namespace admin
