#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace data {

// What both programs ask of a record source: the rows and columns of a query, a stored-procedure
// result or a worksheet. Column and row numbers are zero-based. Each program adds how it moves
// between rows and binds columns.
class RecordSource {
 public:
  virtual ~RecordSource() = default;

  virtual int16_t GetColumnCount() = 0;
  virtual int32_t GetRowCount() = 0;
  virtual QString GetColumnName(int16_t column) = 0;
  // The column's kind code (shared/odbc/ColumnKind.h), also the C type its values are fetched
  // in; 0 when not supported.
  virtual int16_t GetColumnType(int16_t column) = 0;
  virtual int16_t GetColumnSize(int16_t column) = 0;
  virtual int16_t GetColumnDecimalDigits(int16_t column) = 0;
  // The value as display text.
  virtual QString GetFieldValue(int32_t row, int16_t column) = 0;
  // The row as a device record into `buffer`; its length, 0 when not supported.
  virtual int GetRowValues(int32_t row, QByteArray* buffer) = 0;
};

}  // namespace data
