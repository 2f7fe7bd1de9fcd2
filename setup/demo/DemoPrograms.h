#pragma once

#include <QString>

// The programs of an installation, in "Desktop Files" as the installer lays them out, and the sync
// program among them as the demo watches it.

// Copies the programs from `programFolder` (a build's "bin") over those of the installation
// folder (ending in "/"); a running program keeps its old image. False, with the name of the
// program in `failed`, when one cannot be copied.
bool CopyInstallationPrograms(const QString& programFolder, const QString& installationFolder, QString* failed);

// 1 when a sync program runs with this machine root, 0 when none does, -1 when the process list
// cannot be read.
int SyncProgramRuns();

// Sets SyncServiceStatus to 0 and waits until no sync program runs with this machine root,
// however it was started; false when the switch cannot be written or the process list read.
bool StopSyncProgram();
