#pragma once

#include <QString>

#include <cstdint>

// The registry values the sync program writes: the next record index of each profile (the stop
// switch it polls is read through shared/contract/SyncServiceStatus.h).

// Hands out the profile's next `count` record indexes, answering the first, and stores the one
// after them, in one step under the registry's lock (the administration program writes these
// values too). -1 when the RI key does not open, -2 when the profile has no index, -3 when the
// registry cannot be read or written.
int32_t AllocateNextRecIndex(int32_t profileId, int32_t count = 1);

// Stores `value` as the profile's next record index; false when it cannot be stored.
bool SetNextRecIndex(int32_t profileId, int32_t value);

// Allocates an index for a record of `recordSource`; the key "source#index", or an empty text
// when the allocation gave 0.
QString NewRecordKey(int32_t profileId, int32_t recordSource, int32_t* recordIndex);
