#pragma once

#include "sync/data/StatusSettingsTable.h"
#include "sync/data/UserProfileStatusRow.h"

// The UserProfileStatus table of the settings database, its flags keyed by ProfileID.
class CUserProfileStatusTable : public StatusSettingsTable {
 public:
  CUserProfileStatusTable();

  // Row `row` of the selection; an empty row when not connected.
  UserProfileStatusRow ReadRecord(int32_t row);
};
