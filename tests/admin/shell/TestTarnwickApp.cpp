#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "shared/contract/RegistryNames.h"
#include "tests/admin/shell/MainDialogClosesAtOnce.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/LogReader.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/WebServiceDouble.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTest>

using testsupport::LogEntry;

namespace {

QList<LogEntry> TodaysLog(const QString& installation) {
  return testsupport::ReadLogEntries(testsupport::TodaysAdminLog(installation));
}

}  // namespace

TEST(TarnwickApp, StartsUpIntoTheDayLogWithTheRegistrationAndTheSettingsDatabase) {
  testsupport::MessageBoxRecorder::Global().Clear();
  const QString installation = testsupport::InstallAdmin();
  testsupport::InstallSettingsDatabase(installation);
  testsupport::RegisterDesktop(4, "my-desk", "user01");
  {
    CTarnwickApp app;
    EXPECT_EQ(GetTarnwickApp(), &app);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.GetDesktopName(), QStringLiteral("my-desk"));
    EXPECT_EQ(app.GetDefaultUserID(), QStringLiteral("user01"));
    EXPECT_EQ(app.GetDeviceType(), 4);
    EXPECT_TRUE(app.GetSettingsConnection().IsConnected());
  }
  EXPECT_EQ(GetTarnwickApp(), nullptr);
  EXPECT_TRUE(testsupport::MessageBoxRecorder::Global().shown().isEmpty());
  const QList<LogEntry> log = TodaysLog(installation);
  ASSERT_FALSE(log.isEmpty());
  EXPECT_EQ(log[0].code, 0);
  EXPECT_EQ(log[0].text, QStringLiteral("Start Tarnwick Plus Lite Application <Version : 4.2><Build 181110A>"));
  EXPECT_FALSE(testsupport::EntriesContaining(log, QStringLiteral("<GetDataTestWebServiceMethod>")).isEmpty());
  EXPECT_EQ(testsupport::EntriesContaining(log, QStringLiteral("<SystemOSDetails> ")).size(), 1);
  const auto connected = testsupport::EntriesContaining(log, QStringLiteral("Successfully Connected to UserProfileDB Database."));
  ASSERT_EQ(connected.size(), 1);
  EXPECT_EQ(connected[0].code, 2);
}

TEST(TarnwickApp, TheStartUpCheckReachesTheWebService) {
  testsupport::WebServiceDouble service;
  ASSERT_TRUE(service.Started()) << service.Error().toStdString();
  const QString installation = testsupport::InstallAdmin();
  testsupport::InstallSettingsDatabase(installation);
  testsupport::RegisterDesktop(2);
  SyncInfo sync;
  sync.webServiceUrl = service.Url().toUtf8();
  ASSERT_TRUE(
      testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("SyncInfo"), sync.ToBytes()));
  ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"),
                                            ConnSettings().ToBytes()));
  {
    CTarnwickApp app;
    app.InitInstance();
  }
  EXPECT_EQ(service.Requests().size(), 1);
  EXPECT_EQ(testsupport::EntriesContaining(TodaysLog(installation),
                                           QStringLiteral("In TestWebService, Send Request Result : ok"))
                .size(),
            1);
}

TEST(TarnwickApp, AMissingSettingsDatabaseIsLoggedAndShown) {
  testsupport::MessageBoxRecorder::Global().Clear();
  const QString installation = testsupport::InstallAdmin();
  CTarnwickApp app;
  app.InitInstance();
  EXPECT_FALSE(app.GetSettingsConnection().IsConnected());
  EXPECT_TRUE(app.GetDesktopName().isEmpty());
  EXPECT_EQ(app.GetDeviceType(), 0);
  const auto& shown = testsupport::MessageBoxRecorder::Global().shown();
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0].text, QStringLiteral("Error in Connecting UserProfileDB Database."));
  EXPECT_EQ(shown[0].caption, QStringLiteral("Tarnwick Plus Lite"));
  EXPECT_EQ(shown[0].icon(), platform::MB_ICONERROR);
  bool errorLogged = false;
  for (const LogEntry& entry : TodaysLog(installation)) errorLogged |= entry.code == 1 && !entry.text.isEmpty();
  EXPECT_TRUE(errorLogged);
}

