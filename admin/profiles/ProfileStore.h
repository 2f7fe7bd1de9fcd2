#pragma once

#include "shared/data/ProfileRecord.h"

#include <QString>

namespace admin { class CDatabseConnection; }

// Finish of both profile pages: the profile written into the settings database as one unit.
//
// A new profile takes a number no ProfileInfo or UserProfileStatus row holds, the counter
// NextProfileID written past it first; then the ProfileInfo row and one "A" status row per user
// of the user list, and its next record index (RI) set to 1, all before the commit. An edited
// profile keeps its number: its status rows become "D", its row is replaced and "A" rows follow,
// and RI is set to 1 after the commit. Any failure rolls everything back and leaves the stored
// profile as it was. Every refusal and failure is shown and logged here.

enum class ProfileStoreMode { kNew, kEdit };

struct ProfileStoreRequest {
  ProfileStoreMode mode = ProfileStoreMode::kNew;
  // The default device user; without one the status rows would name no device.
  QString defaultUserId;
};

// The longest Query, FiltersInfo or SortColumnsInfo the settings database keeps whole.
inline constexpr qsizetype kLongestProfileText = 6144;

// `record` is the page's filled record; UserList, SyncDestination, IsPrimaryKeySelected and (new
// profile) ProfileID are set here. True when the profile is stored.
bool CreateTableProfile(admin::CDatabseConnection& settings, const ProfileStoreRequest& request, ProfileRecord* record);
bool CreateProcedureProfile(admin::CDatabseConnection& settings, const ProfileStoreRequest& request, ProfileRecord* record);
