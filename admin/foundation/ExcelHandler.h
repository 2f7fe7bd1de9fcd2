#pragma once

#include "admin/foundation/DBHandler.h"
#include "admin/foundation/ExcelConnection.h"
#include "shared/data/WorksheetHandler.h"

namespace admin {

// One worksheet as a record source: every column text (named by its letters), every value the
// text the sheet shows. Rows and columns count from A1 up to the last used cell.
class CExcelHandler : public data::WorksheetHandler<CDBHandler> {
 public:
  // The row as a device record of text columns: a big-endian 16-bit offset per column, then
  // each value as UTF-16LE units (at most 32,766) and a 16-bit zero. 0 past the row count, and
  // 0 ("not supported") when a value would start beyond what a 16-bit offset reaches.
  int GetRowValues(int32_t row, QByteArray* buffer) override { return Rows().EncodeRow(row, kColumnSize, buffer); }
  bool MoveToRow(int32_t) override { return true; }
  bool FetchNext(int32_t) override { return true; }

  // A row is empty when every used column of it is blank; `extraColumn` tells that more blanks
  // than columns were counted. False past the row count.
  bool IsRowEmpty(int32_t row, bool* extraColumn) const { return Rows().IsRowEmpty(row, extraColumn); }
  // Deletes the sheet row; the rows below move up. False past the row count.
  bool DeleteRow(int32_t row) { return Rows().DeleteRow(row); }
};

}  // namespace admin
