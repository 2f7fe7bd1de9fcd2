#include "platform/registry/Registry.h"
#include "setup/common/SettingsRemoval.h"
#include "setup/installer/RegistryHandler.h"
#include "shared/RegistryHandler.h"
#include "shared/RegistryRecords.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "shared/crypto/Sealing.h"
#include "sync/data/SyncRegistry.h"
#include "sync/data/SyncSettings.h"
#include "tests/setup/installer/InstallLogLines.h"
#include "tests/support/SettingsStore.h"

#include <gtest/gtest.h>

#include <optional>

using namespace platform;
using installertest::InstallLogLines;

namespace {

const QString kFolder = QStringLiteral("/opt/Tarnwick Plus Lite");

installer::InstallSettingsState State() {
  installer::InstallSettingsState state;
  state.installFolder = kFolder;
  state.connection.proxyServer = "proxy.local";
  state.connection.proxyPort = 3128;
  state.connection.proxyUser = "ann";
  state.connection.proxyPassword = "s3cret";
  state.connection.useProxy = 1;
  state.webServiceUrl = "http://ws.example:8080/svc/";
  state.desktopName = "0123456789abcdef0123456789abcdef01234567";
  state.deviceId = state.desktopName;
  state.deviceType = 4;
  return state;
}

RegistryValue Stored(const QString& key, const QString& name) {
  return testsupport::StoredValue(key, name).value_or(RegistryValue{});
}

QByteArray Utf16(const QString& text) {
  return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

bool KeyExists(const QString& key) {
  RegistryKeyGuard handle;
  return RegOpenKeyEx(HKEY_LOCAL_MACHINE, key, KEY_READ, handle.out()) == ERROR_SUCCESS;
}

TEST(InstallRegistry, WritesEveryValueWithItsType) {
  // A failed earlier run left a key with other values: it is reused and overwritten.
  testsupport::StoreValue(registrynames::kSettingsKey, QStringLiteral("NextProfileID"), RegistryValue::FromDword(9));
  ASSERT_EQ(installer::GetRegistryHandler()->CreateAppSettings(State()), 0);

  const RegistryValue path = Stored(registrynames::kSettingsKey, QStringLiteral("InstallationPath"));
  EXPECT_EQ(path.type, REG_SZ);
  EXPECT_EQ(path.data, Utf16(kFolder)) << "stored without its terminating zero";
  struct Dword {
    QString key;
    QString name;
    DWORD value;
  };
  const Dword dwords[] = {{registrynames::kSettingsKey, QStringLiteral("NextProfileID"), 3},
                          {registrynames::kSettingsKey, QStringLiteral("SyncServiceStatus"), 1},
                          {registrynames::kSettingsKey, QStringLiteral("StartSyncStatus"), 0},
                          {registrynames::kSettingsKey, QStringLiteral("NextFormID"), 2},
                          {registrynames::kRecordIndexKey, QStringLiteral("1"), 25},
                          {registrynames::kRecordIndexKey, QStringLiteral("2"), 25},
                          {registrynames::RecordKeyName(), QStringLiteral("AppWPk"), 1}};
  for (const Dword& d : dwords) {
    const RegistryValue value = Stored(d.key, d.name);
    DWORD number = 0;
    EXPECT_EQ(value.type, REG_DWORD) << d.name.toStdString();
    EXPECT_TRUE(value.ToDword(&number) && number == d.value) << d.name.toStdString();
  }
  const QString addRemove[][2] = {
      {QStringLiteral("DisplayName"), QStringLiteral("Tarnwick Plus Lite")},
      {QStringLiteral("DisplayIcon"), kFolder + QStringLiteral("/Desktop Files/TarnwickPlusLite")},
      {QStringLiteral("UninstallString"), kFolder + QStringLiteral("/Desktop Files/TarnwickPlusLiteUnInstaller")}};
  for (const auto& [name, text] : addRemove) {
    const RegistryValue value = Stored(kAddRemoveKey, name);
    EXPECT_EQ(value.type, REG_SZ);
    EXPECT_EQ(value.data, Utf16(text) + QByteArray(2, '\0')) << "stored with its terminating zero";
  }
}

TEST(InstallRegistry, SealedRecordsAreByteForByteWhatTheReadersRead) {
  const installer::InstallSettingsState state = State();
  ASSERT_EQ(installer::GetRegistryHandler()->CreateAppSettings(state), 0);

  // Records built here, zero-filled behind their texts.
  QByteArray conn(264, '\0');
  conn.replace(0, 11, "proxy.local");
  conn[128] = char(3128 & 0xFF);
  conn[129] = char(3128 >> 8);
  conn.replace(132, 3, "ann");
  conn.replace(196, 6, "s3cret");
  conn[260] = 1;
  QByteArray sync(264, '\0');
  sync[0] = 1;
  sync[4] = 2;
  sync.replace(8, state.webServiceUrl.size(), state.webServiceUrl);
  QByteArray desk(452, '\0');
  desk.replace(0, state.desktopName.size(), state.desktopName);
  desk.replace(128, state.deviceId.size(), state.deviceId);
  desk[384] = 4;
  const struct {
    QString key;
    QString name;
    QByteArray plain;
  } records[] = {{registrynames::kSettingsKey, QStringLiteral("ConnSettings"), conn},
                 {registrynames::RecordKeyName(), QStringLiteral("SyncInfo"), sync},
                 {registrynames::RecordKeyName(), QStringLiteral("DeskInfo"), desk},
                 {registrynames::RecordKeyName(), QStringLiteral("APas"), QByteArray()}};
  for (const auto& record : records) {
    const RegistryValue value = Stored(record.key, record.name);
    EXPECT_EQ(value.type, REG_BINARY) << record.name.toStdString();
    EXPECT_EQ(value.data, EncryptSetting(record.plain)) << record.name.toStdString();
  }
  EXPECT_EQ(Stored(registrynames::RecordKeyName(), QStringLiteral("APas")).data.size(), 16) << "the empty password";

  // The administration program's and the sync program's readers.
  CRegistryHandler reader;
  ConnSettings connection;
  ASSERT_EQ(reader.ReadConnSettings(&connection), 0);
  EXPECT_EQ(connection.proxyServer, "proxy.local");
  EXPECT_EQ(connection.proxyPort, 3128);
  EXPECT_EQ(connection.useProxy, 1);
  QString password = QStringLiteral("unset");
  EXPECT_EQ(reader.ReadAdminPasswordState(&password), CRegistryHandler::PasswordState::Read);
  EXPECT_EQ(password, QString());
  ASSERT_EQ(LoadSyncSettings(), 0);
  int32_t minutes = 0;
  ASSERT_TRUE(GetChangeDetectMinutes(&minutes));
  EXPECT_EQ(minutes, 1);
  ASSERT_TRUE(GetBackSyncMinutes(&minutes));
  EXPECT_EQ(minutes, 2);
  QString url;
  ASSERT_TRUE(syncservice::GetWebServiceUrl(&url));
  EXPECT_EQ(url, QStringLiteral("http://ws.example:8080/svc/"));
  EXPECT_EQ(GetDesktopIdAnsi(), state.desktopName);
  EXPECT_EQ(GetDeviceId(), QString::fromUtf8(state.deviceId));
  EXPECT_EQ(AllocateNextRecIndex(1), 25);
  EXPECT_EQ(AllocateNextRecIndex(2), 25);
}

// An address that does not fit SyncInfo's field is refused whole, never cut to another address.
TEST(InstallRegistry, AnAddressTooLongForSyncInfoIsNotWritten) {
  installer::InstallSettingsState state = State();
  state.webServiceUrl = "http://ws.example/" + QByteArray(installer::kMaxWebServiceUrlBytes - 18, 'p');
  ASSERT_EQ(state.webServiceUrl.size(), installer::kMaxWebServiceUrlBytes);
  EXPECT_EQ(installer::GetRegistryHandler()->WriteSyncInfo(state.webServiceUrl), 0);
  state.webServiceUrl += '/';
  EXPECT_EQ(installer::GetRegistryHandler()->CreateAppSettings(state), -2);
  const QStringList log = InstallLogLines();
  EXPECT_TRUE(log.contains(QStringLiteral("Failed to Create Sync settings <3> : 87")));
  EXPECT_TRUE(log.contains(QStringLiteral("Failed to create Sync settings <2> ")));
  SyncInfo stored;
  ASSERT_EQ(ReadSealedRecord(registrynames::RecordKeyName(), QStringLiteral("SyncInfo"), &stored), 0);
  EXPECT_EQ(stored.webServiceUrl.size(), installer::kMaxWebServiceUrlBytes) << "the earlier value stays";
  EXPECT_FALSE(testsupport::StoredValue(registrynames::RecordKeyName(), QStringLiteral("DeskInfo")))
      << "the run stopped there";
}

TEST(InstallRegistry, DestroySettingsWithoutAppWPkStillDeletesTheSettingsKeys) {
  ASSERT_EQ(installer::GetRegistryHandler()->CreateAppSettings(State()), 0);
  {
    RegistryKeyGuard key;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::RecordKeyName(), KEY_ALL_ACCESS, key.out()),
              ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteValue(key.get(), QStringLiteral("AppWPk")), ERROR_SUCCESS);
  }
  EXPECT_EQ(installer::GetRegistryHandler()->DestroySettings(), 0);
  const QStringList log = InstallLogLines();
  EXPECT_TRUE(log.contains(QStringLiteral("Destroying settings...")));
  EXPECT_TRUE(log.contains(QStringLiteral("Problem in deleting settings<4.1>: 2")));
  EXPECT_FALSE(KeyExists(registrynames::kRecordIndexKey));
  EXPECT_FALSE(KeyExists(registrynames::kSettingsKey));
  EXPECT_TRUE(KeyExists(registrynames::RecordKeyName())) << "the record key itself stays";
  for (const QString& name : {QStringLiteral("APas"), QStringLiteral("DeskInfo"), QStringLiteral("SyncInfo")})
    EXPECT_FALSE(testsupport::StoredValue(registrynames::RecordKeyName(), name)) << name.toStdString();
  EXPECT_TRUE(KeyExists(kAddRemoveKey)) << "the install sequence deletes the Add/Remove entry";
}

