#pragma once

#include "shared/data/WorksheetHandler.h"
#include "sync/data/DBHandler.h"
#include "sync/data/ExcelConnection.h"
#include "sync/data/RowDigest.h"

#include <QByteArrayView>
#include <QStringList>

namespace syncservice {

// One worksheet as a record source: every column text (named by its letters), every value the
// text the sheet shows; and the rows the devices add, change or delete written back. Rows and
// columns count from A1 up to the last used cell.
class CExcelHandler : public data::WorksheetHandler<CDBHandler> {
 public:
  // Sheet row `row` + 1 as a device record of text columns: a big-endian 16-bit offset per
  // column, then each value as UTF-16 units (at most 32,766 bytes) and a 16-bit zero. 0 past
  // the row count, and when a value would start beyond what a 16-bit offset reaches.
  int GetRowValues(int32_t row, QByteArray* buffer) override;
  int MoveToRow(int32_t) override { return 1; }

  // 1 when every used column of sheet row `row` + 1 is blank; `extraColumn` 1 when more blanks
  // than columns were counted. 0 past the row count.
  int IsRowEmpty(int32_t row, int* extraColumn) const;
  // The digest of sheet row `row` + 1 as ReadRecord gives it; nothing past the last row.
  void GetRowDigest(int32_t row, uint8_t digest[kRowDigestSize]) const;

  // Writes the values of a device record of text columns, unchanged, into the leading columns
  // of sheet row `sheetRow` (1-based); columns the record does not carry stay as they are.
  // 1 with the digest of the row as written; 0 with the reason in `error` and nothing written
  // for a malformed record or a workbook that cannot be saved (.xls, read-only).
  int WriteRecord(QByteArrayView record, int32_t sheetRow, uint8_t digest[kRowDigestSize], QString* error);
  // WriteRecord into the row below the last one.
  int AddRecord(QByteArrayView record, uint8_t digest[kRowDigestSize], QString* error);
  // WriteRecord into an existing row; 0 with nothing written beyond the row count.
  int UpdateRecord(QByteArrayView record, int32_t sheetRow, uint8_t digest[kRowDigestSize], QString* error);
  // Deletes sheet row `sheetRow` (1-based), the rows below move up; 0 beyond the row count or
  // when the workbook cannot be saved.
  int DeleteRecord(int32_t sheetRow);

 protected:
  // The values of sheet row `row` + 1 as the sheet shows them.
  QStringList RowTexts(int32_t row) const;

 private:
  // Whether written rows can be saved; else false with the reason.
  bool CanWrite(QString* error) const;
};

}  // namespace syncservice
