#pragma once

#include <cstdint>

// One filter of a table or view profile: indexes into the joining and operator vocabularies and
// into the page's column list.
struct FilterEntry {
  uint8_t joining = 0;  // 0 "AND", 1 "OR"; meaningless for the first filter
  uint8_t op = 0;
  int16_t column = 0;

  bool operator==(const FilterEntry&) const = default;
};
