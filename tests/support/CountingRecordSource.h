#pragma once

#include "admin/foundation/DBHandler.h"
#include "shared/odbc/ColumnKind.h"

#include <set>

namespace testsupport {

// A record source of any size that makes up its values ("r<row>c<column>"), counts what is
// read, and can refuse to move to one row.
class CountingRecordSource : public admin::CDBHandler {
 public:
  CountingRecordSource(int16_t columns, int32_t rows, int32_t failingRow = -1)
      : columns_(columns), rows_(rows), failingRow_(failingRow) {}

  int16_t GetColumnCount() override { return columns_; }
  int32_t GetRowCount() override { return rows_; }
  QString GetColumnName(int16_t column) override { return QStringLiteral("col%1").arg(column); }
  // Column 0 holds text, the others numbers.
  int16_t GetColumnType(int16_t column) override {
    return column == 0 ? ColumnKind::Text : column < columns_ ? ColumnKind::Int32 : int16_t{0};
  }
  int16_t GetColumnSize(int16_t) override { return 10; }
  int16_t GetColumnDecimalDigits(int16_t) override { return 0; }
  QString GetFieldValue(int32_t row, int16_t column) override {
    ++valuesRead;
    rowsRead.insert(row);
    return current_ == row ? QStringLiteral("r%1c%2").arg(row).arg(column) : QStringLiteral("stale");
  }
  int GetRowValues(int32_t, QByteArray*) override { return 0; }
  bool MoveToRow(int32_t row) override {
    if (row < 0 || row >= rows_ || row == failingRow_) return false;
    current_ = row;
    return true;
  }
  bool FetchNext(int32_t row) override { return MoveToRow(row); }
  void BindColumns() override {}
  void UnbindColumns() override {}

  int valuesRead = 0;
  std::set<int32_t> rowsRead;

 private:
  int16_t columns_;
  int32_t rows_;
  int32_t failingRow_;
  int32_t current_ = -1;
};

}  // namespace testsupport
