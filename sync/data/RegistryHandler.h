#pragma once

#include "shared/RegistryRecords.h"

// The sync program's reader of the sealed registry records; it writes nothing.
class CRegistryHandler {
 public:
  virtual ~CRegistryHandler() = default;

  int ReadDeskInfo(DeskInfo* record);          // 0 read, -1 missing (record untouched)
  int ReadSyncInfo(SyncInfo* record);          // 0 read, -1 missing (record untouched)
  int ReadConnSettings(ConnSettings* record);  // 0 read, -1 missing (record untouched)
};

// The one reader of the process, made at first use.
CRegistryHandler* GetRegistryHandler();
