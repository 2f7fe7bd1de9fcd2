// The real sync program, started in the test's machine root.
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/Eventually.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/WebServiceDouble.h"
#include "tests/sync/engine/InStepProfile.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <chrono>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

using namespace std::chrono;
using testsupport::Eventually;

namespace {

// Far above what a stop or a start takes on a loaded machine; the program's own grace period
// for its threads is 5 s, so the log, not the clock, tells which way it ended.
constexpr int kGenerousBoundMs = 30'000;

QString ProgramPath() { return QStringLiteral(SYNC_PROGRAM); }

std::unique_ptr<QProcess> Start() {
  auto process = std::make_unique<QProcess>();
  process->setStandardOutputFile(QProcess::nullDevice());
  process->start(ProgramPath(), {});
  EXPECT_TRUE(process->waitForStarted()) << ProgramPath().toStdString();
  return process;
}

QString Log() { return synctest::ReadLog(QStringLiteral("SyncServiceLog.log")); }

int Count(const QString& text, const QString& part) { return static_cast<int>(text.count(part)); }

bool Running(const QString& startLine, int expected) { return Count(Log(), startLine) >= expected; }

const QString kThreadStart = QStringLiteral("<178> Start ThreadProc (Tarnwick Plus Lite Application <Version : 4.2><Build 181110A>)\r\n");
const QString kThreadExit = QStringLiteral("<2> Exiting ThreadProc (Tarnwick Plus Lite Application <Version : 4.2><Build 181110A>)\r\n\r\n");
const QString kGraceEnd = QStringLiteral("Worker threads did not stop within");

class SyncProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    synctest::PrepareInstallation();
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 1);
  }

  // Writes 0 and expects the program to end on its own with exit code 0, through its stop path:
  // its thread logs its exit, and the grace period did not have to end it.
  static void StopAndExpectEnd(QProcess* program) {
    const int exitsBefore = Count(Log(), kThreadExit);
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 0);
    ASSERT_TRUE(program->waitForFinished(kGenerousBoundMs));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
    EXPECT_EQ(Count(Log(), kThreadExit), exitsBefore + 1);
    EXPECT_FALSE(Log().contains(kGraceEnd));
  }
};

}  // namespace

TEST_F(SyncProgram, StartsLogsItsSystemRunsAloneAndStopsOnZero) {
  const auto first = Start();
  ASSERT_TRUE(Eventually([] { return Running(kThreadStart, 1); })) << Log().toStdString();
  const QString log = Log();
  EXPECT_TRUE(log.contains(u"> <-1> Start SyncService\r\n"));
  EXPECT_TRUE(log.contains(u"> <-1> <SystemOSDetails> \r\n\tOS Name : Windows Unknown\r\n\tPlatform type : Unknown\r\n"
                           "\tMajor version : "));
  EXPECT_TRUE(log.contains(u"\r\n\tService Pack info : \r\n\t32-bit platform : "));
  // The back-sync thread starts beside the other one and may log a moment later.
  EXPECT_TRUE(Eventually([] {
    return synctest::ReadLog(QStringLiteral("SyncServiceBackSyncLog.log")).contains(u"<72> Start ThreadProcForBackSync (");
  }));

  const auto second = Start();
  ASSERT_TRUE(second->waitForFinished(kGenerousBoundMs));
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(Count(Log(), QStringLiteral("Start SyncService")), 2) << "the second start logs its start line";
  EXPECT_EQ(Count(Log(), QStringLiteral("<SystemOSDetails>")), 2);
  EXPECT_EQ(Count(Log(), kThreadStart), 1) << "the second start ran no threads";
  EXPECT_EQ(first->state(), QProcess::Running);

  StopAndExpectEnd(first.get());
}

TEST_F(SyncProgram, StopsInTheMiddleOfBackToBackTurns) {
  SyncInfo syncInfo;
  syncInfo.changeDetectionMinutes = 0;  // a turn follows the last at once
  syncInfo.backSyncMinutes = 0;
  synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
  const auto program = Start();
  // Every turn now runs all its passes (each opening the settings database): a loaded machine
  // needs far longer than the default bound for fifty of them.
  ASSERT_TRUE(Eventually([] { return Count(Log(), QStringLiteral("End Change Detection Interval.")) >= 50; },
                         milliseconds(kGenerousBoundMs)));
  StopAndExpectEnd(program.get());
  EXPECT_TRUE(Log().contains(u"<SystemOSDetails>") && Count(Log(), QStringLiteral("<SystemOSDetails>")) >= 2)
      << "the block is written again every 30 turns";
}

TEST_F(SyncProgram, AKilledProgramDoesNotBlockTheNextStart) {
  const auto killed = Start();
  ASSERT_TRUE(Eventually([] { return Running(kThreadStart, 1); }));
  killed->kill();
  ASSERT_TRUE(killed->waitForFinished(kGenerousBoundMs));

  const auto next = Start();
  ASSERT_TRUE(Eventually([] { return Running(kThreadStart, 2); })) << Log().toStdString();
  EXPECT_EQ(next->state(), QProcess::Running);
  StopAndExpectEnd(next.get());
}

