#pragma once

#include <sql.h>

#include <cstdint>

namespace data {

// The column kind both programs give a column whose driver reports the standard SQL type
// `sqlType`: texts and GUIDs, decimals, 32- and 16-bit integers, reals, dates and times, tiny
// integers and bits. Unsupported for any other type, BIGINT among them, which each program maps
// its own way.
int16_t KindOfSqlType(SQLSMALLINT sqlType);

}  // namespace data
