#include "sync/data/BoundColumns.h"

#include "shared/odbc/ColumnKind.h"
#include "shared/odbc/QueryResult.h"
#include "shared/odbc/ValueText.h"
#include "sync/data/FieldValue.h"
#include "sync/data/RowDigest.h"

#include <sqlext.h>

#include <cstring>

namespace syncservice {
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

template <typename T>
T Read(const std::vector<char>& buffer) {
  T value{};
  std::memcpy(&value, buffer.data(), sizeof(T));
  return value;
}

devicerecord::Timestamp TimestampOf(int16_t kind, const std::vector<char>& buffer) {
  using devicerecord::Timestamp;
  if (kind == ColumnKind::Date) {
    const auto d = Read<DATE_STRUCT>(buffer);
    return Timestamp::Of(d.year, d.month, d.day);
  }
  if (kind == ColumnKind::Time) {
    const auto t = Read<TIME_STRUCT>(buffer);
    return Timestamp::Of(1899, 12, 30, t.hour, t.minute, t.second);
  }
  const auto t = Read<TIMESTAMP_STRUCT>(buffer);
  return Timestamp::Of(t.year, t.month, t.day, t.hour, t.minute, t.second, t.fraction);
}

}  // namespace

SQLRETURN BoundColumns::Bind(SQLHSTMT statement, const std::vector<int16_t>& kinds) {
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

void BoundColumns::Unbind(SQLHSTMT statement) {
  if (statement != SQL_NULL_HSTMT && !m_columns.empty()) SQLFreeStmt(statement, SQL_UNBIND);
  m_columns.clear();
}

SQLLEN BoundColumns::HeldLength(const Column& column) const {
  if (!IsText(column.kind)) return column.indicator;
  return WrittenLength(column.indicator, column.bufferLength, 2);
}

devicerecord::Value BoundColumns::Value(size_t column) const {
  if (column >= m_columns.size()) return devicerecord::Value{};
  const Column& bound = m_columns[column];
  const SQLLEN length = HeldLength(bound);
  if (bound.buffer.empty() || length == SQL_NULL_DATA) return devicerecord::Value::Null(bound.kind);
  using devicerecord::Value;
  switch (bound.kind) {
    case ColumnKind::Text:
    case ColumnKind::Numeric:
      return Value::OfText(bound.kind, QString::fromUtf16(reinterpret_cast<const char16_t*>(bound.buffer.data()),
                                                          std::max<SQLLEN>(length, 0) / 2));
    case ColumnKind::Int32: return Value::OfInteger(bound.kind, Read<int32_t>(bound.buffer));
    case ColumnKind::Int16: return Value::OfInteger(bound.kind, Read<int16_t>(bound.buffer));
    case ColumnKind::Float: return Value::OfReal(bound.kind, Read<float>(bound.buffer));
    case ColumnKind::Double: return Value::OfReal(bound.kind, Read<double>(bound.buffer));
    case ColumnKind::Date:
    case ColumnKind::Time:
    case ColumnKind::Timestamp: return Value::OfTimestamp(bound.kind, TimestampOf(bound.kind, bound.buffer));
    default: return Value::OfInteger(bound.kind, Read<uint8_t>(bound.buffer));
  }
}

QString BoundColumns::DisplayText(size_t column) const {
  if (column >= m_columns.size() || m_columns[column].buffer.empty()) return {};
  const Column& bound = m_columns[column];
  return FormatFieldValue(bound.kind, HeldLength(bound), bound.buffer.data(), bound.bufferLength);
}

QString BoundColumns::DigestText(size_t column) const { return DigestText(column, Value(column)); }

QString BoundColumns::DigestText(size_t column, const devicerecord::Value& value) const {
  // Real values and NULLs have digest texts of their own: their display text is not made.
  const bool ownText = value.isNull || value.kind == ColumnKind::Float || value.kind == ColumnKind::Double;
  return syncservice::DigestText(value, ownText ? QString() : DisplayText(column));
}

bool BoundColumns::Fits(size_t column, const devicerecord::Value& value) const {
  if (column >= m_columns.size() || m_columns[column].buffer.empty()) return false;
  if (!IsText(m_columns[column].kind) || value.isNull) return true;
  return 2 * StoredText(value).size() + 2 <= m_columns[column].bufferLength;
}

void BoundColumns::Store(size_t column, const devicerecord::Value& value) {
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

bool BoundColumns::HoldsWhole(size_t column) const {
  if (column >= m_columns.size()) return false;
  const Column& bound = m_columns[column];
  return !IsText(bound.kind) || bound.indicator == SQL_NULL_DATA ||
         (bound.indicator != SQL_NO_TOTAL && bound.indicator <= bound.bufferLength - 2);
}

size_t BoundColumns::ResultColumn(size_t supported) const {
  size_t seen = 0;
  for (size_t i = 0; i < m_columns.size(); ++i) {
    if (m_columns[i].buffer.empty()) continue;
    if (seen++ == supported) return i;
  }
  return m_columns.size();
}

QList<devicerecord::Value> BoundColumns::Values() const {
  QList<devicerecord::Value> values;
  for (size_t i = 0; i < m_columns.size(); ++i) {
    if (!m_columns[i].buffer.empty()) values.append(Value(i));
  }
  return values;
}

QString BoundColumns::RowText() const { return RowText(Values()); }

QString BoundColumns::RowText(const QList<devicerecord::Value>& values) const {
  QStringList texts;
  texts.reserve(values.size());
  qsizetype supported = 0;
  for (size_t i = 0; i < m_columns.size(); ++i) {
    if (!m_columns[i].buffer.empty()) texts.append(DigestText(i, values.at(supported++)));
  }
  return MakeRowText(texts);
}

}  // namespace syncservice
