#pragma once

#include "sync/data/StatusSettingsTable.h"
#include "sync/data/UserFormStatusRow.h"

// The UserFormStatus table of the settings database, its flags keyed by FormID.
class CUserFormStatusTable : public StatusSettingsTable {
 public:
  CUserFormStatusTable();

  // Row `row` of the selection; an empty row when not connected.
  UserFormStatusRow ReadRecord(int32_t row);
};
