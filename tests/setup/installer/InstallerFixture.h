#pragma once

#include "platform/os/MachineRoot.h"
#include "setup/installer/InstallerApp.h"
#include "shared/contract/InstallLayout.h"
#include "tests/setup/common/SetupFixture.h"
#include "tests/setup/installer/InstallLogLines.h"

#include <QApplication>
#include <QObject>
#include <QWidget>

namespace installertest {

// Both doubles, an application object whose administration service is the double, and the
// pages' log and boxes.
class InstallerPageTest : public setuptest::SetupServicesTest {
 protected:
  void SetUp() override {
    SetupServicesTest::SetUp();
    AdminEndpoint& endpoint = app_.State().service.adminService;
    endpoint.host = QStringLiteral("127.0.0.1");
    endpoint.port = admin_.Port();
  }

  template <typename Widget>
  static Widget* Control(QWidget* page, const char* id) {
    Widget* control = page->findChild<Widget*>(QString::fromLatin1(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
  }

  static bool InstallLogged(const QString& line) { return InstallLogLines().contains(line); }

  // What the wizard's pages gather for an iPhone in the default folder whose web service is
  // the double.
  void ChooseIPhoneInDefaultFolder(const QString& udid) {
    InstallState& state = app_.State();
    state.installFolder =
        platform::SpecialFolderPath(platform::SpecialFolder::ProgramFiles) + QStringLiteral("/Tarnwick Plus Lite");
    state.deviceType = installlayout::kIPhone;
    state.service.deviceId = udid;
    state.service.desktopName = udid;
    state.service.webService.host = QStringLiteral("127.0.0.1");
    state.service.webService.port = web_.Port();
    state.service.webService.path = QStringLiteral("/svc/service.asmx");
    state.webServiceAddress = web_.Url(QStringLiteral("/svc/"));
  }

  CInstallerApp app_;
};

}  // namespace installertest
