#pragma once

#include "shared/data/ProfileRecord.h"
#include "sync/data/HandlerSettingsTable.h"

// The ProfileInfo table of the settings database; a failed connect is kept in GetErrorText().
class CProfileInfoDB : public HandlerSettingsTable {
 public:
  CProfileInfoDB();

  // Row `row` of the selection; an empty record when not connected.
  ProfileRecord ReadRecord(int32_t row);
};
