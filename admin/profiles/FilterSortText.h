#pragma once

#include "admin/profiles/FilterSortLists.h"

#include <QString>
#include <QStringList>

struct ProfileRecord;

// A listed column name as it stands in SQL: a quote character inside the name is doubled.
QString ColumnNameForSql(const QString& listedName);
// A listed column name without its quotes: the name the catalogue gives.
QString BareColumnName(const QString& listedName);

QString WriteFiltersInfo(const FilterSortLists& lists);
QString WriteSortColumnsInfo(const FilterSortLists& lists);

// Appends the WHERE and ORDER BY text to `selectText` and stores both texts in `record`.
QString BuildWhereOrderBy(const QString& selectText, const FilterSortLists& lists, ProfileRecord* record);

// A sort as the SortColumnsInfo text stores it: the bare column name and the direction.
struct StoredSort {
  QString name;
  int direction = 0;
};
struct StoredSortColumns {
  QList<StoredSort> sorts;  // the entries read whole, in order
  bool whole = true;        // false when the text ends early or holds a bad number
};
StoredSortColumns ReadSortColumnsInfo(const QString& sortColumnsInfo);

// Read stored texts back into `lists` (whose columns are listed). A text that is cut short or
// holds a bad number ends the read, keeping the entries read whole. Entries naming a column not
// listed, or an unknown operator, are dropped; their column names are returned.
QStringList SetSortColumnValueForEditProfile(const QString& sortColumnsInfo, FilterSortLists* lists);
QStringList SetFilterValueForEditProfile(const QString& filtersInfo, FilterSortLists* lists);
