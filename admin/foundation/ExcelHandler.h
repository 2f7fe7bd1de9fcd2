#pragma once

#include "admin/foundation/DBHandler.h"
#include "admin/foundation/ExcelConnection.h"

// One worksheet as a record source: every column text (named by its letters), every value the
// text the sheet shows. Rows and columns count from A1 up to the last used cell.
class CExcelHandler : public CDBHandler {
 public:
  static constexpr int16_t kColumnSize = 32766;

  int16_t GetColumnCount() override { return m_nColumnCount; }
  int32_t GetRowCount() override { return m_nRowCount; }
  QString GetColumnName(int16_t column) override;
  int16_t GetColumnType(int16_t) override { return 1; }
  int16_t GetColumnSize(int16_t) override { return kColumnSize; }
  int16_t GetColumnDecimalDigits(int16_t) override { return 0; }
  QString GetFieldValue(int32_t row, int16_t column) override;
  // The row as a device record of text columns: a big-endian 16-bit offset per column, then
  // each value as UTF-16LE units (at most 32,766) and a 16-bit zero. 0 past the row count, and
  // 0 ("not supported") when a value would start beyond what a 16-bit offset reaches.
  int GetRowValues(int32_t row, QByteArray* buffer) override;
  bool MoveToRow(int32_t) override { return true; }
  bool FetchNext(int32_t) override { return true; }
  void BindColumns() override {}
  void UnbindColumns() override {}

  // 1 when a worksheet of exactly that name exists and the handler is attached to it.
  int OpenWorksheet(const ExcelWorksheetsDriver& worksheets, const QString& name);
  // A row is empty when every used column of it is blank; `extraColumn` tells that more blanks
  // than columns were counted. False past the row count.
  bool IsRowEmpty(int32_t row, bool* extraColumn);
  // Deletes the sheet row; the rows below move up. False past the row count.
  bool DeleteRow(int32_t row);

 private:
  void LoadUsedRange();

  ExcelWorksheetsDriver m_workbook;
  platform::Worksheet* m_sheet = nullptr;
  int16_t m_nColumnCount = 0;
  int32_t m_nRowCount = 0;
  bool m_bAttached = false;
};
