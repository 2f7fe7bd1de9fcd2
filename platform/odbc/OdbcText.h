#pragma once

#include <sql.h>

#include <QString>

#include <type_traits>

namespace platform {

// unixODBC's SQLWCHAR is a 16-bit unit, the same UTF-16 unit as QString's.
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "SQLWCHAR must be a 16-bit unit");
static_assert(std::is_same_v<SQLWCHAR, ushort>, "SQLWCHAR must be the unit of QString::utf16()");

// The text's zero-terminated UTF-16 units as the W functions take them. ODBC declares its
// input texts non-const but never writes them; the pointer lives as long as `text` is unchanged.
inline SQLWCHAR* SqlText(const QString& text) {
  return const_cast<SQLWCHAR*>(text.utf16());
}

// `units` UTF-16 units from an ODBC buffer.
inline QString FromSqlText(const SQLWCHAR* buffer, qsizetype units) {
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), units);
}

// The zero-terminated text of an ODBC buffer of `capacity` units (never read past it).
inline QString FromSqlTextZ(const SQLWCHAR* buffer, qsizetype capacity) {
  qsizetype length = 0;
  while (length < capacity && buffer[length] != 0) ++length;
  return FromSqlText(buffer, length);
}

}  // namespace platform