// The record key is missing (the run failed before it was written): every other deletion is
// still attempted, each failure logged, and the result tells the key was not there.
TEST(InstallRegistry, DestroySettingsWithoutTheRecordKeyAttemptsEveryDeletion) {
  ASSERT_EQ(installer::GetRegistryHandler()->WriteAppSettings(kFolder, ConnSettings()), 0);
  EXPECT_EQ(installer::GetRegistryHandler()->DestroySettings(), -1);
  const QStringList log = InstallLogLines();
  for (const char* checkpoint : {"1", "2", "3", "4", "4.1"}) {
    EXPECT_TRUE(log.contains(QStringLiteral("Problem in deleting settings<%1>: 2").arg(QLatin1String(checkpoint))))
        << checkpoint;
  }
  EXPECT_FALSE(KeyExists(registrynames::kRecordIndexKey));
  EXPECT_FALSE(KeyExists(registrynames::kSettingsKey));
  EXPECT_FALSE(log.contains(QStringLiteral("Problem in deleting settings<5>: 2")));
}

TEST(InstallRegistry, DeletingTheAddRemoveEntryLogsAMissingKey) {
  installer::GetRegistryHandler()->CreateAddRemoveEntry(QStringLiteral("u"), QStringLiteral("i"));
  DeleteAddRemoveEntry(WriteInstallLog);
  EXPECT_FALSE(KeyExists(kAddRemoveKey));
  DeleteAddRemoveEntry(WriteInstallLog);
  EXPECT_TRUE(InstallLogLines().contains(QStringLiteral("Problem in deleting settings<Add Remove>: 2")));
}

}  // namespace
