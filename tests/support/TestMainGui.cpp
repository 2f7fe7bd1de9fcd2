#include "tests/support/FreshMachineRoot.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/SanitizerOptions.h"

#include <gmock/gmock.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleMock(&argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testsupport::InstallFreshMachineRoot();
  testsupport::MessageBoxRecorder::InstallGlobal();
  return RUN_ALL_TESTS();
}
