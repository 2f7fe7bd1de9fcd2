#include "shared/RegistryHandler.h"
#include "shared/contract/RegistryNames.h"
#include "shared/crypto/Sealing.h"
#include "tests/support/SettingsStore.h"

#include <gtest/gtest.h>

using namespace platform;
using testsupport::StoredValue;
using testsupport::StoreValue;

namespace {

void CreateKeys() {
  for (const QString& name : {registrynames::kSettingsKey, registrynames::RecordKeyName()}) {
    RegistryKeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, name, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  }
}

}  // namespace

TEST(RegistryHandler, TheAdministratorPasswordIsReadAsItWasWritten) {
  QString read = QStringLiteral("old");
  EXPECT_EQ(GetRegistryHandler()->ReadAdminPasswordState(&read), CRegistryHandler::PasswordState::Absent);
  EXPECT_TRUE(read.isEmpty());
  EXPECT_EQ(GetRegistryHandler()->WriteAdminPassword("caf\xC3\xA9"), -1) << "no record key yet";
  CreateKeys();
  ASSERT_EQ(GetRegistryHandler()->WriteAdminPassword("caf\xC3\xA9"), 0);
  EXPECT_EQ(GetRegistryHandler()->ReadAdminPassword(&read), 1);
  EXPECT_EQ(read, QStringLiteral("caf\u00e9"));

  ASSERT_TRUE(StoreValue(registrynames::RecordKeyName(), QStringLiteral("APas"),
                         RegistryValue::FromBinary(QByteArray(17, 'a'))));
  EXPECT_EQ(GetRegistryHandler()->ReadAdminPasswordState(&read), CRegistryHandler::PasswordState::Unreadable);
  EXPECT_EQ(GetRegistryHandler()->ReadAdminPassword(&read), 0);
  EXPECT_TRUE(read.isEmpty());
}

TEST(RegistryHandler, SealedRecordsAreReadOnlyAtTheirExactSize) {
  DeskInfo info;
  info.desktopName = "desk-01";
  info.deviceId = "user@example";
  info.devicePassword = "secret";
  info.deviceType = 2;
  ASSERT_TRUE(StoreValue(registrynames::RecordKeyName(), QStringLiteral("DeskInfo"),
                         RegistryValue::FromBinary(EncryptSetting(info.ToBytes()))));
  DeskInfo read;
  ASSERT_EQ(GetRegistryHandler()->ReadDeskInfo(&read), 0);
  EXPECT_EQ(read.desktopName, "desk-01");
  EXPECT_EQ(read.deviceId, "user@example");
  EXPECT_EQ(read.deviceType, 2);

  // A value of another size (here sealed from 470 bytes) is not a DeskInfo record.
  ASSERT_TRUE(StoreValue(registrynames::RecordKeyName(), QStringLiteral("DeskInfo"),
                         RegistryValue::FromBinary(EncryptSetting(info.ToBytes() + QByteArray(18, 'z')))));
  DeskInfo untouched;
  untouched.desktopName = "kept";
  EXPECT_EQ(GetRegistryHandler()->ReadDeskInfo(&untouched), -1);
  EXPECT_EQ(untouched.desktopName, "kept");

  SyncInfo sync;
  EXPECT_EQ(GetRegistryHandler()->ReadSyncInfo(&sync), -1);
  sync.backSyncMinutes = 9;
  ASSERT_TRUE(StoreValue(registrynames::RecordKeyName(), QStringLiteral("SyncInfo"),
                         RegistryValue::FromBinary(EncryptSetting(sync.ToBytes()))));
  SyncInfo readSync;
  ASSERT_EQ(GetRegistryHandler()->ReadSyncInfo(&readSync), 0);
  EXPECT_EQ(readSync.backSyncMinutes, 9);
}

TEST(RegistryHandler, ConnSettingsRoundTrip) {
  ConnSettings settings;
  settings.proxyServer = "proxy.local";
  settings.proxyPort = 3128;
  settings.proxyUser = "u";
  settings.proxyPassword = "p\xC3\xA9";
  settings.useProxy = 1;
  EXPECT_EQ(GetRegistryHandler()->WriteConnSettings(settings), -2) << "no settings key yet";
  CreateKeys();
  ASSERT_EQ(GetRegistryHandler()->WriteConnSettings(settings), 0);
  EXPECT_EQ(StoredValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"))->data.size(), 272);
  ConnSettings read;
  ASSERT_EQ(GetRegistryHandler()->ReadConnSettings(&read), 0);
  EXPECT_EQ(read.proxyServer, "proxy.local");
  EXPECT_EQ(read.proxyPort, 3128);
  EXPECT_EQ(read.proxyPassword, "p\xC3\xA9");
  EXPECT_EQ(read.useProxy, 1);
}
