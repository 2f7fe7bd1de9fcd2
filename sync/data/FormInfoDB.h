#pragma once

#include "sync/data/FormInfoRow.h"
#include "sync/data/HandlerSettingsTable.h"

// The FormInfo table of the settings database; a failed connect is kept in GetErrorText().
class CFormInfoDB : public HandlerSettingsTable {
 public:
  CFormInfoDB();

  // Row `row` of the selection; an empty row when not connected.
  FormInfoRow ReadRecord(int32_t row);
};
