// The real sync program, started in the test's machine root.
#include "shared/RegistryRecords.h"
#include "tests/support/Eventually.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/WebServiceDouble.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <chrono>
#include <memory>

using namespace std::chrono;
using testsupport::Eventually;

namespace {

constexpr int kStopBoundMs = 5000;

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

class SyncProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    synctest::PrepareInstallation();
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 1);
  }

  // Writes 0 and expects the program to end on its own, soon, with exit code 0.
  static void StopAndExpectEnd(QProcess* program) {
    const steady_clock::time_point asked = steady_clock::now();
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 0);
    ASSERT_TRUE(program->waitForFinished(kStopBoundMs * 2));
    EXPECT_LT(steady_clock::now() - asked, milliseconds(kStopBoundMs));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
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
  EXPECT_TRUE(synctest::ReadLog(QStringLiteral("SyncServiceBackSyncLog.log")).contains(u"<72> Start ThreadProcForBackSync ("));

  const auto second = Start();
  ASSERT_TRUE(second->waitForFinished(kStopBoundMs));
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(Count(Log(), QStringLiteral("Start SyncService")), 2) << "the second start logs its start line";
  EXPECT_EQ(Count(Log(), QStringLiteral("<SystemOSDetails>")), 2);
  EXPECT_EQ(Count(Log(), kThreadStart), 1) << "the second start ran no threads";
  EXPECT_EQ(first->state(), QProcess::Running);

  StopAndExpectEnd(first.get());
  EXPECT_TRUE(Log().contains(kThreadExit));
}

TEST_F(SyncProgram, StopsInTheMiddleOfBackToBackTurns) {
  SyncInfo syncInfo;
  syncInfo.changeDetectionMinutes = 0;  // a turn follows the last at once
  syncInfo.backSyncMinutes = 0;
  synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
  const auto program = Start();
  ASSERT_TRUE(Eventually([] { return Count(Log(), QStringLiteral("End Change Detection Interval.")) >= 50; }));
  StopAndExpectEnd(program.get());
  EXPECT_TRUE(Log().contains(kThreadExit));
  EXPECT_TRUE(Log().contains(u"<SystemOSDetails>") && Count(Log(), QStringLiteral("<SystemOSDetails>")) >= 2)
      << "the block is written again every 30 turns";
}

TEST_F(SyncProgram, AKilledProgramDoesNotBlockTheNextStart) {
  const auto killed = Start();
  ASSERT_TRUE(Eventually([] { return Running(kThreadStart, 1); }));
  killed->kill();
  ASSERT_TRUE(killed->waitForFinished(kStopBoundMs));

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
  ASSERT_TRUE(testsupport::StoreSealedValue(kSettingsKey, QStringLiteral("ConnSettings"), ConnSettings().ToBytes()));
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
  ASSERT_TRUE(program->waitForFinished(kStopBoundMs));
  EXPECT_EQ(program->exitCode(), 0);
  EXPECT_TRUE(Log().contains(kThreadExit));
}
