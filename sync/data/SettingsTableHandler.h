#pragma once

#include "sync/data/DatabaseHandler.h"

// The record source of a settings table: its texts (form layouts, queries) are read whole, where
// a source's value texts stop at the length a device record carries.
class SettingsTableHandler : public syncservice::CDatabaseHandler {
 public:
  // The current row's value of `column` as text; empty when closed or out of range.
  QString GetWholeText(int16_t column);
};
