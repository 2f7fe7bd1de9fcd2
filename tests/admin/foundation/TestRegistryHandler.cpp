#include "admin/foundation/RegistryHandler.h"
#include "platform/MachineRoot.h"
#include "platform/Registry.h"
#include "shared/crypto/Sealing.h"

#include <gtest/gtest.h>

#include <QFile>

#include <optional>

using namespace platform;

namespace {

void CreateKeys() {
  for (const QString& name : {kSettingsKey, RecordKeyName()}) {
    RegistryKeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, name, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  }
}

void Store(const QString& keyName, const QString& name, const RegistryValue& value) {
  RegistryKeyGuard key;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key.get(), name, value), ERROR_SUCCESS);
}

std::optional<RegistryValue> Stored(const QString& keyName, const QString& name) {
  RegistryKeyGuard key;
  RegistryValue value;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_READ, key.out()) != ERROR_SUCCESS ||
      RegQueryValueEx(key.get(), name, &value) != ERROR_SUCCESS)
    return {};
  return value;
}

DeskInfo SampleDeskInfo() {
  DeskInfo info;
  info.desktopName = "desk-01";
  info.deviceId = "user@example";
  info.devicePassword = "secret";
  info.deviceType = 2;
  return info;
}

}  // namespace

TEST(RegistryHandler, InstallationPathEndsInOneSeparator) {
  struct Case {
    std::optional<RegistryValue> stored;
    QString expected;
  };
  const Case cases[] = {
      {RegistryValue::FromString(QStringLiteral("/opt/Tarnwick")), QStringLiteral("/opt/Tarnwick/")},
      {RegistryValue::FromString(QStringLiteral("/opt/Tarnwick/")), QStringLiteral("/opt/Tarnwick/")},
      {RegistryValue::FromString(QString(400, u'a')), QString(400, u'a') + u'/'},
      {RegistryValue::FromDword(1), QString()},
      {std::nullopt, QString()},
  };
  for (const Case& c : cases) {
    RegistryKeyGuard key;
    RegCreateKeyEx(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS, key.out());
    RegDeleteValue(key.get(), QStringLiteral("InstallationPath"));
    if (c.stored) RegSetValueEx(key.get(), QStringLiteral("InstallationPath"), *c.stored);
    EXPECT_EQ(GetInstallationPath(), c.expected);
  }
  RegDeleteKey(HKEY_LOCAL_MACHINE, kSettingsKey);
  EXPECT_EQ(GetInstallationPath(), QString());
}

TEST(RegistryHandler, PasswordsRoundTripAtAnyLengthAndInAnyScript) {
  CreateKeys();
  const QString passwords[] = {QStringLiteral("0123456789abcdef"), QStringLiteral("caf\u00e9 \u20ac"),
                               QString(2000, u'x'), QString()};
  for (const QString& password : passwords) {
    ASSERT_EQ(SetAdminPassword(password), 1);
    QString read;
    EXPECT_EQ(GetRegistryHandler()->ReadAdminPassword(&read), 1);
    EXPECT_EQ(read, password);
    EXPECT_TRUE(CheckAdminPassword(password));
    EXPECT_FALSE(CheckAdminPassword(password + u'!'));
  }
  // Sixteen ASCII characters are stored byte for byte and take a second block of padding.
  ASSERT_EQ(SetAdminPassword(QStringLiteral("0123456789abcdef")), 1);
  const auto sealed = Stored(RecordKeyName(), QStringLiteral("APas"));
  ASSERT_TRUE(sealed);
  EXPECT_EQ(sealed->type, REG_BINARY);
  ASSERT_EQ(sealed->data.size(), 32);
  EXPECT_EQ(DecryptSetting(sealed->data), QByteArray("0123456789abcdef") + QByteArray(16, '\0'));
  EXPECT_FALSE(CheckAdminPassword(QStringLiteral("0123456789ABCDEF")));
}

TEST(RegistryHandler, OnlyAnAbsentPasswordOpensWithTheEmptyText) {
  CreateKeys();
  EXPECT_TRUE(CheckAdminPassword(QString()));
  EXPECT_FALSE(CheckAdminPassword(QStringLiteral("x")));

  // A value that is there but cannot be read refuses every password.
  const RegistryValue damaged[] = {RegistryValue::FromBinary(QByteArray(17, 'a')),
                                   RegistryValue::FromBinary(QByteArray()),
                                   RegistryValue::FromString(QStringLiteral("plain"))};
  for (const RegistryValue& value : damaged) {
    Store(RecordKeyName(), QStringLiteral("APas"), value);
    EXPECT_FALSE(CheckAdminPassword(QString()));
    EXPECT_FALSE(CheckAdminPassword(QStringLiteral("plain")));
    QString read = QStringLiteral("old");
    EXPECT_EQ(GetRegistryHandler()->ReadAdminPassword(&read), 0);
    EXPECT_TRUE(read.isEmpty());
  }
}

