#pragma once

#include <QString>

#include <cstdint>

// A FormDetails row: one tab of a form and its layout text.
struct FormDetailsRow {
  int32_t FormID = 0;
  int32_t TabID = 0;
  QString TabTitle;
  QString TabFormInfo;
};
