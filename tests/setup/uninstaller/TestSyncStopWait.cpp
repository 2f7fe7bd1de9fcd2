#include "setup/uninstaller/SyncStopWait.h"
#include "tests/setup/common/SetupFixture.h"
#include "tests/setup/uninstaller/UninstallerTestLog.h"

#include <gtest/gtest.h>

#include <QList>

#include <chrono>

using namespace std::chrono_literals;

namespace {

// Answers the process lookups from a script; past its end, its last answer.
class ScriptedLookup {
 public:
  explicit ScriptedLookup(QList<int> answers) : answers_(std::move(answers)) {}
  int operator()() {
    ++calls_;
    return answers_.size() > 1 ? answers_.takeFirst() : answers_.first();
  }
  int calls_ = 0;

 private:
  QList<int> answers_;
};

TEST(SyncStopWait, ThreeUnreadableListsAreToleratedAndTheFourthFails) {
  setuptest::RecordedProgress progress;
  uninstallertest::RecordedLog log;
  ScriptedLookup tolerated({-1, 1, -1, -1, 0});
  EXPECT_EQ(WaitForSyncStop(std::ref(tolerated), 60s, &progress, log.Sink()), 1);
  const QStringList counted = {QStringLiteral("Failed to check sync status <1>."),
                               QStringLiteral("Failed to check sync status <2>."),
                               QStringLiteral("Failed to check sync status <3>.")};
  EXPECT_EQ(log.Lines(), counted);
  EXPECT_EQ(progress.steps_, QList<int>(5, 1)) << "a step for every look";

  uninstallertest::RecordedLog failed;
  ScriptedLookup unreadable({-1});
  EXPECT_EQ(WaitForSyncStop(std::ref(unreadable), 60s, &progress, failed.Sink()), 0);
  EXPECT_EQ(failed.Lines(), counted);
  EXPECT_EQ(unreadable.calls_, 4);
}

TEST(SyncStopWait, TheBoundEndsTheWaitForAProgramThatNeverEnds) {
  setuptest::RecordedProgress progress;
  uninstallertest::RecordedLog log;
  ScriptedLookup running({1});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(WaitForSyncStop(std::ref(running), 1200ms, &progress, log.Sink()), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 1200ms);
  EXPECT_GE(running.calls_, 2);
  EXPECT_TRUE(log.Lines().isEmpty());
}

}  // namespace
