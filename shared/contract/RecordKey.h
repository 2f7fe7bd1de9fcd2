#pragma once

#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"

#include <QByteArray>

// The sealed values of the record key (registrynames::RecordKeyName()), each read and written
// here only. The writes work on a key the caller opened, so that each program keeps its own way
// of opening it and its own failure codes.

namespace recordkey {

// 0 read, -1 missing or damaged (and `record` left as it was).
int ReadDeskInfo(DeskInfo* record);
int ReadSyncInfo(SyncInfo* record);

platform::LSTATUS WriteDeskInfo(platform::HKEY key, const DeskInfo& record);
platform::LSTATUS WriteSyncInfo(platform::HKEY key, const SyncInfo& record);
// The administrator password, sealed as the bytes given.
platform::LSTATUS WriteAdminPassword(platform::HKEY key, const QByteArray& password);
platform::LSTATUS WriteAppWPk(platform::HKEY key, platform::DWORD value);

}  // namespace recordkey
