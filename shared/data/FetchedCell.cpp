#include "shared/data/FetchedCell.h"

#include "shared/odbc/ColumnKind.h"
#include "shared/odbc/ValueText.h"

#include <sqlext.h>

#include <algorithm>
#include <cstring>

namespace data {
namespace {

template <typename T>
T Read(const char* data) {
  T value{};
  std::memcpy(&value, data, sizeof(T));
  return value;
}

devicerecord::Timestamp TimestampOf(int16_t kind, const char* data) {
  using devicerecord::Timestamp;
  if (kind == ColumnKind::Date) {
    const auto d = Read<DATE_STRUCT>(data);
    return Timestamp::Of(d.year, d.month, d.day);
  }
  if (kind == ColumnKind::Time) {
    const auto t = Read<TIME_STRUCT>(data);
    return Timestamp::Of(1899, 12, 30, t.hour, t.minute, t.second);
  }
  const auto t = Read<TIMESTAMP_STRUCT>(data);
  return Timestamp::Of(t.year, t.month, t.day, t.hour, t.minute, t.second, t.fraction);
}

}  // namespace

devicerecord::Value FetchedCell::Value() const {
  using devicerecord::Value;
  if (data == nullptr || length == SQL_NULL_DATA) return Value::Null(kind);
  switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::Numeric:
      return Value::OfText(kind, QString::fromUtf16(reinterpret_cast<const char16_t*>(data), std::max<SQLLEN>(length, 0) / 2));
    case ColumnKind::Int32: return Value::OfInteger(kind, Read<int32_t>(data));
    case ColumnKind::Int16: return Value::OfInteger(kind, Read<int16_t>(data));
    case ColumnKind::Float: return Value::OfReal(kind, Read<float>(data));
    case ColumnKind::Double: return Value::OfReal(kind, Read<double>(data));
    case ColumnKind::Date:
    case ColumnKind::Time:
    case ColumnKind::Timestamp: return Value::OfTimestamp(kind, TimestampOf(kind, data));
    default: return Value::OfInteger(kind, Read<uint8_t>(data));
  }
}

QString FetchedCell::DisplayText() const {
  if (data == nullptr) return {};
  return FormatFieldValue(data, capacity, length, kind);
}

}  // namespace data