TEST(RegistryHandler, ADamagedHiveRefusesEveryPassword) {
  CreateKeys();
  QFile hive(platform::RegistryFolder() + QStringLiteral("/HKEY_LOCAL_MACHINE.reg"));
  ASSERT_TRUE(hive.open(QIODevice::WriteOnly | QIODevice::Truncate));
  hive.write("garbage");
  hive.close();
  EXPECT_FALSE(CheckAdminPassword(QString()));
  EXPECT_EQ(SetAdminPassword(QStringLiteral("new")), 0);
}

TEST(RegistryHandler, UnmatchablePasswordsAreRefused) {
  CreateKeys();
  EXPECT_EQ(SetAdminPassword(QStringLiteral("a") + QChar(0xD800)), 0);
  EXPECT_EQ(SetAdminPassword(QStringLiteral("a") + QChar(0) + u'b'), 0);
  EXPECT_FALSE(Stored(RecordKeyName(), QStringLiteral("APas")));
}

TEST(RegistryHandler, SealedRecordsAreReadOnlyAtTheirExactSize) {
  CreateKeys();
  const DeskInfo info = SampleDeskInfo();
  Store(RecordKeyName(), QStringLiteral("DeskInfo"), RegistryValue::FromBinary(EncryptSetting(info.ToBytes())));
  DeskInfo read;
  ASSERT_EQ(GetRegistryHandler()->ReadDeskInfo(&read), 0);
  EXPECT_EQ(read.desktopName, "desk-01");
  EXPECT_EQ(read.deviceId, "user@example");
  EXPECT_EQ(read.deviceType, 2);

  // A value of another size (here sealed from 470 bytes) is not a DeskInfo record.
  Store(RecordKeyName(), QStringLiteral("DeskInfo"),
        RegistryValue::FromBinary(EncryptSetting(info.ToBytes() + QByteArray(18, 'z'))));
  DeskInfo untouched;
  untouched.desktopName = "kept";
  EXPECT_EQ(GetRegistryHandler()->ReadDeskInfo(&untouched), -1);
  EXPECT_EQ(untouched.desktopName, "kept");

  SyncInfo sync;
  EXPECT_EQ(GetRegistryHandler()->ReadSyncInfo(&sync), -1);
  sync.webServiceUrl = "http://127.0.0.1:8080/ws/";
  Store(RecordKeyName(), QStringLiteral("SyncInfo"), RegistryValue::FromBinary(EncryptSetting(sync.ToBytes())));
  QString url;
  EXPECT_EQ(GetWebServiceUrl(&url), 1);
  EXPECT_EQ(url, QStringLiteral("http://127.0.0.1:8080/ws/"));
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
  EXPECT_EQ(Stored(kSettingsKey, QStringLiteral("ConnSettings"))->data.size(), 272);
  ConnSettings read;
  ASSERT_EQ(GetRegistryHandler()->ReadConnSettings(&read), 0);
  EXPECT_EQ(read.proxyServer, "proxy.local");
  EXPECT_EQ(read.proxyPort, 3128);
  EXPECT_EQ(read.proxyPassword, "p\xC3\xA9");
  EXPECT_EQ(read.useProxy, 1);
}

TEST(RegistryHandler, SettingsNumbersAndRecordIndexes) {
  int number = 0;
  EXPECT_EQ(SetNextProfileID(3), 0) << "no settings key yet";
  EXPECT_EQ(GetNextProfileID(&number), 0);
  CreateKeys();
  EXPECT_EQ(SetNextProfileID(7), 1);
  EXPECT_EQ(GetNextProfileID(&number), 1);
  EXPECT_EQ(number, 7);
  EXPECT_EQ(SetStartSyncStatus(1), 1);
  EXPECT_EQ(GetStartSyncStatus(&number), 1);
  EXPECT_EQ(number, 1);
  EXPECT_EQ(SetSyncServiceStatus(0), 1);
  DWORD status = 9;
  EXPECT_TRUE(Stored(kSettingsKey, QStringLiteral("SyncServiceStatus"))->ToDword(&status));
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(SetWebServiceURL(QStringLiteral("http://h/")), 1);
  EXPECT_EQ(Stored(kSettingsKey, QStringLiteral("WebServiceURL"))->ToString(), QStringLiteral("http://h/"));

  EXPECT_FALSE(DeleteNextRecIndex(12)) << "no RI key yet";
  EXPECT_TRUE(InitNextRecIndex(12));
  DWORD index = 0;
  EXPECT_TRUE(Stored(kRecordIndexKey, QStringLiteral("12"))->ToDword(&index));
  EXPECT_EQ(index, 1u);
  EXPECT_TRUE(DeleteNextRecIndex(12));
  EXPECT_FALSE(DeleteNextRecIndex(12));
  EXPECT_FALSE(Stored(kRecordIndexKey, QStringLiteral("12")));
}
