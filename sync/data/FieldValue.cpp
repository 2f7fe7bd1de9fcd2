#include "sync/data/FieldValue.h"

#include "shared/odbc/ColumnKind.h"
#include "shared/odbc/ValueText.h"

#include <array>
#include <charconv>

namespace syncservice {
namespace {

template <typename T>
QString ShortestText(T value) {
  std::array<char, 64> text{};
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) return {};
  return QString::fromLatin1(text.data(), end - text.data());
}

}  // namespace

int16_t MapSqlType(SQLSMALLINT sqlType, bool procedureResult) {
  switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_GUID: return ColumnKind::Text;
    case SQL_NUMERIC:
    case SQL_DECIMAL: return ColumnKind::Numeric;
    case SQL_INTEGER: return ColumnKind::Int32;
    // A procedure's 64-bit result goes as its decimal text: no device kind holds 64 bits, and
    // 32 would cut it.
    case SQL_BIGINT: return procedureResult ? ColumnKind::Numeric : ColumnKind::Unsupported;
    case SQL_SMALLINT: return ColumnKind::Int16;
    case SQL_REAL: return ColumnKind::Float;
    case SQL_FLOAT:
    case SQL_DOUBLE: return ColumnKind::Double;
    case SQL_DATE:
    case SQL_TYPE_DATE: return ColumnKind::Date;
    case SQL_TIME:
    case SQL_TYPE_TIME: return ColumnKind::Time;
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP: return ColumnKind::Timestamp;
    case SQL_TINYINT: return ColumnKind::TinyInt;
    case SQL_BIT: return ColumnKind::Bit;
    default: return ColumnKind::Unsupported;
  }
}

QString FormatOdbcDateTime(const TIMESTAMP_STRUCT& t) {
  return FormatTimestampText(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

QString RealDigestText(int16_t kind, double value) {
  return kind == ColumnKind::Float ? ShortestText(static_cast<float>(value)) : ShortestText(value);
}

}  // namespace syncservice
