#pragma once

#include "shared/data/SharedWorkbook.h"
#include "shared/data/WorksheetRows.h"

#include <QString>

#include <cstdint>

namespace data {

// One worksheet as a record source of either program: `RecordSource` is that program's record
// source interface, whose column and value functions this answers from the sheet. Every column is
// text, named by its letters.
template <class RecordSource>
class WorksheetHandler : public RecordSource {
 public:
  static constexpr int16_t kColumnSize = 32766;
  // The kind code of a text column.
  static constexpr int16_t kTextColumnType = 1;

  int16_t GetColumnCount() override { return m_rows.ColumnCount(); }
  int32_t GetRowCount() override { return m_rows.RowCount(); }
  QString GetColumnName(int16_t column) override { return WorksheetRows::ColumnName(column); }
  int16_t GetColumnType(int16_t) override { return kTextColumnType; }
  int16_t GetColumnSize(int16_t) override { return kColumnSize; }
  int16_t GetColumnDecimalDigits(int16_t) override { return 0; }
  QString GetFieldValue(int32_t row, int16_t column) override { return m_rows.CellText(row, column); }
  // A worksheet has no column buffers.
  void BindColumns() override {}
  void UnbindColumns() override {}

  // 1 when a worksheet of exactly that name exists and the handler is attached to it, else 0.
  int OpenWorksheet(const SharedWorkbook& workbook, const QString& name) {
    return m_rows.Attach(workbook, name) ? 1 : 0;
  }

 protected:
  WorksheetRows& Rows() { return m_rows; }
  const WorksheetRows& Rows() const { return m_rows; }

 private:
  WorksheetRows m_rows;
};

}  // namespace data
