#include "sync/data/ExcelLock.h"
#include "sync/data/MutexSharedMemory.h"

#include <gtest/gtest.h>

#include <QString>

#include <atomic>
#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kTable = QStringLiteral("MSEXCEL");
const QString kKey = QString::fromUtf16(ExcelLock::kVariableName);

// Gives up after `slices` looks, so a wait that should not end fails the test instead of hanging.
std::function<bool()> GiveUpAfter(int slices) {
  auto looks = std::make_shared<int>(0);
  return [looks, slices] { return ++*looks > slices; };
}

const std::function<bool()> kNeverGiveUp = [] { return false; };

}  // namespace

TEST(MutexSharedMemory, VariableOperationsAnswerWithTheirErrorCodes) {
  CMutexSharedMemory table(false, kTable, 300);
  ASSERT_EQ(table.IsInitialised(), 1);
  const QString name39(39, QLatin1Char('n'));
  const QString name40(40, QLatin1Char('n'));
  struct Case {
    const char* what;
    std::function<int()> call;
    int result;
    int error;
  };
  const Case cases[] = {
      {"39-character name", [&] { return table.AddVariable(name39, 7); }, 1, 0},
      {"40-character name", [&] { return table.AddVariable(name40, 7); }, 0, 1743},
      {"existing name", [&] { return table.AddVariable(name39, 8); }, 0, 183},
      {"zero size", [&] { return table.AddVariable(QStringLiteral("z"), QByteArrayView()); }, 0, 24},
      {"wider value", [&] { return table.AddVariable(QStringLiteral("wide"), QByteArrayView("12345678", 8)); }, 1, 0},
      {"set of a wider value", [&] { return table.SetVariableValue(QStringLiteral("wide"), 1); }, 0, 13},
      {"set of a missing name", [&] { return table.SetVariableValue(QStringLiteral("none"), 1); }, 0, 2},
      {"table full", [&] { return table.AddVariable(QStringLiteral("big"), QByteArray(100, 'x')); }, 0, 14},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.call(), c.result) << c.what;
    if (c.result == 0) {
      EXPECT_EQ(table.LastError(), c.error) << c.what;
    }
  }
  EXPECT_EQ(table.GetVariableValue(name39, -1), 7) << "a refused add leaves the value";

  char small[4] = {};
  uint32_t size = sizeof small;
  EXPECT_EQ(table.GetVariable(QStringLiteral("wide"), small, &size), 0);
  EXPECT_EQ(table.LastError(), 122);
  EXPECT_EQ(size, 8u);
  size = 0;
  EXPECT_EQ(table.GetVariable(QStringLiteral("wide"), nullptr, &size), 1);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(table.GetVariableValue(QStringLiteral("none"), -5), -5);

  int32_t old = 0;
  EXPECT_EQ(table.SetVariableValue(name39, 9, &old), 1);
  EXPECT_EQ(old, 7);
  EXPECT_EQ(table.GetVariableValue(name39, -1), 9);
}

TEST(MutexSharedMemory, TheTableLivesWhileAnyObjectHasItOpen) {
  {
    int created = 0;
    CMutexSharedMemory first(true, kTable, 200, [&](CMutexSharedMemory&) { ++created; });
    CMutexSharedMemory second(false, kTable, 500, [&](CMutexSharedMemory&) { ++created; });
    EXPECT_EQ(created, 1) << "only the first opener creates";
    EXPECT_EQ(second.Size(), 200u) << "a later opener takes the stored size";
    EXPECT_EQ(second.VariableExists(QStringLiteral("NoDeviceID")), 1);
    EXPECT_EQ(second.AddVariable(kKey, 0), 1);
    EXPECT_EQ(first.SetVariableValue(kKey, 1), 1);
    EXPECT_EQ(second.GetVariableValue(kKey, -1), 1);
  }
  CMutexSharedMemory fresh(false, kTable, 100);
  EXPECT_EQ(fresh.VariableExists(kKey), 0) << "the last close ends the table; the next one starts empty";
}

TEST(MutexSharedMemory, WaitEndsWhenTheValueChangesOrTimesOut) {
  CMutexSharedMemory table(false, kTable, 100);
  ASSERT_EQ(table.AddVariable(kKey, 1), 1);
  EXPECT_EQ(table.WaitForVariable(QStringLiteral("none"), 10), -1);
  EXPECT_EQ(table.LastError(), 2);
  EXPECT_EQ(table.WaitForVariable(kKey, 20), CMutexSharedMemory::kWaitTimeout);
  EXPECT_EQ(table.WaitForVariable(kKey, CMutexSharedMemory::kInfinite, GiveUpAfter(2)), CMutexSharedMemory::kWaitTimeout);

  std::thread setter([] {
    CMutexSharedMemory other(false, kTable, 100);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    other.SetVariableValue(kKey, 0);
  });
  EXPECT_EQ(table.WaitForVariable(kKey, CMutexSharedMemory::kInfinite, GiveUpAfter(600)), CMutexSharedMemory::kWaitSignalled);
  setter.join();
}

TEST(ExcelLock, OneHolderAtATimeAndOnlyTheHolderReleases) {
  CMutexSharedMemory table(false, kTable, 100);
  ASSERT_EQ(table.AddVariable(kKey, 0), 1);
  ExcelLock first(&table);
  ExcelLock second(&table);
  ASSERT_TRUE(first.Take(kNeverGiveUp));
  EXPECT_EQ(table.GetVariableValue(kKey, -1), 1);
  EXPECT_FALSE(second.Take(GiveUpAfter(3))) << "a second connection waits while the first holds";
  second.Release();  // holds nothing: must not free the first's lock
  EXPECT_FALSE(second.Take(GiveUpAfter(3)));
  EXPECT_EQ(table.GetVariableValue(kKey, -1), 1);

  std::atomic<bool> taken{false};
  std::thread waiter([&] { taken = second.Take(GiveUpAfter(600)); });
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_FALSE(taken.load());
  first.Release();
  first.Release();  // a second release changes nothing
  waiter.join();
  EXPECT_TRUE(taken.load());
  EXPECT_EQ(table.GetVariableValue(kKey, -1), 1) << "the new holder's mark survives the old holder's second release";
  second.Release();
  EXPECT_EQ(table.GetVariableValue(kKey, -1), 0);
}

TEST(ExcelLock, KillingTheHolderFreesTheLockAtOnce) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    ExcelLock lock(nullptr);
    const char byte = lock.Take(kNeverGiveUp) ? 1 : 0;
    if (write(ready[1], &byte, 1) != 1) _exit(2);
    for (;;) pause();
  }
  close(ready[1]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  close(ready[0]);
  ASSERT_EQ(byte, 1) << "the other process took the lock";

  ExcelLock lock(nullptr);
  EXPECT_FALSE(lock.Take(GiveUpAfter(3))) << "held by the other process";
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_TRUE(lock.Take(GiveUpAfter(3))) << "the kernel freed the dead holder's lock";
}
