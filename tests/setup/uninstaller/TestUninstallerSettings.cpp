#include "platform/registry/Registry.h"
#include "setup/uninstaller/UninstallerSettings.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "tests/setup/uninstaller/UninstallerTestLog.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SettingsStore.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

void StoreDeskInfo(const QByteArray& name, uint16_t deviceType) {
  DeskInfo info;
  info.desktopName = name;
  info.deviceId = name;
  info.deviceType = deviceType;
  ASSERT_TRUE(
      testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("DeskInfo"), info.ToBytes()));
}

// A record that unseals to garbage (no integrity check) must not yield a name to withdraw.
TEST(UninstallerSettings, OnlyAPrintableUtf8NameIsADesktopName) {
  const struct {
    QByteArray stored;
    QString read;
  } cases[] = {
      {"0123456789abcdef", QStringLiteral("0123456789abcdef")},
      {"Desk \xc3\xa9t\xc3\xa9", QStringLiteral("Desk \u00e9t\u00e9")},
      {"ab\x01"
       "cd",
       QString()},
      {"ab\x7f", QString()},
      {"\xff\xfe\x80", QString()},
      {"", QString()},
  };
  for (const auto& c : cases) {
    StoreDeskInfo(c.stored, 2);
    uninstallertest::RecordedLog log;
    EXPECT_EQ(ReadDeskInfo(log.Sink()), c.read) << c.stored.toHex().constData();
    EXPECT_EQ(GetDeviceType(log.Sink()), 2);
    EXPECT_TRUE(log.Lines().isEmpty());
  }
  ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("DeskInfo"),
                                            QByteArray(DeskInfo::kSize, '\x13')));
  uninstallertest::RecordedLog log;
  EXPECT_EQ(ReadDeskInfo(log.Sink()), QString());
}

TEST(UninstallerSettings, UnreadableRecordsAreLoggedByStep) {
  uninstallertest::RecordedLog log;
  EXPECT_EQ(ReadDeskInfo(log.Sink()), QString());
  EXPECT_EQ(GetDeviceType(log.Sink()), -1);
  ConnSettings connection;
  connection.useProxy = 1;
  ReadConnSettings(&connection, log.Sink());
  EXPECT_EQ(connection.useProxy, 0) << "an unreadable record means the direct transport";
  ASSERT_TRUE(testsupport::StoreValue(registrynames::RecordKeyName(), QStringLiteral("DeskInfo"),
                                      RegistryValue::FromBinary("short")));
  ReadDeskInfo(log.Sink());
  EXPECT_EQ(log.Lines(), (QStringList{QStringLiteral("Problem in getting desk settings<1> : 2"),
                                      QStringLiteral("Problem in getting dev settings<1> : 2"),
                                      QStringLiteral("Problem in getting proxy settings<1> : 2"),
                                      QStringLiteral("Problem in getting desk settings<2> : 13")}));
}

TEST(UninstallerSettings, SyncServiceStatusIsWrittenAndStartSyncStatusRead) {
  uninstallertest::RecordedLog log;
  uint32_t status = 7;
  EXPECT_EQ(GetStartSyncStatus(&status), 0);
  EXPECT_EQ(SetSyncServiceStatus(0, log.Sink()), 1) << "the settings key is made when missing";
  uint32_t stored = 9;
  ASSERT_TRUE(
      testsupport::StoredValue(registrynames::kSettingsKey, QStringLiteral("SyncServiceStatus"))->ToDword(&stored));
  EXPECT_EQ(stored, 0u);
  ASSERT_TRUE(testsupport::StoreValue(registrynames::kSettingsKey, QStringLiteral("StartSyncStatus"),
                                      RegistryValue::FromDword(1)));
  EXPECT_EQ(GetStartSyncStatus(&status), 1);
  EXPECT_EQ(status, 1u);
  EXPECT_TRUE(log.Lines().isEmpty());
}

}  // namespace
