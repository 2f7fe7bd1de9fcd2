#pragma once

#include "shared/data/OdbcCursor.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace data {

// A record source of either program served by an ODBC cursor: its column answers come from the
// cursor, and its rows travel as no device record.
template <typename ProgramRecordSource>
class CursorRecordSource : public ProgramRecordSource, public OdbcCursor {
 public:
  int16_t GetColumnCount() override { return ColumnCount(); }
  int32_t GetRowCount() override { return RowCount(); }
  QString GetColumnName(int16_t column) override { return ColumnName(column); }
  int16_t GetColumnType(int16_t column) override { return ColumnType(column); }
  int16_t GetColumnSize(int16_t column) override { return ColumnSize(column); }
  int16_t GetColumnDecimalDigits(int16_t column) override { return ColumnDecimalDigits(column); }
  int GetRowValues(int32_t, QByteArray*) override { return 0; }
};

}  // namespace data
