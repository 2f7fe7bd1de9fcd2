#include "setup/uninstaller/UninstallerProcesses.h"
#include "tests/setup/uninstaller/StandIn.h"
#include "tests/setup/uninstaller/UninstallerTestLog.h"
#include "tests/support/FreshMachineRoot.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

using uninstallertest::StartStandIn;

struct SearchCase {
  const char* standIn;  // the file name the stand-in runs under
  bool otherRoot;       // started with another machine root
  int desktopFound;     // IsDesktopProgramRunning
  int syncFound;        // IsSyncProgramRunning
};

TEST(UninstallerProcesses, FindsTheProgramsByExactNameInThisMachineRootOnly) {
  const SearchCase cases[] = {
      {"TarnwickPlusLite", false, 1, 0},
      {"tarnwickpluslite", false, 0, 0},             // case differs
      {"TarnwickPlusSyncServiceLite", false, 0, 1},  // longer than the kernel's 15-character name
      {"TarnwickPlusSyncServiceLit", false, 0, 0},   // a prefix is another program
      {"TarnwickPlusLite", true, 0, 0},              // another installation's
  };
  uninstallertest::RecordedLog log;
  for (const SearchCase& c : cases) {
    const QString root =
        c.otherRoot ? testsupport::CurrentMachineRoot() + QStringLiteral("/other") : testsupport::CurrentMachineRoot();
    QDir().mkpath(root);
    const auto standIn = StartStandIn(QString::fromLatin1(c.standIn), root);
    EXPECT_EQ(IsDesktopProgramRunning(log.Sink()), c.desktopFound) << c.standIn << " other root " << c.otherRoot;
    EXPECT_EQ(IsSyncProgramRunning(log.Sink()), c.syncFound) << c.standIn << " other root " << c.otherRoot;
    standIn->kill();
    standIn->waitForFinished(5000);
  }
  EXPECT_TRUE(log.Lines().isEmpty()) << log.Lines().join(u'\n').toStdString();
}

TEST(UninstallerProcesses, KillStartSyncProgramEndsTheStarterAndTellsWhetherOneRan) {
  uninstallertest::RecordedLog log;
  const auto other = StartStandIn(QStringLiteral("TarnwickPlusLite"));
  EXPECT_FALSE(KillStartSyncProgram(log.Sink()));

  const auto starter = StartStandIn(QStringLiteral("TarnwickPStartSyncServiceLite"));
  EXPECT_TRUE(KillStartSyncProgram(log.Sink()));
  EXPECT_TRUE(starter->waitForFinished(5000));
  EXPECT_EQ(starter->exitStatus(), QProcess::CrashExit);
  EXPECT_EQ(log.Lines(), QStringList{QStringLiteral("Successfull in KP.")});
  EXPECT_EQ(other->state(), QProcess::Running) << "only the starter is ended";
  other->kill();
  other->waitForFinished(5000);
}

TEST(UninstallerProcesses, ErrorTextIsTheSystemsMessageTrimmed) {
  EXPECT_EQ(GetErrorText(2), QStringLiteral("No such file or directory"));
}

}  // namespace
