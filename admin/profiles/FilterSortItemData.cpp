#include "admin/profiles/FilterSortItemData.h"

namespace {

constexpr int kOperatorShift = 8;
constexpr int kColumnShift = 16;

uint32_t ColumnBits(int16_t column) { return static_cast<uint32_t>(static_cast<uint16_t>(column)) << kColumnShift; }
int16_t ColumnOf(uint32_t itemData) { return static_cast<int16_t>(static_cast<uint16_t>(itemData >> kColumnShift)); }

}  // namespace

uint32_t PackItemData(const FilterEntry& filter) {
  return filter.joining | static_cast<uint32_t>(filter.op) << kOperatorShift | ColumnBits(filter.column);
}

uint32_t PackItemData(const SortEntry& sort) { return sort.direction | ColumnBits(sort.column); }

FilterEntry FilterEntryFromItemData(uint32_t itemData) {
  return FilterEntry{static_cast<uint8_t>(itemData & 0xFFu), static_cast<uint8_t>((itemData >> kOperatorShift) & 0xFFu),
                     ColumnOf(itemData)};
}

SortEntry SortEntryFromItemData(uint32_t itemData) {
  return SortEntry{static_cast<uint8_t>(itemData & 0xFFu), ColumnOf(itemData)};
}
