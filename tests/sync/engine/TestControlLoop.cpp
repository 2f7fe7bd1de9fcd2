#include "shared/RegistryRecords.h"
#include "sync/data/SyncSettings.h"
#include "sync/engine/StatusChangeCheck.h"
#include "sync/engine/StopEvent.h"
#include "sync/engine/SyncStatus.h"
#include "sync/engine/SyncThreads.h"
#include "tests/support/Eventually.h"
#include "tests/support/SyncInstallation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

using namespace std::chrono;
using testsupport::Eventually;

namespace {

// How long a stop may take at most: far beyond what a sound stop needs on a loaded machine.
constexpr seconds kBound{30};

}  // namespace

TEST(StopEvent, ASignalIsSeenByOneWaitOnly) {
  StopEvent event;
  EXPECT_FALSE(event.Wait(milliseconds(0)));
  event.Signal();
  EXPECT_TRUE(event.Wait(seconds(60)));
  EXPECT_FALSE(event.Wait(milliseconds(0)));
}

TEST(StopEvent, TheLongestIntervalASettingCanGiveStillWaits) {
  StopEvent event;
  std::atomic<bool> signalled{false};
  std::thread signaller([&] {
    std::this_thread::sleep_for(milliseconds(300));
    signalled = true;
    event.Signal();
  });
  EXPECT_TRUE(event.Wait(duration_cast<milliseconds>(minutes(INT32_MAX))));
  EXPECT_TRUE(signalled.load()) << "the wait ended before the signal";
  signaller.join();
}

TEST(WorkerTurns, TheIntervalsAreTheLoadedMinutesOrTheirDefaults) {
  LoadSyncSettings();
  EXPECT_EQ(GetChangeDetectInterval(), milliseconds(60000)) << "no SyncInfo";
  EXPECT_EQ(GetBackSyncInterval(), milliseconds(120000)) << "no SyncInfo";

  SyncInfo syncInfo;
  syncInfo.changeDetectionMinutes = 0;  // turns without a pause
  syncInfo.backSyncMinutes = -5;
  synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
  LoadSyncSettings();
  EXPECT_EQ(GetChangeDetectInterval(), milliseconds(0));
  EXPECT_EQ(GetBackSyncInterval(), milliseconds(120000)) << "a negative interval falls back to the default";

  syncInfo.changeDetectionMinutes = 100000;  // beyond 32-bit milliseconds
  syncInfo.backSyncMinutes = 3;
  synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
  LoadSyncSettings();
  EXPECT_EQ(GetChangeDetectInterval(), milliseconds(6000000000));
  EXPECT_EQ(GetBackSyncInterval(), milliseconds(180000));
}

TEST(WorkerTurns, ZeroIntervalRunsTurnsBackToBackUntilTheEvent) {
  SetSyncStatusCopy(1);
  StopEvent stop;
  std::atomic<int> turns{0};
  std::thread stopper([&] {
    Eventually([&] { return turns.load() >= 5; });
    stop.Signal();
  });
  RunWorkerTurns(stop, milliseconds(0), [&] {
    ++turns;
    return true;
  });
  stopper.join();
  EXPECT_GE(turns.load(), 5);
}

TEST(WorkerTurns, ALongTurnEndsEarlyOnAStopRequest) {
  SetSyncStatusCopy(1);
  StopEvent stop;
  std::atomic<bool> inTurn{false};
  int turns = 0;
  bool endedEarly = false;
  std::thread requester([&] {
    Eventually([&] { return inTurn.load(); });
    SetSyncStatusCopy(0);
    stop.Signal();
  });
  RunWorkerTurns(stop, milliseconds(0), [&] {
    ++turns;
    inTurn = true;
    // A turn of ten thousand units (100 s) that looks at the stop between units.
    for (int unit = 0; unit < 10000; ++unit) {
      if (SyncStopRequested()) {
        endedEarly = true;
        return false;
      }
      std::this_thread::sleep_for(milliseconds(10));
    }
    return true;
  });
  requester.join();
  EXPECT_TRUE(endedEarly);
  EXPECT_EQ(turns, 1);
}

TEST(WorkerTurns, AnyStatusButOneStopsTheTurns) {
  for (const int32_t status : {0, 2}) {
    SetSyncStatusCopy(status);
    StopEvent stop;
    int turns = 0;
    RunWorkerTurns(stop, milliseconds(0), [&] { return ++turns < 100; });
    EXPECT_EQ(turns, 0) << status;
  }
}

// Only 0 cuts a turn short; 2 ends the turns once the one under way has run to its end.
TEST(WorkerTurns, StatusTwoLetsTheTurnUnderWayFinish) {
  SetSyncStatusCopy(1);
  StopEvent stop;
  int turns = 0;
  bool stopSeenInTurn = true;
  RunWorkerTurns(stop, milliseconds(0), [&] {
    ++turns;
    SetSyncStatusCopy(2);
    stopSeenInTurn = SyncStopRequested();
    return true;
  });
  EXPECT_EQ(turns, 1);
  EXPECT_FALSE(stopSeenInTurn);
  SetSyncStatusCopy(0);
  EXPECT_TRUE(SyncStopRequested());
}

