#pragma once

#include "setup/common/SetupLog.h"

// The uninstaller's settings object has its own namespace: the shared reader of the sealed
// records (shared/RegistryHandler.h) carries the same names in every program that links it.
namespace uninstaller {

// Deletes the registry items of the installation and its Add/Remove entry. It keeps no state.
class CRegistryHandler {
 public:
  // Every deletion is attempted and each failure logged; always 0.
  int RemoveSettings(const SetupLogSink& log) const;
};

// The one settings object of the process.
CRegistryHandler* GetRegistryHandler();

}  // namespace uninstaller
