#pragma once

#include "admin/profiles/FilterEntry.h"
#include "admin/profiles/SortEntry.h"

#include <cstdint>

// A filter or sort as the item data of its list row, the same number the list's in-place
// editors read and write: bits 0-7 the joining or direction, bits 8-15 the operator, bits 16-31
// the column index.
uint32_t PackItemData(const FilterEntry& filter);
uint32_t PackItemData(const SortEntry& sort);
FilterEntry FilterEntryFromItemData(uint32_t itemData);
SortEntry SortEntryFromItemData(uint32_t itemData);
