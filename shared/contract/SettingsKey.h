#pragma once

#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"

#include <QString>

// The values of the settings key (registrynames::kSettingsKey), each read and written here only.
// The writes and the key-bound reads work on a key the caller opened, so that each program keeps
// its own way of opening it and its own failure codes.

namespace settingskey {

// The settings key's DWORD values.
enum class Dword { NextProfileId, NextFormId, SyncServiceStatus, StartSyncStatus, OsVersionMessageFlag };

QString Name(Dword value);

// True and `number` when the value is stored as a DWORD; `number` is left as it was otherwise.
bool Read(platform::HKEY key, Dword value, platform::DWORD* number);
// As above on the settings key opened for reading; false when it does not open.
bool Read(Dword value, platform::DWORD* number);
platform::LSTATUS Write(platform::HKEY key, Dword value, platform::DWORD number);

// The sealed proxy settings: 0 read, -1 missing or damaged (and `record` left as it was).
int ReadConnSettings(ConnSettings* record);
platform::LSTATUS WriteConnSettings(platform::HKEY key, const ConnSettings& record);

}  // namespace settingskey
