// The running sync program carries device edits into a desktop table: its back-sync thread
// fetches them from the web-service double turn after turn, applies them under the conflict rule
// and acknowledges each, and the program still ends on its switch. The whole road: a new profile
// reaches the device, desktop and device changes cross both ways, and both sides end alike.
#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/Eventually.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"
#include "tests/sync/engine/BackSyncFixture.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>

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
  }

  void Start() {
    program_.setStandardOutputFile(QProcess::nullDevice());
    program_.start(QStringLiteral(SYNC_PROGRAM), {});
    ASSERT_TRUE(program_.waitForStarted());
  }

  void StopAndExpectACleanEnd() {
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 0);
    ASSERT_TRUE(program_.waitForFinished(static_cast<int>(std::chrono::milliseconds(kGenerousBound).count())));
    EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program_.exitCode(), 0);
  }

  QProcess program_;
};

// The device's records as "value:value:..." without their keys, sorted.
QStringList DeviceValues(const QStringList& records) {
  QStringList values;
  for (const QString& record : records) values << record.section(u'=', 1);
  values.sort();
  return values;
}

// The key ("source", "index") under which the device holds the record whose first value is `id`.
std::pair<int32_t, int32_t> DeviceKeyOf(const QStringList& records, int id) {
  static const QRegularExpression key(QStringLiteral("^(\\d+)#(\\d+)=(-?\\d+):"));
  for (const QString& record : records) {
    const QRegularExpressionMatch match = key.match(record);
    if (match.hasMatch() && match.captured(3).toInt() == id) return {match.captured(1).toInt(), match.captured(2).toInt()};
  }
  return {0, 0};
}

TEST_F(BackSyncProgram, DeviceEditsReachTheTableAndEveryOneIsAnswered) {
  AddProfileInStep(Profile(TableQuery()));
  RunOn(data_, QStringLiteral("UPDATE %1 SET qty = 10 WHERE id = 1").arg(TableName()));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 1, Values(1, "a-device", 1));  // changed on the desktop
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 2, Values(2, "b-device", 20));
  service_.QueueDeviceEdit(QStringLiteral("add"), kProfile, 2, 5, Values(0, "d", 4));
  service_.QueueDeviceEdit(QStringLiteral("delete"), kProfile, 1, 3);

  Start();
  EXPECT_TRUE(Eventually([this] { return service_.Acks().size() >= 4; }, kGenerousBound));
  StopAndExpectACleanEnd();

  EXPECT_EQ(service_.Acks(), (QJsonArray{Ack(1, 1, 0, kConflict), Ack(1, 2, 1, kSynced), Ack(2, 5, 1, kSynced),
                                         Ack(1, 3, 1, kSynced)}));
  EXPECT_EQ(Rows(), Texts({"1:a:10", "2:b-device:20", "4:d:4"}));
  EXPECT_EQ(DeviceRecords(), Texts({"1#1=1:a:1", "1#2=2:b-device:20", "2#5=0:d:4"}));
}

TEST_F(BackSyncProgram, TheWholeRoadEndsWithTheDeviceHoldingWhatTheTableHolds) {
  // What the administration program leaves for a new profile: its row, its first record index
  // and a status row "A" for the device user.
  StoreProfile(Profile(TableQuery()));
  ASSERT_TRUE(testsupport::StoreValue(registrynames::kRecordIndexKey, QString::number(kProfile),
                                      platform::RegistryValue::FromDword(1)));
  RunOn(settings_, QStringLiteral("Insert Into UserProfileStatus Values ('user01', %1, 'A')").arg(kProfile));
  Start();

  // The new profile and its rows reach the device.
  EXPECT_TRUE(Eventually([this] { return DeviceValues(DeviceRecords()) == Texts({"1:a:1", "2:b:2", "3:c:3"}); },
                         kGenerousBound))
      << qPrintable(DeviceRecords().join(u' '));

  // A desktop update arrives as a new record in place of the old one.
  const std::pair<int32_t, int32_t> firstB = DeviceKeyOf(DeviceRecords(), 2);
  RunOn(data_, QStringLiteral("UPDATE %1 SET qty = 20 WHERE id = 2").arg(TableName()));
  EXPECT_TRUE(Eventually([this] { return DeviceValues(DeviceRecords()) == Texts({"1:a:1", "2:b:20", "3:c:3"}); },
                         kGenerousBound));
  EXPECT_NE(DeviceKeyOf(DeviceRecords(), 2), firstB);

  // Device edits are written into the table and answered "Synced".
  const QStringList records = DeviceRecords();
  const auto [aSource, aIndex] = DeviceKeyOf(records, 1);
  const auto [cSource, cIndex] = DeviceKeyOf(records, 3);
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, aSource, aIndex, Values(1, "a-device", 1));
  service_.QueueDeviceEdit(QStringLiteral("add"), kProfile, 2, 1, Values(0, "d", 4));
  service_.QueueDeviceEdit(QStringLiteral("delete"), kProfile, cSource, cIndex);
  EXPECT_TRUE(Eventually([this] { return service_.Acks().size() >= 3; }, kGenerousBound));
  EXPECT_EQ(service_.Acks(), (QJsonArray{Ack(aSource, aIndex, 1, kSynced), Ack(2, 1, 1, kSynced),
                                         Ack(cSource, cIndex, 1, kSynced)}));
  EXPECT_EQ(Rows(), Texts({"1:a-device:1", "2:b:20", "4:d:4"}));

  // A device update of a row changed on the desktop meanwhile changes nothing.
  const auto [bSource, bIndex] = DeviceKeyOf(DeviceRecords(), 2);
  RunOn(data_, QStringLiteral("UPDATE %1 SET qty = 30 WHERE id = 2").arg(TableName()));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, bSource, bIndex, Values(2, "b-device", 20));
  EXPECT_TRUE(Eventually([this] { return service_.Acks().size() >= 4; }, kGenerousBound));
  EXPECT_EQ(service_.Acks().last().toObject(), Ack(bSource, bIndex, 0, kConflict));

  // Both sides end alike; the device keeps the number it gave its own added row, which the
  // database numbered anew.
  EXPECT_TRUE(Eventually([this] { return DeviceValues(DeviceRecords()) == Texts({"0:d:4", "1:a-device:1", "2:b:30"}); },
                         kGenerousBound))
      << qPrintable(DeviceRecords().join(u' '));
  EXPECT_EQ(Rows(), Texts({"1:a-device:1", "2:b:30", "4:d:4"}));
  StopAndExpectACleanEnd();
}

}  // namespace
