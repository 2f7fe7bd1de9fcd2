#pragma once

#include "platform/registry/Registry.h"

#include <QString>
#include <QStringList>

namespace uninstallertest {

// Every registry value under `key` of `root` and its subkeys, as "key\\name", sorted.
QStringList RegistryValues(platform::HKEY root, const QString& key = QString());

// Every key under `key` of `root`, itself excluded, as "key\\sub", sorted.
QStringList RegistryKeys(platform::HKEY root, const QString& key = QString());

// Every entry under the machine root, relative to it, folders ending in "/", sorted.
QStringList MachineEntries();

}  // namespace uninstallertest
