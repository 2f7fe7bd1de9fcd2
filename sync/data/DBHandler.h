#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// A record source of the sync program: the rows and columns of a query, a stored-procedure
// result or a worksheet. Column and row numbers are zero-based.
class CDBHandler {
 public:
  virtual int16_t GetColumnCount() = 0;
  virtual int32_t GetRowCount() = 0;
  virtual QString GetColumnName(int16_t column) = 0;
  // The column's kind code, also the C type its values are fetched in; 0 when not supported.
  virtual int16_t GetColumnType(int16_t column) = 0;
  virtual int16_t GetColumnSize(int16_t column) = 0;
  virtual int16_t GetColumnDecimalDigits(int16_t column) = 0;
  // The value as formatted text.
  virtual QString GetFieldValue(int32_t row, int16_t column) = 0;
  // The row as a device record into `buffer`; its length, 0 when not supported.
  virtual int GetRowValues(int32_t row, QByteArray* buffer) = 0;
  virtual int MoveToRow(int32_t row) = 0;
  virtual void BindColumns() = 0;
  virtual void UnbindColumns() = 0;
  virtual ~CDBHandler() = default;
};
