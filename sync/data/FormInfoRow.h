#pragma once

#include <QString>

#include <cstdint>

// A FormInfo row: a form of a profile and its layout text.
struct FormInfoRow {
  int32_t FormID = 0;
  int32_t ProfileID = 0;
  QString FormTitle;
  QString FormInfo;
};
