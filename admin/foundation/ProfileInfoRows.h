#pragma once

#include "shared/data/ProfileRecord.h"

#include <QList>

#include <cstdint>

namespace admin { class CDatabseConnection; }

// The stored profiles, read whole from ProfileInfo on the settings connection.

// Every stored profile, in table order.
QList<ProfileRecord> ReadStoredProfiles(const admin::CDatabseConnection& settings);
// The stored profile of that number; false when no row has it.
bool ReadStoredProfile(const admin::CDatabseConnection& settings, int32_t profileId, ProfileRecord* record);