TEST(SyncSemaphore, AWaitIsGivenUpWhenAStopIsRequested) {
  SetSyncStatusCopy(1);
  SyncSemaphore& semaphore = ChangeDetectSemaphore();
  ASSERT_TRUE(semaphore.WaitUnlessStopped());
  auto waiter = std::async(std::launch::async, [&] { return SyncSemaphoreHold(semaphore).Held(); });
  EXPECT_EQ(waiter.wait_for(milliseconds(300)), std::future_status::timeout) << "the lock is held";
  SetSyncStatusCopy(0);
  ASSERT_EQ(waiter.wait_for(kBound), std::future_status::ready);
  EXPECT_FALSE(waiter.get());
  semaphore.Release();

  SetSyncStatusCopy(1);
  {
    const SyncSemaphoreHold hold(semaphore);
    EXPECT_TRUE(hold.Held());
  }
  EXPECT_TRUE(semaphore.WaitUnlessStopped()) << "released by the hold";
  semaphore.Release();
}

// One thread taking the lock again the moment it lets it go must not keep another out: the waiter
// gets it after the turn under way, not whenever the scheduler happens to favour it.
TEST(SyncSemaphore, AWaitingThreadGetsTheLockBeforeTheHolderTakesItAgain) {
  SetSyncStatusCopy(1);
  SyncSemaphore semaphore;
  constexpr int kTurns = 2000;
  std::atomic<int> turns{0};
  std::atomic<int> waitBeganAt{-1};
  std::atomic<int> grantedAt{-1};
  std::thread looping([&] {
    while (grantedAt < 0 && turns < kTurns) {
      const SyncSemaphoreHold hold(semaphore);
      ++turns;
      std::this_thread::sleep_for(milliseconds(1));
    }
  });
  ASSERT_TRUE(Eventually([&] { return turns > 5; }));
  waitBeganAt = turns.load();
  {
    const SyncSemaphoreHold hold(semaphore);
    EXPECT_TRUE(hold.Held());
    grantedAt = turns.load();
  }
  looping.join();
  ASSERT_GE(grantedAt, 0);
  EXPECT_LE(grantedAt - waitBeganAt, 10) << "turns the other thread took while this one waited";
}

TEST(WorkerThread, ItsEndCanBeAwaitedWithADeadline) {
  std::atomic<bool> release{false};
  WorkerThread thread([&] { Eventually([&] { return release.load(); }); });
  EXPECT_FALSE(thread.WaitFinished(steady_clock::now() + milliseconds(50)));
  release = true;
  EXPECT_TRUE(thread.WaitFinished(steady_clock::now() + kBound));
}

class ControlLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    synctest::PrepareInstallation();
    LoadSyncSettings();
  }

  static bool BothThreadsStarted() {
    return synctest::ReadLog(QStringLiteral("SyncServiceLog.log")).contains(u"<178> Start ThreadProc (") &&
           synctest::ReadLog(QStringLiteral("SyncServiceBackSyncLog.log")).contains(u"<72> Start ThreadProcForBackSync (");
  }

  static void ExpectBothExitLines() {
    EXPECT_TRUE(synctest::ReadLog(QStringLiteral("SyncServiceLog.log"))
                    .contains(u"<2> Exiting ThreadProc (Tarnwick Plus Lite Application <Version : 4.2><Build 181110A>)\r\n\r\n"));
    EXPECT_TRUE(synctest::ReadLog(QStringLiteral("SyncServiceBackSyncLog.log"))
                    .contains(u"<2> Exiting ThreadProcForBackSync (Tarnwick Plus Lite Application <Version : 4.2><Build 181110A>)\r\n\r\n"));
  }
};

TEST_F(ControlLoop, RunsWhileTheSwitchIsOneAndStopsSoonAfterZero) {
  synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 1);
  auto loop = std::async(std::launch::async, [] { return CStatusChangeCheck().RunSyncWorker(); });
  const bool started = Eventually(&BothThreadsStarted);
  const bool ranOn = loop.wait_for(milliseconds(300)) == std::future_status::timeout;
  // The switch goes to 0 before any assertion, so a failing case never leaves the loop running.
  synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 0);
  ASSERT_EQ(loop.wait_for(kBound), std::future_status::ready);
  EXPECT_TRUE(started);
  EXPECT_TRUE(ranOn) << "stopped while the switch is 1";
  EXPECT_EQ(loop.get(), 0);
  ExpectBothExitLines();
}

TEST_F(ControlLoop, AMissingOrOtherSwitchEndsAtOnceWithBothExitLines) {
  for (const int status : {-1, 2}) {
    if (status >= 0) synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), static_cast<uint32_t>(status));
    auto loop = std::async(std::launch::async, [] { return CStatusChangeCheck().RunSyncWorker(); });
    ASSERT_EQ(loop.wait_for(kBound), std::future_status::ready) << status;
    ExpectBothExitLines();
  }
}
