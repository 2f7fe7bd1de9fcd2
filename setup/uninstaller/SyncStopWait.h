#pragma once

#include "setup/common/SetupLog.h"

#include <chrono>
#include <functional>

class SetupProgress;

// Waits for the sync program to end after the stop request. `isRunning` answers 1 running,
// 0 ended, negative when the process list cannot be read. 1 ended; 0 when the list could not
// be read a fourth time (the first three are logged and tolerated) or the program still runs
// after `limit`.
int WaitForSyncStop(const std::function<int()>& isRunning, std::chrono::milliseconds limit, SetupProgress* progress,
                    const SetupLogSink& log);

// The bound of the uninstaller's wait: syncbounds::kWaitForProgramEnd, unless
// $TARNWICK_SYNC_STOP_LIMIT_MS gives another (tests).
inline constexpr char kSyncStopLimitVariable[] = "TARNWICK_SYNC_STOP_LIMIT_MS";
std::chrono::milliseconds SyncStopLimit();
