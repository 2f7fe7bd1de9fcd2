#include "shared/LogLine.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "sync/data/SyncLog.h"
#include "sync/data/TurnInstallationPath.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/LogReader.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>

#include <thread>

namespace {

QString MakeInstallation(const QString& name) {
  const QString folder = testsupport::CurrentMachineRoot() + u'/' + name + u'/';
  EXPECT_TRUE(QDir().mkpath(folder + QStringLiteral("Desktop Files/Logs")));
  return folder;
}

void MoveInstallationTo(const QString& folder) {
  ASSERT_TRUE(testsupport::StoreValue(registrynames::kSettingsKey, QStringLiteral("InstallationPath"),
                                      platform::RegistryValue::FromString(folder)));
}

QStringList LogTexts(const QString& installation) {
  QStringList texts;
  for (const testsupport::LogEntry& entry : testsupport::ReadLogEntries(
           installation + QStringLiteral("Desktop Files/Logs/") + logline::DayFolderName(QDate::currentDate()) +
           QStringLiteral("/SyncServiceLog.log"))) {
    texts.append(entry.text);
  }
  return texts;
}

}  // namespace

TEST(TurnInstallationPath, ATurnLogsUnderTheInstallationReadAtItsStart) {
  const QString first = synctest::PrepareInstallation();
  const QString moved = MakeInstallation(QStringLiteral("moved"));
  {
    const TurnInstallationPath turn;
    MoveInstallationTo(moved);
    EXPECT_EQ(TurnInstallationPath::Current(), first);
    WriteSyncServiceLog(1, QStringLiteral("in the turn"));
    std::thread([] { WriteSyncServiceLog(2, QStringLiteral("another thread")); }).join();
  }
  EXPECT_EQ(TurnInstallationPath::Current(), moved);
  WriteSyncServiceLog(3, QStringLiteral("after the turn"));

  EXPECT_EQ(LogTexts(first), QStringList{QStringLiteral("in the turn")});
  EXPECT_EQ(LogTexts(moved), (QStringList{QStringLiteral("another thread"), QStringLiteral("after the turn")}));
}
