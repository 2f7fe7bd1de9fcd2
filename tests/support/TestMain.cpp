#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SanitizerOptions.h"

#include <gmock/gmock.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleMock(&argc, argv);
  QCoreApplication app(argc, argv);
  testsupport::InstallFreshMachineRoot();
  return RUN_ALL_TESTS();
}
