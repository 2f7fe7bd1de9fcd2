#include "sync/data/FieldValue.h"

#include "shared/data/SqlTypeKind.h"
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
  // A procedure's 64-bit result goes as its decimal text: no device kind holds 64 bits, and 32
  // would cut it.
  if (sqlType == SQL_BIGINT) return procedureResult ? ColumnKind::Numeric : ColumnKind::Unsupported;
  return data::KindOfSqlType(sqlType);
}

QString FormatOdbcDateTime(const TIMESTAMP_STRUCT& t) {
  return FormatTimestampText(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

QString RealDigestText(int16_t kind, double value) {
  return kind == ColumnKind::Float ? ShortestText(static_cast<float>(value)) : ShortestText(value);
}

}  // namespace syncservice
