#pragma once

#include <QString>

// The sync program as the outside programs find and drive it.

// The sync program beside the running program (all of the system's programs live in one folder).
QString SyncProgramPath();

// Writes SyncServiceStatus, the switch the sync program runs by; false when it cannot be written.
bool WriteSyncServiceStatus(int status);
