#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>

namespace testsupport {

// Gives every test case a fresh, empty machine root in $TARNWICK_MACHINE_ROOT (and a home
// folder inside it), so that nothing a test does touches the real home folder or another case.
class FreshMachineRoot : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo& info) override;
  void OnTestEnd(const ::testing::TestInfo& info) override;

 private:
  std::unique_ptr<QTemporaryDir> root_;
};

// The machine root of the running test case.
QString CurrentMachineRoot();

// Installs the listener; called by the test mains before RUN_ALL_TESTS.
void InstallFreshMachineRoot();

}  // namespace testsupport
