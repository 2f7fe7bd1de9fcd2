#pragma once

#include <QString>

#include <cstdint>

// A UserFormStatus row: where a user's copy of a form stands ('' is the synced state).
struct UserFormStatusRow {
  int32_t FormID = 0;
  QString UserID;
  QString StatusFlag;
};
