#include "tests/support/SyncInstallation.h"

#include "platform/registry/Registry.h"
#include "shared/LogLine.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SettingsStore.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>

using namespace platform;

namespace synctest {
namespace {

void Store(const QString& keyName, const QString& name, const RegistryValue& value) {
  RegistryKeyGuard key;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key.get(), name, value), ERROR_SUCCESS);
}

QString Installation() { return testsupport::CurrentMachineRoot() + QStringLiteral("/install/"); }

}  // namespace

QString PrepareInstallation() {
  QDir().mkpath(Installation() + QStringLiteral("Desktop Files/Logs"));
  Store(registrynames::kSettingsKey, QStringLiteral("InstallationPath"), RegistryValue::FromString(Installation()));
  return Installation();
}

void SetSettingsDword(const QString& name, uint32_t value) {
  Store(registrynames::kSettingsKey, name, RegistryValue::FromDword(value));
}

void StoreSealedRecord(const QString& name, const QByteArray& plain) {
  ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::RecordKeyName(), name, plain));
}

QString TodaysLogFolder() {
  return Installation() + QStringLiteral("Desktop Files/Logs/") + logline::DayFolderName(QDate::currentDate());
}

QString ReadLog(const QString& fileName) {
  QFile file(TodaysLogFolder() + u'/' + fileName);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  if (!bytes.startsWith(logline::ByteOrderMark())) return QStringLiteral("<no byte-order mark>");
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
}

}  // namespace synctest
