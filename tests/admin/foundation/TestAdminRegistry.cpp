#include "admin/foundation/AdminRegistry.h"
#include "platform/os/MachineRoot.h"
#include "shared/RegistryHandler.h"
#include "shared/contract/RegistryNames.h"
#include "shared/crypto/Sealing.h"
#include "tests/support/SettingsStore.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace platform;
using testsupport::StoredValue;

namespace {

void CreateKeys() {
  for (const QString& name : {registrynames::kSettingsKey, registrynames::RecordKeyName()}) {
    RegistryKeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, name, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  }
}

}  // namespace

TEST(AdminRegistry, PasswordsRoundTripAtAnyLengthAndInAnyScript) {
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
  const auto sealed = StoredValue(registrynames::RecordKeyName(), QStringLiteral("APas"));
  ASSERT_TRUE(sealed);
  EXPECT_EQ(sealed->type, REG_BINARY);
  ASSERT_EQ(sealed->data.size(), 32);
  EXPECT_EQ(DecryptSetting(sealed->data), QByteArray("0123456789abcdef") + QByteArray(16, '\0'));
  EXPECT_FALSE(CheckAdminPassword(QStringLiteral("0123456789ABCDEF")));
}

TEST(AdminRegistry, OnlyAnAbsentPasswordOpensWithTheEmptyText) {
  CreateKeys();
  EXPECT_TRUE(CheckAdminPassword(QString()));
  EXPECT_FALSE(CheckAdminPassword(QStringLiteral("x")));

  // A value that is there but cannot be read refuses every password.
  const RegistryValue damaged[] = {RegistryValue::FromBinary(QByteArray(17, 'a')),
                                   RegistryValue::FromBinary(QByteArray()),
                                   RegistryValue::FromString(QStringLiteral("plain"))};
  for (const RegistryValue& value : damaged) {
    ASSERT_TRUE(testsupport::StoreValue(registrynames::RecordKeyName(), QStringLiteral("APas"), value));
    EXPECT_FALSE(CheckAdminPassword(QString()));
    EXPECT_FALSE(CheckAdminPassword(QStringLiteral("plain")));
    QString read = QStringLiteral("old");
    EXPECT_EQ(GetRegistryHandler()->ReadAdminPassword(&read), 0);
    EXPECT_TRUE(read.isEmpty());
  }
}

TEST(AdminRegistry, ADamagedHiveRefusesEveryPassword) {
  CreateKeys();
  QFile hive(platform::RegistryFolder() + QStringLiteral("/HKEY_LOCAL_MACHINE.reg"));
  ASSERT_TRUE(hive.open(QIODevice::WriteOnly | QIODevice::Truncate));
  hive.write("garbage");
  hive.close();
  EXPECT_FALSE(CheckAdminPassword(QString()));
  EXPECT_EQ(SetAdminPassword(QStringLiteral("new")), 0);
}

TEST(AdminRegistry, UnmatchablePasswordsAreRefused) {
  CreateKeys();
  EXPECT_EQ(SetAdminPassword(QStringLiteral("a") + QChar(0xD800)), 0);
  EXPECT_EQ(SetAdminPassword(QStringLiteral("a") + QChar(0) + u'b'), 0);
  EXPECT_FALSE(StoredValue(registrynames::RecordKeyName(), QStringLiteral("APas")));
}

TEST(AdminRegistry, TheWebServiceAddressIsReadFromSyncInfoOnEveryCall) {
  QString url = QStringLiteral("old");
  EXPECT_EQ(admin::GetWebServiceUrl(&url), 0);
  EXPECT_TRUE(url.isEmpty());
  SyncInfo sync;
  sync.webServiceUrl = "http://127.0.0.1:8080/ws/";
  ASSERT_TRUE(
      testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("SyncInfo"), sync.ToBytes()));
  EXPECT_EQ(admin::GetWebServiceUrl(&url), 1);
  EXPECT_EQ(url, QStringLiteral("http://127.0.0.1:8080/ws/"));
  sync.webServiceUrl = "http://other/";
  ASSERT_TRUE(
      testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("SyncInfo"), sync.ToBytes()));
  EXPECT_EQ(admin::GetWebServiceUrl(&url), 1);
  EXPECT_EQ(url, QStringLiteral("http://other/"));
}

TEST(AdminRegistry, SettingsNumbersAndRecordIndexes) {
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
  EXPECT_TRUE(StoredValue(registrynames::kSettingsKey, QStringLiteral("SyncServiceStatus"))->ToDword(&status));
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(SetWebServiceURL(QStringLiteral("http://h/")), 1);
  EXPECT_EQ(StoredValue(registrynames::kSettingsKey, QStringLiteral("WebServiceURL"))->ToString(),
            QStringLiteral("http://h/"));

  EXPECT_FALSE(DeleteNextRecIndex(12)) << "no RI key yet";
  EXPECT_TRUE(InitNextRecIndex(12));
  DWORD index = 0;
  EXPECT_TRUE(StoredValue(registrynames::kRecordIndexKey, QStringLiteral("12"))->ToDword(&index));
  EXPECT_EQ(index, 1u);
  EXPECT_TRUE(DeleteNextRecIndex(12));
  EXPECT_FALSE(DeleteNextRecIndex(12));
  EXPECT_FALSE(StoredValue(registrynames::kRecordIndexKey, QStringLiteral("12")));
}
