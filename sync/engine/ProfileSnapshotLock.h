#pragma once

#include "sync/engine/SyncStatus.h"

#include <cstdint>

// The lock over one profile's snapshot file. Change detection and back synchronisation each
// hold it from loading the snapshot to their last rewrite of it, so neither rewrites the file
// from a stale copy. In the lock order it comes first: before the workbook lock of the profile's
// source, CHANGE_DETECT_FOR_TarnwickPLite and BACK_TRACK_CONFLICT_FOR_TarnwickPLite. Its waits
// are given up on a stop.
SyncSemaphore& ProfileSnapshotSemaphore(int32_t profileId);
