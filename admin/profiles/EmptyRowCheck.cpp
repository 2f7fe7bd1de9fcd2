#include "admin/profiles/EmptyRowCheck.h"

#include "admin/foundation/DBHandler.h"

bool HasEmptyRow(admin::CDBHandler& rows) {
  const int16_t columns = rows.GetColumnCount();
  if (columns == 0) return false;
  for (int32_t row = 0; row < rows.GetRowCount(); ++row) {
    bool empty = true;
    for (int16_t column = 0; column < columns && empty; ++column) empty = rows.GetFieldValue(row, column).isEmpty();
    if (empty) return true;
  }
  return false;
}
