#pragma once

#include <QString>

#include <cstdint>

// A UserProfileStatus row: where a user's copy of a profile stands ('' is the synced state).
struct UserProfileStatusRow {
  QString UserID;
  int32_t ProfileID = 0;
  QString StatusFlag;
};
