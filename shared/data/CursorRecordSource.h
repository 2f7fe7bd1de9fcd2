#pragma once

#include "shared/data/OdbcCursor.h"

#include <QString>

#include <cstdint>

namespace data {

// A record source of either program whose column answers come from an ODBC cursor: the two
// programs' record-source interfaces differ in their row functions, not in these.
template <typename RecordSource>
class CursorColumns : public RecordSource, public OdbcCursor {
 public:
  int16_t GetColumnCount() override { return ColumnCount(); }
  int32_t GetRowCount() override { return RowCount(); }
  QString GetColumnName(int16_t column) override { return ColumnName(column); }
  int16_t GetColumnType(int16_t column) override { return ColumnType(column); }
  int16_t GetColumnSize(int16_t column) override { return ColumnSize(column); }
  int16_t GetColumnDecimalDigits(int16_t column) override { return ColumnDecimalDigits(column); }
};

}  // namespace data
