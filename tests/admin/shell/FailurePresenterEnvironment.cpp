#include "admin/foundation/FailureSink.h"
#include "admin/shell/FailurePresenter.h"

#include <gtest/gtest.h>

namespace {

// Hands the data layer's failures to the program's presenter for the whole test program, as the
// program's main does, so that the message box recorder sees them.
class FailurePresenterEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { admin::SetFailureSink(&m_presenter); }
  void TearDown() override { admin::SetFailureSink(nullptr); }

 private:
  admin::FailurePresenter m_presenter;
};

[[maybe_unused]] const ::testing::Environment* const g_pEnvironment =
    ::testing::AddGlobalTestEnvironment(new FailurePresenterEnvironment);

}  // namespace
