#pragma once

#include "admin/profiles/FilterEntry.h"
#include "admin/profiles/SortEntry.h"

#include <QList>
#include <QStringList>

// What the table and view page holds for the chosen table: its columns as listed (each in the
// source's quote characters) and the filters and sorts over them.
struct FilterSortLists {
  QStringList columns;
  // Per column, the type code the source's type catalogue gives (0 when it lists none).
  QList<int> catalogueTypeCodes;
  QList<FilterEntry> filters;
  QStringList filterValues;  // one per filter, as it stands in the SQL
  QList<SortEntry> sorts;
};
