#include "admin/foundation/ColumnBuffers.h"

#include "admin/foundation/FieldFormat.h"
#include "admin/foundation/SqlTypes.h"

#include <sqlext.h>

namespace {

constexpr SQLLEN kFixedBufferLength = 20;

}  // namespace

SQLRETURN ColumnBuffers::Bind(SQLHSTMT statement, const std::vector<int16_t>& kinds) {
  Unbind(statement);
  m_columns.resize(kinds.size());
  SQLRETURN lastFailure = SQL_SUCCESS;
  for (size_t i = 0; i < kinds.size(); ++i) {
    Column& column = m_columns[i];
    column.kind = kinds[i];
    if (column.kind == ColumnKind::Unsupported) continue;
    const bool text = CTypeOfKind(column.kind) == SQL_C_WCHAR;
    column.bufferLength = text ? kTextBufferLength : kFixedBufferLength;
    column.buffer.assign(static_cast<size_t>(column.bufferLength) + 1, 0);
    const SQLRETURN result = SQLBindCol(statement, static_cast<SQLUSMALLINT>(i + 1), CTypeOfKind(column.kind),
                                        column.buffer.data(), column.bufferLength, &column.indicator);
    if (!SQL_SUCCEEDED(result)) lastFailure = result;
  }
  return lastFailure;
}

void ColumnBuffers::Unbind(SQLHSTMT statement) {
  if (statement != SQL_NULL_HSTMT && !m_columns.empty()) SQLFreeStmt(statement, SQL_UNBIND);
  m_columns.clear();
}

QString ColumnBuffers::Text(size_t column) const {
  if (column >= m_columns.size() || m_columns[column].buffer.empty()) return {};
  const Column& bound = m_columns[column];
  SQLLEN length = bound.indicator;
  if (CTypeOfKind(bound.kind) == SQL_C_WCHAR && length != SQL_NULL_DATA) {
    // A text cut to the buffer: the units that fit before its terminator.
    const SQLLEN limit = (bound.bufferLength / 2 - 1) * 2;
    if (length == SQL_NO_TOTAL || length > limit) length = limit;
  }
  return FormatFieldValue(bound.buffer.data(), static_cast<qsizetype>(bound.bufferLength), length, bound.kind);
}

size_t ColumnBuffers::BufferCount() const {
  size_t count = 0;
  for (const Column& column : m_columns) count += column.buffer.empty() ? 0 : 1;
  return count;
}
