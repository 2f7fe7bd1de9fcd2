#pragma once

#include <sql.h>

#include <QString>

#include <vector>

// Buffers bound to every column of a statement by the column's kind: texts and numerics as wide
// text, the other supported kinds in a small buffer of their C type, unsupported columns not at
// all. The buffers live until Unbind, or until the object goes.
class ColumnBuffers {
 public:
  static constexpr SQLLEN kTextBufferLength = 32765;

  // Binds each column; returns the return code of the last bind that failed (SQL_SUCCESS when
  // none did). Binding goes on after a failed column.
  SQLRETURN Bind(SQLHSTMT statement, const std::vector<int16_t>& kinds);
  // Unbinds every column and frees the buffers.
  void Unbind(SQLHSTMT statement);

  // The display text of column `column` of the row last fetched; empty for a column without a
  // buffer.
  QString Text(size_t column) const;
  // The number of buffers in use.
  size_t BufferCount() const;

 private:
  struct Column {
    int16_t kind = 0;
    std::vector<char> buffer;
    SQLLEN bufferLength = 0;
    SQLLEN indicator = SQL_NULL_DATA;
  };
  std::vector<Column> m_columns;
};
