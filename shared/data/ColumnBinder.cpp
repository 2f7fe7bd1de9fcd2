#include "shared/data/ColumnBinder.h"

#include "shared/odbc/ColumnKind.h"
#include "shared/odbc/QueryResult.h"
#include "shared/odbc/ValueText.h"

#include <sqlext.h>

#include <algorithm>
#include <cstring>

namespace data {
namespace {

constexpr size_t kFixedBufferBytes = 40;
constexpr SQLLEN kFixedBindLength = 20;

bool IsText(int16_t kind) { return kind == ColumnKind::Text || kind == ColumnKind::Numeric; }

template <typename T>
SQLLEN Write(std::vector<char>* buffer, T value) {
  std::memcpy(buffer->data(), &value, sizeof(T));
  return static_cast<SQLLEN>(sizeof(T));
}

QString StoredText(const devicerecord::Value& value) {
  return value.kind == ColumnKind::Numeric ? NormaliseDecimalText(value.text) : value.text;
}

}  // namespace

SQLRETURN ColumnBinder::Bind(SQLHSTMT statement, const std::vector<int16_t>& kinds) {
  Unbind(statement);
  m_columns.resize(kinds.size());
  SQLRETURN lastFailure = SQL_SUCCESS;
  for (size_t i = 0; i < kinds.size(); ++i) {
    Column& column = m_columns[i];
    column.kind = kinds[i];
    if (column.kind == ColumnKind::Unsupported) continue;
    const bool text = IsText(column.kind);
    column.bufferLength = text ? kTextBindLength : kFixedBindLength;
    column.buffer.assign(text ? static_cast<size_t>(2 * kTextBindLength + 2) : kFixedBufferBytes, 0);
    const SQLRETURN result = SQLBindCol(statement, static_cast<SQLUSMALLINT>(i + 1), CTypeOfKind(column.kind),
                                        column.buffer.data(), column.bufferLength, &column.indicator);
    if (!SQL_SUCCEEDED(result)) lastFailure = result;
  }
  return lastFailure;
}

void ColumnBinder::Unbind(SQLHSTMT statement) {
  if (statement != SQL_NULL_HSTMT && !m_columns.empty()) SQLFreeStmt(statement, SQL_UNBIND);
  m_columns.clear();
}

size_t ColumnBinder::BufferCount() const {
  return static_cast<size_t>(
      std::count_if(m_columns.begin(), m_columns.end(), [](const Column& column) { return !column.buffer.empty(); }));
}

SQLLEN ColumnBinder::HeldLength(const Column& column) const {
  if (!IsText(column.kind)) return column.indicator;
  return WrittenLength(column.indicator, column.bufferLength, 2);
}

FetchedCell ColumnBinder::Cell(const Column& column) const {
  return {column.kind, HeldLength(column), column.buffer.empty() ? nullptr : column.buffer.data(), column.bufferLength};
}

devicerecord::Value ColumnBinder::Value(size_t column) const {
  if (column >= m_columns.size()) return devicerecord::Value{};
  return Cell(m_columns[column]).Value();
}

QString ColumnBinder::DisplayText(size_t column) const {
  if (column >= m_columns.size()) return {};
  return Cell(m_columns[column]).DisplayText();
}

QStringList ColumnBinder::DisplayTexts() const {
  QStringList texts;
  for (const Column& column : m_columns) texts.append(Cell(column).DisplayText());
  return texts;
}

void ColumnBinder::Capture(FetchedRow* row) const {
  row->Clear();
  for (const Column& column : m_columns) {
    if (!column.buffer.empty()) row->Append(Cell(column));
  }
}

bool ColumnBinder::Fits(size_t column, const devicerecord::Value& value) const {
  if (column >= m_columns.size() || m_columns[column].buffer.empty()) return false;
  if (!IsText(m_columns[column].kind) || value.isNull) return true;
  return 2 * StoredText(value).size() + 2 <= m_columns[column].bufferLength;
}

void ColumnBinder::Store(size_t column, const devicerecord::Value& value) {
  Column& bound = m_columns[column];
  if (value.isNull) {
    bound.indicator = SQL_NULL_DATA;
    return;
  }
  const devicerecord::Timestamp& t = value.timestamp;
  switch (bound.kind) {
    case ColumnKind::Text:
    case ColumnKind::Numeric: {
      const QString text = StoredText(value);
      std::memcpy(bound.buffer.data(), text.utf16(), static_cast<size_t>(2 * text.size()));
      bound.buffer[static_cast<size_t>(2 * text.size())] = 0;
      bound.buffer[static_cast<size_t>(2 * text.size() + 1)] = 0;
      bound.indicator = 2 * text.size();
      break;
    }
    case ColumnKind::Int32: bound.indicator = Write(&bound.buffer, value.integer); break;
    case ColumnKind::Int16: bound.indicator = Write(&bound.buffer, static_cast<int16_t>(value.integer)); break;
    case ColumnKind::Float: bound.indicator = Write(&bound.buffer, static_cast<float>(value.real)); break;
    case ColumnKind::Double: bound.indicator = Write(&bound.buffer, value.real); break;
    case ColumnKind::Date: bound.indicator = Write(&bound.buffer, DATE_STRUCT{t.year, t.month, t.day}); break;
    case ColumnKind::Time: bound.indicator = Write(&bound.buffer, TIME_STRUCT{t.hour, t.minute, t.second}); break;
    case ColumnKind::Timestamp:
      bound.indicator =
          Write(&bound.buffer, TIMESTAMP_STRUCT{t.year, t.month, t.day, t.hour, t.minute, t.second, t.fraction});
      break;
    default: bound.indicator = Write(&bound.buffer, static_cast<uint8_t>(value.integer)); break;
  }
}

bool ColumnBinder::HoldsWhole(size_t column) const {
  if (column >= m_columns.size()) return false;
  const Column& bound = m_columns[column];
  return !IsText(bound.kind) || bound.indicator == SQL_NULL_DATA ||
         (bound.indicator != SQL_NO_TOTAL && bound.indicator <= bound.bufferLength - 2);
}

size_t ColumnBinder::ResultColumn(size_t supported) const {
  size_t seen = 0;
  for (size_t i = 0; i < m_columns.size(); ++i) {
    if (m_columns[i].buffer.empty()) continue;
    if (seen++ == supported) return i;
  }
  return m_columns.size();
}

QList<devicerecord::Value> ColumnBinder::Values() const {
  FetchedRow row;
  Capture(&row);
  return row.Values();
}

}  // namespace data
