#include "platform/widgets/DocumentLauncher.h"
#include "setup/installer/HyperLink.h"
#include "setup/installer/SelectEditionPage.h"
#include "setup/installer/WelComePage.h"
#include "tests/setup/installer/InstallerFixture.h"

#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QRadioButton>

namespace {

using installertest::InstallerPageTest;

using FirstPagesTest = InstallerPageTest;

TEST_F(FirstPagesTest, WelcomeNextPreparesTheAdministrationServiceExchanges) {
  qputenv("TARNWICK_ADMIN_SERVICE", "admin.example:8081");
  app_.State().webServiceAddress = QStringLiteral("http://left.over/");
  app_.State().service.header.appName = QStringLiteral("Other");
  CWelComePage page(app_);
  EXPECT_FALSE(Control<QProgressBar>(&page, "1034")->isVisibleTo(&page));
  EXPECT_EQ(Control<QLabel>(&page, "1035")->text(), QStringLiteral("Please click Next to continue"));
  ASSERT_TRUE(page.validatePage());
  qunsetenv("TARNWICK_ADMIN_SERVICE");
  const InstallState& state = app_.State();
  EXPECT_EQ(state.service.adminService.host, QStringLiteral("admin.example"));
  EXPECT_EQ(state.service.adminService.port, 8081);
  EXPECT_EQ(state.service.adminService.path, QStringLiteral("/AdminService/service.asmx"));
  EXPECT_TRUE(state.webServiceAddress.isEmpty());
  EXPECT_EQ(state.service.header.appType, 3);
  EXPECT_EQ(state.service.header.appName, QStringLiteral("TarnwickPlus"));
  EXPECT_EQ(state.service.header.deviceType, 1);
  EXPECT_EQ(state.service.header.webServiceVersion, QStringLiteral("1.0"));
}

TEST_F(FirstPagesTest, EditionPageStoresTheEditionAndOpensTheFeatures) {
  CSelectEditionPage page(app_);
  EXPECT_TRUE(Control<QRadioButton>(&page, "1003")->isChecked());
  ASSERT_TRUE(page.validatePage());
  EXPECT_EQ(app_.State().edition, 121);
  Control<QRadioButton>(&page, "1004")->click();
  ASSERT_TRUE(page.validatePage());
  EXPECT_EQ(app_.State().edition, 212);
  const QStringList lines = installertest::InstallLogLines();
  EXPECT_TRUE(lines.contains(QStringLiteral("SELECT EDITION")));
  EXPECT_TRUE(lines.contains(QStringLiteral("Personal")));
  EXPECT_TRUE(lines.contains(QStringLiteral("corporate")));

  QStringList opened;
  platform::SetDocumentLauncher([&opened](const QString& path) {
    opened.append(path);
    return true;
  });
  auto* link = Control<CHyperLink>(&page, "1052");
  link->resize(200, 20);
  const QPointF inside(10, 10);
  QMouseEvent release(QEvent::MouseButtonRelease, inside, link->mapToGlobal(inside), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(link, &release);
  platform::SetDocumentLauncher({});
  EXPECT_EQ(opened, QStringList({CSelectEditionPage::kFeaturesAddress}));
}

}  // namespace
