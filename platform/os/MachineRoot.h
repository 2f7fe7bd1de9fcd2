#pragma once

#include <QString>

namespace platform {

// The folder that holds what a Windows machine would hold for the system: registry hives, ODBC
// data-source files, run-time state and the special folders. It is $TARNWICK_MACHINE_ROOT when
// set (made absolute against the working folder); otherwise $XDG_DATA_HOME/tarnwick (the special folders are then the user's real ones).
// Read on every call, so a test can give each case a fresh root.
QString MachineRoot();

// True when $TARNWICK_MACHINE_ROOT names the root (tests, the demo).
bool HasExplicitMachineRoot();

// Folder of the registry hive files, created on demand.
QString RegistryFolder();

// Folder of run-time state (locks, service state), created on demand.
QString RunFolder();

// Folder of the ODBC configuration (odbc.ini, odbcinst.ini), created on demand.
QString OdbcFolder();

enum class SpecialFolder {
  Desktop,
  MyDocuments,
  Startup,
  Programs,
  LocalAppData,
  ProgramFiles,
};

// The special folder's path without a trailing separator; created on demand.
QString SpecialFolderPath(SpecialFolder folder);

}  // namespace platform
