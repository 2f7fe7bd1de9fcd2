#pragma once

#include "shared/StartupShortcut.h"
#include "shared/SyncStopBounds.h"

#include <QString>

#include <chrono>

// Finding, waiting for, starting and stopping the sync program: as the service
// "TarnwickPSyncServiceLite" or as a program that the starter launches at log-on through a
// shortcut in the Startup folder. Every step writes its line to the program log.

inline const QString kSyncServiceName = QStringLiteral("TarnwickPSyncServiceLite");
inline const QString kConnectorServiceName = QStringLiteral("TarnwickConnectorService");
inline const QString kSyncProgramName = QStringLiteral("TarnwickPlusSyncServiceLite.exe");

// 1 when the sync program (or the starter) runs, 0 when not, -1 when the process list cannot be read.
int IsSyncProcessRunning();
int IsStartSyncProcessRunning();

// Waits until the sync program has ended: 1 ended, 0 when the process list failed four times or
// the program is still running after `limit` (it finishes an exchange under way before it ends).
int WaitForSyncProcessExit(std::chrono::milliseconds limit = syncbounds::kWaitForProgramEnd);

// 1 running; 0 not started; -1 no service manager, -2 no such service, -3 start refused,
// -4 status unreadable.
int StartWindowsService(const QString& name);

// 1 stopped (also when it was already stopped or stopping); -1 no service manager, -2 no such
// service, -3 first status unreadable, -4 status unreadable while stopping, -6 still stopping 30
// seconds after the call, -7 stop refused, -8 status unreadable after the request, -9 not
// stopped within 30 seconds.
int StopWindowsService(const QString& name);

// 1 when the sync service runs, 0 in any other state; -1/-2/-3, after a raised failure, when the
// manager, the service or its status cannot be had.
int CheckServiceStatus();

// 1 restarted; -1 the stop failed, -2 the start failed.
int RestartConnectorService();

// The Startup folder's desktop entry that starts the starter of the installation's "Desktop
// Files" folder at log-on: true when written (or deleted).
bool CreateStartupShortCut();
bool StartupShortCutExists();
bool DeleteStartupShortCut();

// Writes a shortcut at `linkPath` that starts `targetPath` in `workingFolder`, with no arguments
// and no description: S_OK, or E_FAIL when it cannot be written.
long CreateShellLink(const QString& targetPath, const QString& linkPath, const QString& workingFolder);
