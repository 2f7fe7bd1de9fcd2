#pragma once

#include "platform/registry/Registry.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace testsupport {

// Stores settings the way the installer leaves them, for tests of their readers, and reads back
// what the code under test stored. All under HKEY_LOCAL_MACHINE.

// Stores `value` as `name` under `key` (created when missing). False when the registry refused.
bool StoreValue(const QString& key, const QString& name, const platform::RegistryValue& value);

// Seals `plain` and stores it as REG_BINARY `value` under `key` (created when missing). False
// when the registry refused.
bool StoreSealedValue(const QString& key, const QString& value, const QByteArray& plain);

// The value `name` under `key`; nothing when either is missing.
std::optional<platform::RegistryValue> StoredValue(const QString& key, const QString& name);

}  // namespace testsupport
