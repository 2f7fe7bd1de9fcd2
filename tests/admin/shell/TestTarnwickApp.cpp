#include "admin/shell/TarnwickApp.h"
#include "tests/support/AdminInstallation.h"

#include <gtest/gtest.h>

TEST(TarnwickApp, OpensTheDayLogAndReadsTheDesktopRegistration) {
  const QString installation = testsupport::InstallAdmin();
  testsupport::RegisterDesktop(4, "my-desk", "user01");
  {
    CTarnwickApp app;
    EXPECT_EQ(GetTarnwickApp(), &app);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.GetDesktopName(), QStringLiteral("my-desk"));
    EXPECT_EQ(app.GetDefaultUserID(), QStringLiteral("user01"));
    EXPECT_EQ(app.GetDeviceType(), 4);
  }
  EXPECT_EQ(GetTarnwickApp(), nullptr);
  const QStringList lines = testsupport::ReadLogLines(testsupport::TodaysAdminLog(installation));
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_TRUE(lines[0].endsWith(QStringLiteral(
      "> <0> Start Tarnwick Plus Lite Application <Version : 4.2><Build 181110A>")))
      << lines[0].toStdString();
  ASSERT_GE(lines.size(), 2);
  EXPECT_TRUE(lines[1].contains(QStringLiteral("> <-1> <SystemOSDetails> "))) << lines[1].toStdString();
}

TEST(TarnwickApp, WithoutARegistrationTheDesktopValuesStayEmpty) {
  testsupport::InstallAdmin();
  CTarnwickApp app;
  app.InitInstance();
  EXPECT_TRUE(app.GetDesktopName().isEmpty());
  EXPECT_TRUE(app.GetDefaultUserID().isEmpty());
  EXPECT_EQ(app.GetDeviceType(), 0);
}

TEST(TarnwickApp, WithoutAnInstallationThereIsNoLogAndNoFault) {
  CTarnwickApp app;
  EXPECT_FALSE(app.GetLog()->IsOpen());
  app.InitInstance();
}
