#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "shared/contract/SyncServiceStatus.h"
#include "sync/data/SyncRegistry.h"
#include "tests/support/SyncInstallation.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QSet>

#include <optional>

using namespace platform;

namespace {

void StoreIndex(const QString& name, const RegistryValue& value) {
  RegistryKeyGuard key;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::kRecordIndexKey, KEY_ALL_ACCESS, key.out()),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key.get(), name, value), ERROR_SUCCESS);
}

std::optional<DWORD> StoredIndex(const QString& name) {
  RegistryKeyGuard key;
  RegistryValue value;
  DWORD index = 0;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kRecordIndexKey, KEY_READ, key.out()) != ERROR_SUCCESS ||
      RegQueryValueEx(key.get(), name, &value) != ERROR_SUCCESS || !value.ToDword(&index))
    return std::nullopt;
  return index;
}

}  // namespace

TEST(RecordIndex, AllocationHandsOutTheStoredValueAndKeepsTheNext) {
  EXPECT_EQ(AllocateNextRecIndex(7), -1) << "no RI key";
  StoreIndex(QStringLiteral("7"), RegistryValue::FromDword(25));
  EXPECT_EQ(AllocateNextRecIndex(7), 25);
  EXPECT_EQ(StoredIndex(QStringLiteral("7")), 26u);
  EXPECT_EQ(AllocateNextRecIndex(7, 100), 26) << "a bunch's indexes in one step";
  EXPECT_EQ(StoredIndex(QStringLiteral("7")), 126u);
  ASSERT_TRUE(SetNextRecIndex(7, 26));

  EXPECT_EQ(AllocateNextRecIndex(8), -2);
  EXPECT_EQ(StoredIndex(QStringLiteral("8")), std::nullopt) << "a missing index is not created";
  StoreIndex(QStringLiteral("9"), RegistryValue::FromString(QStringLiteral("25")));
  EXPECT_EQ(AllocateNextRecIndex(9), -2) << "an index that is no DWORD";

  int32_t index = 0;
  EXPECT_EQ(NewRecordKey(7, 1, &index), QStringLiteral("1#26"));
  EXPECT_EQ(index, 26);
  ASSERT_TRUE(SetNextRecIndex(7, 0));
  EXPECT_EQ(NewRecordKey(7, 1, &index), QString()) << "index 0 gives no key";
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(SetNextRecIndex(12, 5));
  EXPECT_EQ(StoredIndex(QStringLiteral("12")), 5u);
}

TEST(RecordIndex, TwoProcessesAtOnceNeverGetTheSameIndex) {
  StoreIndex(QStringLiteral("3"), RegistryValue::FromDword(1));
  constexpr int kEach = 150;
  QProcess first;
  QProcess second;
  for (QProcess* process : {&first, &second}) {
    process->start(QStringLiteral(SYNC_RI_ALLOCATOR), {QStringLiteral("3"), QString::number(kEach)});
  }
  QSet<int> handedOut;
  for (QProcess* process : {&first, &second}) {
    ASSERT_TRUE(process->waitForFinished(120000));
    for (const QByteArray& line : process->readAllStandardOutput().split('\n')) {
      if (line.isEmpty()) continue;
      const int index = line.toInt();
      EXPECT_GE(index, 1);
      EXPECT_FALSE(handedOut.contains(index)) << "index " << index << " handed out twice";
      handedOut.insert(index);
    }
  }
  EXPECT_EQ(handedOut.size(), 2 * kEach);
  EXPECT_EQ(StoredIndex(QStringLiteral("3")), DWORD{2 * kEach + 1});
}

TEST(SyncServiceStatus, ReadsTheSwitchAndLeavesTheOutputWhenItIsMissing) {
  int32_t status = 7;
  EXPECT_FALSE(GetSyncServiceStatus(&status));
  EXPECT_EQ(status, 7);
  synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 2);
  EXPECT_TRUE(GetSyncServiceStatus(&status));
  EXPECT_EQ(status, 2);
}
