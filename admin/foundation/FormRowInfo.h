#pragma once

#include <QString>

#include <cstdint>

// One FormInfo row (the number is the ProfileID, the title the FormTitle, the text the
// form-level text) or one FormDetails row (the number is the TabID, the title the TabTitle, the
// text the tab's text).
struct FormRowInfo {
  int32_t FormID = 0;
  int32_t Number = 0;
  QString Title;
  QString Text;
};
