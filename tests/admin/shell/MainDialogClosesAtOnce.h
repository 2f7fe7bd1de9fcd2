#pragma once

#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"

#include <gtest/gtest.h>

namespace testsupport {

// For tests of start-up and of what the application object holds: the main dialog closes as
// soon as it would run, and the settings connection stays. Including this header registers it
// once for the whole test program.
class MainDialogClosesAtOnce : public ::testing::Environment {
 public:
  void SetUp() override { CTarnwickApp::SetMainDialogRunner([](CTarnwickDlg&) {}); }
};

inline const ::testing::Environment* const kMainDialogClosesAtOnce =
    ::testing::AddGlobalTestEnvironment(new MainDialogClosesAtOnce);

}  // namespace testsupport
