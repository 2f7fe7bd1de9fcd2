#pragma once

#include "shared/devicerecord/DeviceRecord.h"

#include <sql.h>
#include <sqlext.h>

#include <QString>

#include <cstdint>

// The sync program's column kinds and value texts.
namespace syncservice {

// The kind of a column whose driver reports `sqlType`. BIGINT is a numeric column (its decimal
// text) of a stored-procedure result and an unsupported column of a table or view.
int16_t MapSqlType(SQLSMALLINT sqlType, bool procedureResult);

// "%d/%d/%d" for midnight, else with a 12-hour time; the time alone on 1899-12-30 or an all-zero
// date; the empty text for 1899-12-30 00:00:00.
QString FormatOdbcDateTime(const TIMESTAMP_STRUCT& timestamp);

// The text of a REAL (ColumnKind::Float, `value` read as a float) or FLOAT value in the row text
// that names a row by its digest: the shortest text that reads back to the same value, so that
// a change in any digit changes the digest (other values go as their display text).
QString RealDigestText(int16_t kind, double value);

}  // namespace syncservice