TEST(TarnwickApp, WithoutAnInstallationThereIsNoLogAndNoFault) {
  testsupport::MessageBoxRecorder::Global().Clear();
  CTarnwickApp app;
  EXPECT_FALSE(app.GetLog()->IsOpen());
  app.InitInstance();
  EXPECT_EQ(testsupport::MessageBoxRecorder::Global().shown().size(), 1);
}

TEST(TarnwickApp, TheMainDialogRunsAfterTheConnectionAndItsEndIsLogged) {
  const QString installation = testsupport::InstallAdmin();
  testsupport::InstallSettingsDatabase(installation);
  bool ran = false;
  CTarnwickApp::SetMainDialogRunner([&](CTarnwickDlg& dialog) {
    ran = true;
    EXPECT_EQ(GetTarnwickApp()->GetMainWnd(), &dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tarnwick Plus Lite - Personal Edition"));
    EXPECT_EQ(testsupport::EntriesContaining(TodaysLog(installation), QStringLiteral("Close Tarnwick")).size(), 0);
  });
  {
    CTarnwickApp app;
    app.InitInstance();
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(app.GetMainWnd(), nullptr);
  }
  CTarnwickApp::SetMainDialogRunner([](CTarnwickDlg&) {});
  EXPECT_TRUE(ran);
  const QList<LogEntry> log = TodaysLog(installation);
  ASSERT_GE(log.size(), 2);
  EXPECT_EQ(log.last().code, 9);
  EXPECT_EQ(log.last().text,
            QStringLiteral("Close Tarnwick Plus Lite Application <Version : 4.2><Build 181110A>\r\n"));
}

TEST(TarnwickApp, WithoutTheSettingsDatabaseTheMainDialogNeverRunsAndTheExitCodeIsOne) {
  bool ran = false;
  CTarnwickApp::SetMainDialogRunner([&](CTarnwickDlg&) { ran = true; });
  testsupport::InstallAdmin();
  CTarnwickApp app;
  app.InitInstance();
  CTarnwickApp::SetMainDialogRunner([](CTarnwickDlg&) {});
  EXPECT_FALSE(ran);
  EXPECT_EQ(app.ExitInstance(), 1);
}

// The second start is the real program; the first is this process, its main dialog minimised
// and, in the second round, a modal dialog over it.
TEST(TarnwickApp, ASecondStartBringsTheRunningMainDialogOrItsModalDialogToTheFront) {
  const QString installation = testsupport::InstallAdmin();
  testsupport::InstallSettingsDatabase(installation);
  int round = 0;
  for (const bool modalOnTop : {false, true}) {
    ++round;
    SCOPED_TRACE(modalOnTop ? "modal on top" : "main dialog alone");
    CTarnwickApp::SetMainDialogRunner([&](CTarnwickDlg& dialog) {
      dialog.showMinimized();
      QDialog modal(&dialog);
      if (modalOnTop) modal.open();
      QProcess second;
      second.start(testsupport::ProgramPath(QStringLiteral("TarnwickPlusLite")), {});
      ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 30'000));
      EXPECT_EQ(second.exitCode(), 0);
      EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isMinimized(); }, 5'000));
      EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == (modalOnTop ? &modal : &dialog); }, 5'000));
    });
    {
      CTarnwickApp app;
      app.InitInstance();
    }
    const QList<LogEntry> log = TodaysLog(installation);
    EXPECT_EQ(testsupport::EntriesContaining(log, QStringLiteral("Start Tarnwick Plus Lite Application")).size(), round)
        << "the second start logs nothing";
  }
  CTarnwickApp::SetMainDialogRunner([](CTarnwickDlg&) {});
}
