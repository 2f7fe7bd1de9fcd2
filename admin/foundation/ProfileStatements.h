#pragma once

#include "shared/data/ProfileRecord.h"

#include <QString>

#include <cstdint>

namespace admin { class CDatabseConnection; }

// One UserProfileStatus row: a profile assigned to a device user.
struct ProfileStatusRecord {
  QString UserID;
  int32_t ProfileID = 0;
  QString StatusFlag;
};

// The administration program's writes of profiles into the settings database: the ProfileInfo
// row, its status rows and its deletion. Each answers 1 when done and 0 when it failed; a
// failed save shows its message box. Every text value goes into the statement with its quotes
// doubled, so it is stored exactly as given.

int SaveProfileInfo(admin::CDatabseConnection& connection, const ProfileRecord& record);
int SaveUserProfileStatus(admin::CDatabseConnection& connection, const ProfileStatusRecord& record);

// The two steps of a deletion, for callers that run them inside their own transaction: the
// status rows marked "D", and the ProfileInfo row deleted. True when done.
bool MarkProfileStatusDeleted(admin::CDatabseConnection& settings, int32_t profileId);
bool DeleteProfileInfoRow(admin::CDatabseConnection& settings, int32_t profileId);

// Marks the profile's status rows "D" (so the sync program tells the devices), deletes its
// ProfileInfo row and its next-record-index value. When the status rows cannot be marked,
// nothing is deleted and the answer is 0; a later failure is only logged. `settings` is the
// application's settings connection.
int DeleteProfile(admin::CDatabseConnection& settings, int32_t profileId);
