#pragma once

#include "shared/data/FetchedRow.h"
#include "shared/devicerecord/DeviceRecord.h"

#include <sql.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace data {

// Buffers bound to the supported columns of a statement: texts and decimals as wide text of up
// to 32,765 bytes, every other supported kind in a small buffer of its C type; unsupported
// columns stay unbound. Values are read no further than each buffer, whatever length the driver
// reports for a longer value. The buffers live until Unbind, or until the object goes.
class ColumnBinder {
 public:
  static constexpr SQLLEN kTextBindLength = 32765;

  // Binds each supported column of `kinds`; the result of the last bind that failed, else
  // SQL_SUCCESS. Binding goes on after a failed column.
  SQLRETURN Bind(SQLHSTMT statement, const std::vector<int16_t>& kinds);
  // Unbinds every column and frees the buffers.
  void Unbind(SQLHSTMT statement);
  bool IsBound() const { return !m_columns.empty(); }
  // The number of buffers in use.
  size_t BufferCount() const;

  // The row last fetched: each supported column's value and display text (empty for a column
  // without a buffer).
  devicerecord::Value Value(size_t column) const;
  QString DisplayText(size_t column) const;
  // The display texts of every column, in column order.
  QStringList DisplayTexts() const;

  // For a positioned update: whether `value` fits column `column`'s buffer, storing it there,
  // and whether the fetched value lies whole in the buffer.
  bool Fits(size_t column, const devicerecord::Value& value) const;
  void Store(size_t column, const devicerecord::Value& value);
  bool HoldsWhole(size_t column) const;
  // The result column of the `supported`-th supported column.
  size_t ResultColumn(size_t supported) const;

  // The supported columns' values in column order.
  QList<devicerecord::Value> Values() const;
  // The supported columns' values copied out, to outlive the next fetch.
  void Capture(FetchedRow* row) const;

 private:
  struct Column {
    int16_t kind = 0;
    std::vector<char> buffer;
    SQLLEN bufferLength = 0;
    SQLLEN indicator = SQL_NULL_DATA;
  };
  FetchedCell Cell(const Column& column) const;
  // The bytes of the value the buffer holds; SQL_NULL_DATA for NULL.
  SQLLEN HeldLength(const Column& column) const;

  std::vector<Column> m_columns;
};

}  // namespace data
