#include "sync/data/SyncLog.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SyncInstallation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <thread>

TEST(SyncLog, ANewFileStartsWithTheMarkOnceAndLinesFollow) {
  synctest::PrepareInstallation();
  WriteSyncServiceLog(-1, QStringLiteral("Start SyncService"));
  WriteSyncServiceLog(3, QStringLiteral("second"));
  WriteBackSyncLog(72, QStringLiteral("back"));

  QFile file(synctest::TodaysLogFolder() + QStringLiteral("/SyncServiceLog.log"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_TRUE(bytes.startsWith("\xFF\xFE"));
  EXPECT_EQ(bytes.count("\xFF\xFE"), 1);
  EXPECT_EQ(synctest::ReadLog(QStringLiteral("SyncServiceBackSyncLog.log")).mid(11), QStringLiteral("<72> back\r\n"));
  const QRegularExpression lines(QStringLiteral("^<\\d\\d:\\d\\d:\\d\\d> <-1> Start SyncService\r\n"
                                                "<\\d\\d:\\d\\d:\\d\\d> <3> second\r\n$"));
  EXPECT_TRUE(lines.match(synctest::ReadLog(QStringLiteral("SyncServiceLog.log"))).hasMatch());
}

TEST(SyncLog, WithoutTheLogsFolderNothingIsWritten) {
  const QString installation = synctest::PrepareInstallation();
  QDir(installation + QStringLiteral("Desktop Files/Logs")).removeRecursively();
  WriteSyncServiceLog(-1, QStringLiteral("lost"));
  EXPECT_FALSE(QDir(installation + QStringLiteral("Desktop Files/Logs")).exists());
}

TEST(SyncLog, LinesOfTwoThreadsNeverInterleave) {
  synctest::PrepareInstallation();
  constexpr int kLines = 500;
  const QString longText(300, u'a');
  auto writer = [&](int code) {
    for (int i = 0; i < kLines; ++i) WriteSyncServiceLog(code, longText + QString::number(i));
  };
  std::thread first(writer, 1);
  std::thread second(writer, 2);
  first.join();
  second.join();
  const QStringList lines = synctest::ReadLog(QStringLiteral("SyncServiceLog.log")).split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 2 * kLines + 1);
  const QRegularExpression whole(QStringLiteral("^<\\d\\d:\\d\\d:\\d\\d> <[12]> a{300}\\d+$"));
  for (int i = 0; i < 2 * kLines; ++i) ASSERT_TRUE(whole.match(lines[i]).hasMatch()) << i;
}
