#pragma once

#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"

#include <gtest/gtest.h>

#include <optional>

// The registry counter `NextFormID` as tests set, lose and read it.
namespace testsupport {

inline void StoreNextFormID(const platform::RegistryValue& value) {
  using namespace platform;
  RegistryKeyGuard key;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_WRITE, key.out()), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key.get(), QStringLiteral("NextFormID"), value), ERROR_SUCCESS);
}

inline void LoseNextFormID() {
  using namespace platform;
  RegistryKeyGuard key;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_WRITE, key.out()), ERROR_SUCCESS);
  RegDeleteValue(key.get(), QStringLiteral("NextFormID"));
}

inline std::optional<platform::RegistryValue> StoredNextFormID() {
  using namespace platform;
  RegistryKeyGuard key;
  RegistryValue value;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_READ, key.out()) != ERROR_SUCCESS ||
      RegQueryValueEx(key.get(), QStringLiteral("NextFormID"), &value) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

}  // namespace testsupport
