#pragma once

#include <sql.h>

#include <cstdint>

// The column kind codes of both programs' record sources. A kind is mapped from the SQL data
// type a driver reports and names at the same time the C type in which the value is fetched.
namespace ColumnKind {
inline constexpr int16_t Unsupported = 0;
inline constexpr int16_t Text = 1;
inline constexpr int16_t Numeric = 2;  // read as text
inline constexpr int16_t Int32 = 4;
inline constexpr int16_t Int16 = 5;
inline constexpr int16_t Float = 7;
inline constexpr int16_t Double = 8;
inline constexpr int16_t Date = 9;
inline constexpr int16_t Time = 10;
inline constexpr int16_t Timestamp = 93;
inline constexpr int16_t TinyInt = -6;   // shown unsigned
inline constexpr int16_t Bit = -7;
inline constexpr int16_t SignedTinyInt = -26;
inline constexpr int16_t UInt32 = -18;
inline constexpr int16_t UInt16 = -17;
// A 64-bit integer, read as its decimal text by the administration program's record sources.
// The synchronisation program does not send it, so it is no supported type (IsSupportedSqlType).
inline constexpr int16_t BigInt = -5;
}  // namespace ColumnKind

// The ODBC C type in which a value of `kind` is fetched.
SQLSMALLINT CTypeOfKind(int16_t kind);

// Column sizes above 32,767 are kept as 32,766.
int16_t CapColumnSize(SQLULEN size);
