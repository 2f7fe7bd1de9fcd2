#pragma once

#include "sync/engine/CdbFile.h"

#include <cstdint>

namespace syncservice { class CExcelHandler; }
namespace syncservice { class ProfileDataReader; }

// Whether the form's profile is in step with the devices: a UserProfileStatus row of its
// profile with an empty flag. Every reason for false is logged.
bool IsFormProfileProcessed(int32_t formId);

// The desktop row carrying the digest that the profile's snapshot holds for `entry`'s record:
// true with its index in `rowIndex` and the snapshot's entry copied into `entry`; false with
// `rowIndex` -1. One lookup reads the rows once; a batch builds one RecordDigestLookup.
bool FindRecordByDigest(syncservice::ProfileDataReader& reader, int32_t profileId, int32_t* rowIndex, CdbEntry* entry);
// The same over a worksheet; with `skipFirstRow` 1 the header row is never the answer.
bool FindRecordBySourceIndex(syncservice::CExcelHandler& handler, int32_t profileId, int32_t* rowIndex, CdbEntry* entry,
                             int skipFirstRow);
