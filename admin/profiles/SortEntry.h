#pragma once

#include <cstdint>

// One sort column of a table or view profile.
struct SortEntry {
  uint8_t direction = 0;  // 0 ascending, any other value descending
  int16_t column = 0;     // index into the page's column list

  bool operator==(const SortEntry&) const = default;
};
