#pragma once

#include "shared/data/ProfileRecord.h"

#include <cstdint>
#include <optional>

namespace syncservice { class ProfileDataReader; }

// The ProfileInfo row of `profileId`; nothing when there is none. A table that is not connected
// logs its error text with `connectCode`, a failed selection with `selectCode`.
std::optional<ProfileRecord> ReadProfileRecord(int32_t profileId, int connectCode, int selectCode);

// Opens the profile's source in `reader` and runs its query, preparing a workbook that is read
// through a working copy first; false when that fails (logged with `openCode` or `queryCode`;
// the workbook preparation logs its own lines).
bool OpenProfileForSending(const ProfileRecord& record, syncservice::ProfileDataReader* reader, int openCode, int queryCode);
