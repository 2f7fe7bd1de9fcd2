#pragma once

#include <QString>

// Where a filter's value goes, as far as writing it into SQL cares.
struct FilterValueTarget {
  // The database product name of the profile's source (the bit rule asks for "SQL Server").
  QString databaseKind;
  // A real Access file read through the mdbtools driver: the only source here whose SQL takes
  // dates in "#" delimiters.
  bool accessFile = false;
};

// A value typed for a column of ODBC SQL type `sqlType` as it stands in a filter's SQL text.
// Character and date values become one single-quoted literal with their inner quotes doubled
// (dates in "#" for an Access file); a value that already is one such literal, and "null" in any
// case, stays. Quoting a result again changes nothing.
QString QuoteFilterValue(const QString& value, int sqlType, const FilterValueTarget& target);
