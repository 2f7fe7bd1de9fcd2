// The running sync program carries device edits into a desktop table: its back-sync thread
// fetches them from the web-service double turn after turn, applies them under the conflict rule
// and acknowledges each, and the program still ends on its switch.
#include "tests/support/Eventually.h"
#include "tests/support/SyncInstallation.h"
#include "tests/sync/engine/BackSyncFixture.h"

#include <gtest/gtest.h>

#include <QProcess>

using namespace backsynctest;
using testsupport::Eventually;

namespace {

// Far above what a few turns and a stop take on a loaded machine.
constexpr std::chrono::seconds kGenerousBound{60};

class BackSyncProgram : public TableBackSync {
 protected:
  void SetUp() override {
    TableBackSync::SetUp();
    if (HasFatalFailure()) return;
    SetUpTable(odbctest::Engine::Sqlite);
    if (HasFatalFailure() || IsSkipped()) return;
    Register(QStringLiteral("user01"), 0);  // turns follow each other without a pause
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 1);
    AddProfileInStep(Profile(TableQuery()));
  }
};

TEST_F(BackSyncProgram, DeviceEditsReachTheTableAndEveryOneIsAnswered) {
  RunOn(data_, QStringLiteral("UPDATE %1 SET qty = 10 WHERE id = 1").arg(TableName()));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 1, Values(1, "a-device", 1));  // changed on the desktop
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 2, Values(2, "b-device", 20));
  service_.QueueDeviceEdit(QStringLiteral("add"), kProfile, 2, 5, Values(0, "d", 4));
  service_.QueueDeviceEdit(QStringLiteral("delete"), kProfile, 1, 3);

  QProcess program;
  program.setStandardOutputFile(QProcess::nullDevice());
  program.start(QStringLiteral(SYNC_PROGRAM), {});
  ASSERT_TRUE(program.waitForStarted());
  EXPECT_TRUE(Eventually([this] { return service_.Acks().size() >= 4; }, kGenerousBound));
  synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 0);
  ASSERT_TRUE(program.waitForFinished(static_cast<int>(std::chrono::milliseconds(kGenerousBound).count())));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);

  EXPECT_EQ(service_.Acks(), (QJsonArray{Ack(1, 1, 0, kConflict), Ack(1, 2, 1, kSynced), Ack(2, 5, 1, kSynced),
                                         Ack(1, 3, 1, kSynced)}));
  EXPECT_EQ(Rows(), Texts({"1:a:10", "2:b-device:20", "4:d:4"}));
  EXPECT_EQ(DeviceRecords(), Texts({"1#1=1:a:1", "1#2=2:b-device:20", "2#5=0:d:4"}));
}

}  // namespace
