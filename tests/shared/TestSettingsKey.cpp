#include "shared/contract/RecordKey.h"
#include "shared/contract/RegistryNames.h"
#include "shared/contract/SettingsKey.h"
#include "tests/support/SettingsStore.h"

#include <gtest/gtest.h>

using namespace platform;
using testsupport::StoredValue;

namespace {

// The settings key opened for writing, made when missing.
class SettingsKeyFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_ALL_ACCESS, key_.out()),
              ERROR_SUCCESS);
  }

  RegistryKeyGuard key_;
};

}  // namespace

// The names are what the installed programs of every version look for, spelled out here apart
// from the contract so that a changed name is caught.
TEST_F(SettingsKeyFixture, EachDwordIsStoredUnderItsNameAndReadBack) {
  struct Case {
    settingskey::Dword value;
    QString name;
  };
  const Case cases[] = {
      {settingskey::Dword::NextProfileId, QStringLiteral("NextProfileID")},
      {settingskey::Dword::NextFormId, QStringLiteral("NextFormID")},
      {settingskey::Dword::SyncServiceStatus, QStringLiteral("SyncServiceStatus")},
      {settingskey::Dword::StartSyncStatus, QStringLiteral("StartSyncStatus")},
      {settingskey::Dword::OsVersionMessageFlag, QStringLiteral("OSVersionMessageFlag")},
  };
  DWORD number = 7;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    EXPECT_FALSE(settingskey::Read(c.value, &number)) << "missing";
    EXPECT_EQ(number, 7u);
    ASSERT_EQ(settingskey::Write(key_.get(), c.value, 0xFFFFFFFFu), ERROR_SUCCESS);
    DWORD stored = 0;
    ASSERT_TRUE(StoredValue(registrynames::kSettingsKey, c.name));
    EXPECT_TRUE(StoredValue(registrynames::kSettingsKey, c.name)->ToDword(&stored));
    EXPECT_EQ(stored, 0xFFFFFFFFu);
    EXPECT_TRUE(settingskey::Read(c.value, &number));
    EXPECT_EQ(number, 0xFFFFFFFFu);
    number = 7;
  }
}

TEST_F(SettingsKeyFixture, AValueOfAnotherTypeIsNotReadAsADword) {
  ASSERT_EQ(
      RegSetValueEx(key_.get(), QStringLiteral("SyncServiceStatus"), RegistryValue::FromString(QStringLiteral("1"))),
      ERROR_SUCCESS);
  DWORD number = 7;
  EXPECT_FALSE(settingskey::Read(key_.get(), settingskey::Dword::SyncServiceStatus, &number));
  EXPECT_FALSE(settingskey::Read(settingskey::Dword::SyncServiceStatus, &number));
  EXPECT_EQ(number, 7u);
}

TEST_F(SettingsKeyFixture, SealedRecordsAreReadAsTheyWereWritten) {
  ConnSettings connection;
  connection.proxyServer = "proxy.example";
  connection.proxyPort = 8080;
  ASSERT_EQ(settingskey::WriteConnSettings(key_.get(), connection), ERROR_SUCCESS);
  EXPECT_TRUE(StoredValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings")));
  ConnSettings readConnection;
  ASSERT_EQ(settingskey::ReadConnSettings(&readConnection), 0);
  EXPECT_EQ(readConnection.proxyServer, connection.proxyServer);
  EXPECT_EQ(readConnection.proxyPort, 8080);

  RegistryKeyGuard records;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::RecordKeyName(), KEY_ALL_ACCESS, records.out()),
            ERROR_SUCCESS);
  DeskInfo desk;
  desk.desktopName = "desk";
  desk.deviceType = 2;
  SyncInfo sync;
  sync.webServiceUrl = "http://h/";
  ASSERT_EQ(recordkey::WriteDeskInfo(records.get(), desk), ERROR_SUCCESS);
  ASSERT_EQ(recordkey::WriteSyncInfo(records.get(), sync), ERROR_SUCCESS);
  EXPECT_TRUE(StoredValue(registrynames::RecordKeyName(), QStringLiteral("DeskInfo")));
  EXPECT_TRUE(StoredValue(registrynames::RecordKeyName(), QStringLiteral("SyncInfo")));
  DeskInfo readDesk;
  SyncInfo readSync;
  ASSERT_EQ(recordkey::ReadDeskInfo(&readDesk), 0);
  ASSERT_EQ(recordkey::ReadSyncInfo(&readSync), 0);
  EXPECT_EQ(readDesk.desktopName, desk.desktopName);
  EXPECT_EQ(readDesk.deviceType, 2);
  EXPECT_EQ(readSync.webServiceUrl, sync.webServiceUrl);
}
