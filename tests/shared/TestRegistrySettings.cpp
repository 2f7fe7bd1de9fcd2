#include "shared/RegistryRecords.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/SettingsStore.h"

#include <gtest/gtest.h>

#include <optional>

using namespace platform;

TEST(RegistrySettings, InstallationPathEndsInOneSeparator) {
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
    RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_ALL_ACCESS, key.out());
    RegDeleteValue(key.get(), QStringLiteral("InstallationPath"));
    if (c.stored) RegSetValueEx(key.get(), QStringLiteral("InstallationPath"), *c.stored);
    EXPECT_EQ(GetInstallationPath(), c.expected);
  }
  RegDeleteKey(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey);
  EXPECT_EQ(GetInstallationPath(), QString());
}
