#include "platform/os/ServiceManager.h"
#include "platform/registry/Registry.h"
#include "tests/support/FreshMachineRoot.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

bool KeyExists(const QString& path) {
  RegistryKeyGuard key;
  return RegOpenKeyEx(HKEY_LOCAL_MACHINE, path, KEY_READ, key.out()) == ERROR_SUCCESS;
}

TEST(ServiceManager, OpeningWritesNothingAndTheLastServiceDeletedTakesTheKeysMadeForIt) {
  ServiceManager manager;
  EXPECT_EQ(manager.Open(), 0);
  EXPECT_EQ(manager.OpenService(QStringLiteral("One")), ERROR_SERVICE_DOES_NOT_EXIST);
  EXPECT_FALSE(KeyExists(QStringLiteral("SYSTEM")));

  ASSERT_EQ(manager.CreateService(QStringLiteral("One"), QStringLiteral("/bin/true"), {}), 0);
  ASSERT_EQ(manager.CreateService(QStringLiteral("Two"), QStringLiteral("/bin/true"), {}), 0);
  EXPECT_EQ(manager.DeleteService(QStringLiteral("One")), 0);
  EXPECT_TRUE(KeyExists(QStringLiteral("SYSTEM\\CurrentControlSet\\Services\\Two")));
  EXPECT_EQ(manager.DeleteService(QStringLiteral("Two")), 0);
  EXPECT_FALSE(KeyExists(QStringLiteral("SYSTEM")));

  // A key that holds anything else stays.
  {
    RegistryKeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("SYSTEM\\CurrentControlSet"), KEY_ALL_ACCESS, key.out()), 0);
    ASSERT_EQ(RegSetValueEx(key.get(), QStringLiteral("Mine"), RegistryValue::FromDword(1)), 0);
  }
  ASSERT_EQ(manager.CreateService(QStringLiteral("One"), QStringLiteral("/bin/true"), {}), 0);
  EXPECT_EQ(manager.DeleteService(QStringLiteral("One")), 0);
  EXPECT_FALSE(KeyExists(QStringLiteral("SYSTEM\\CurrentControlSet\\Services")));
  EXPECT_TRUE(KeyExists(QStringLiteral("SYSTEM\\CurrentControlSet")));
}

}  // namespace