TEST_F(SyncProgram, TestsTheWebServiceOnceAtStart) {
  testsupport::WebServiceDouble service;
  ASSERT_TRUE(service.Started()) << service.Error().toStdString();
  SyncInfo syncInfo;
  syncInfo.webServiceUrl = service.Url().toUtf8();
  synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
  ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"),
                                            ConnSettings().ToBytes()));
  const auto program = Start();
  ASSERT_TRUE(Eventually([] { return Running(kThreadStart, 1); })) << Log().toStdString();
  EXPECT_EQ(Count(Log(), QStringLiteral("<-1> <GetDataTestWebServiceMethod> Test Web Service Connection.\r\n")), 1);
  EXPECT_EQ(Count(Log(), QStringLiteral("<-1> In TestWebService, Send Request Result : ok\r\n")), 1);
  EXPECT_EQ(service.Requests().size(), 1);
  StopAndExpectEnd(program.get());
}

TEST_F(SyncProgram, WithoutTheSwitchItEndsAtOnce) {
  synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 5);
  const auto program = Start();
  ASSERT_TRUE(program->waitForFinished(kGenerousBoundMs));
  EXPECT_EQ(program->exitCode(), 0);
  EXPECT_TRUE(Log().contains(kThreadExit));
}

// Servers that hold the start-up test open: one that trickles its answer a byte every half
// second, one that never answers, and a port that never answers the connection attempt. Each
// would keep the program for a minute or more after the stop if the stop were not seen.
TEST_F(SyncProgram, AStopEndsTheStartUpTestOfAServerThatHoldsItOpen) {
  testsupport::WebServiceDouble service;
  ASSERT_TRUE(service.Started()) << service.Error().toStdString();
  ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"),
                                            ConnSettings().ToBytes()));
  const uint16_t stalledPort = service.StalledPort();
  ASSERT_NE(stalledPort, 0);
  struct Case {
    const char* kind;
    bool reachesServer;
  };
  int run = 0;
  for (const Case& c : {Case{"trickle", true}, Case{"silent", true}, Case{"stalled", false}}) {
    SCOPED_TRACE(c.kind);
    ++run;
    service.Command({{QStringLiteral("cmd"), QStringLiteral("reset")}});
    if (c.reachesServer) service.SetFault(QStringLiteral("GetDataTest"), QString::fromLatin1(c.kind));
    SyncInfo syncInfo;
    syncInfo.webServiceUrl =
        (c.reachesServer ? service.Url() : QStringLiteral("http://127.0.0.1:%1/svc/").arg(stalledPort)).toUtf8();
    synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 1);
    const auto program = Start();
    ASSERT_TRUE(Eventually([&] {
      return Running(QStringLiteral("Test Web Service Connection."), run) &&
             (!c.reachesServer || !service.Requests().isEmpty());
    })) << Log().toStdString();
    StopAndExpectEnd(program.get());
    EXPECT_EQ(Count(Log(), QStringLiteral("<-1> The exchange was abandoned.\r\n")), run);
  }
}

// As under a service manager or "| head": the reader of the program's standard output is gone.
// Back-to-back turns write console lines at once: 200 turns are more than the output's buffer
// holds, and what is left is written at the end.
TEST_F(SyncProgram, AClosedStandardOutputDoesNotEndIt) {
  SyncInfo syncInfo;
  syncInfo.changeDetectionMinutes = 0;
  syncInfo.backSyncMinutes = 0;
  synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
  int ends[2];
  ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
  close(ends[0]);
  QProcess program;
  program.setChildProcessModifier([writeEnd = ends[1]] { dup2(writeEnd, STDOUT_FILENO); });
  program.start(ProgramPath(), {});
  close(ends[1]);
  ASSERT_TRUE(program.waitForStarted());
  // Every turn runs all its passes, each opening the settings database (missing here), so 200 of
  // them take minutes on a loaded machine.
  ASSERT_TRUE(Eventually([] { return Count(Log(), QStringLiteral("End Change Detection Interval.")) >= 200; },
                         milliseconds(4 * kGenerousBoundMs)))
      << "ended with " << program.exitCode() << "\n" << Log().toStdString();
  EXPECT_EQ(program.state(), QProcess::Running);
  StopAndExpectEnd(&program);
}

// Back-to-back turns of the running program carry a row inserted on the desktop to the device.
TEST_F(SyncProgram, ARowInsertedOnTheDesktopReachesTheDevice) {
  testsupport::WebServiceDouble service;
  ASSERT_TRUE(service.Started()) << service.Error().toStdString();
  ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"),
                                            ConnSettings().ToBytes()));
  synctest::InStepProfile profile;
  QString unavailable;
  ASSERT_TRUE(profile.Create(odbctest::Engine::Sqlite, &service, 3, &unavailable)) << qPrintable(unavailable);
  const auto program = Start();
  ASSERT_TRUE(Eventually([] { return Count(Log(), QStringLiteral("is to Process for DBChange.")) >= 2; }))
      << Log().toStdString();
  ASSERT_EQ(profile.Run(profile.InsertSql(3)), QString());
  EXPECT_TRUE(Eventually([&] { return profile.DeviceRecords().size() == 4; }, seconds(30))) << Log().toStdString();
  EXPECT_EQ(profile.DeviceRecords(), profile.DesktopRecords());
  EXPECT_EQ(service.DeviceErrors(), QStringList());
  StopAndExpectEnd(program.get());
}
