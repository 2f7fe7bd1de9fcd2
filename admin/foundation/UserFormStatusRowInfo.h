#pragma once

#include <QString>

#include <cstdint>

// One UserFormStatus row: which device user is to hear of the form, and how.
struct UserFormStatusRowInfo {
  int32_t FormID = 0;
  QString UserID;
  QString StatusFlag;
};
