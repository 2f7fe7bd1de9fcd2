#include "admin/profiles/FilterSortText.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/OdbcUtilities.h"
#include "admin/profiles/StoredTextCursor.h"
#include "shared/data/ProfileRecord.h"

namespace {

constexpr int kFilterSortLogCode = 0;

QString Field(const QString& text) { return text + u'#'; }
QString Counted(const QString& text) { return Field(QString::number(text.size())) + Field(text); }

int CatalogueTypeCode(const FilterSortLists& lists, int column) {
  return column >= 0 && column < lists.catalogueTypeCodes.size() ? lists.catalogueTypeCodes.at(column) : 0;
}

QString ListedName(const FilterSortLists& lists, int column) { return lists.columns.value(column); }

int ListedIndexOf(const QStringList& columns, const QString& bareName) {
  for (qsizetype i = 0; i < columns.size(); ++i) {
    if (BareColumnName(columns.at(i)) == bareName) return static_cast<int>(i);
  }
  return -1;
}

void LogCutShort(const QString& what, qsizetype entriesRead) {
  WriteAppLog(kFilterSortLogCode, QStringLiteral("<CProfileBuildQueryPage> The %1 ends early or holds a bad number; %2 entries read")
                                      .arg(what)
                                      .arg(entriesRead));
}

void LogDropped(const QString& what, const QString& name) {
  WriteAppLog(kFilterSortLogCode,
              QStringLiteral("<CProfileBuildQueryPage> A stored %1 on column %2 no longer applies; dropped").arg(what, name));
}

QString WhereText(const FilterSortLists& lists) {
  if (lists.filters.isEmpty()) return {};
  QString text = QStringLiteral(" Where ");
  for (qsizetype i = 0; i < lists.filters.size(); ++i) {
    const FilterEntry& filter = lists.filters.at(i);
    if (i > 0) text += u' ' + GetJoinOperatorText(filter.joining) + u' ';
    text += ColumnNameForSql(ListedName(lists, filter.column)) + u' ' + GetCompareOperatorText(filter.op) + u' ' +
            lists.filterValues.value(i);
  }
  return text;
}

QString OrderByText(const FilterSortLists& lists) {
  if (lists.sorts.isEmpty()) return {};
  QStringList parts;
  for (const SortEntry& sort : lists.sorts) {
    parts << ColumnNameForSql(ListedName(lists, sort.column)) + u' ' + GetSortOrderText(sort.direction);
  }
  return QStringLiteral(" Order By ") + parts.join(QStringLiteral(", "));
}

}  // namespace

QString BareColumnName(const QString& listedName) {
  return listedName.size() < 2 ? QString() : listedName.mid(1, listedName.size() - 2);
}

QString ColumnNameForSql(const QString& listedName) {
  if (listedName.size() < 2) return listedName;
  const QChar quote = listedName.front();
  QString inner = BareColumnName(listedName);
  inner.replace(quote, QString(2, quote));
  return quote + inner + listedName.back();
}

QString WriteFiltersInfo(const FilterSortLists& lists) {
  QString text = Field(QString::number(lists.filters.size()));
  for (qsizetype i = 0; i < lists.filters.size(); ++i) {
    const FilterEntry& filter = lists.filters.at(i);
    text += Field(i == 0 ? QStringLiteral("0") : GetJoinOperatorText(filter.joining));
    text += Counted(BareColumnName(ListedName(lists, filter.column)));
    text += Counted(GetCompareOperatorText(filter.op));
    text += Counted(lists.filterValues.value(i));
  }
  return text;
}

QString WriteSortColumnsInfo(const FilterSortLists& lists) {
  QString text = Field(QString::number(lists.sorts.size()));
  for (const SortEntry& sort : lists.sorts) {
    text += Counted(BareColumnName(ListedName(lists, sort.column)));
    text += Field(sort.direction != 0 ? QStringLiteral("1") : QStringLiteral("0"));
    text += Field(QString::number(CatalogueTypeCode(lists, sort.column)));
  }
  return text;
}

QString BuildWhereOrderBy(const QString& selectText, const FilterSortLists& lists, ProfileRecord* record) {
  record->FiltersInfo = WriteFiltersInfo(lists);
  record->SortColumnsInfo = WriteSortColumnsInfo(lists);
  return selectText + WhereText(lists) + OrderByText(lists);
}

StoredSortColumns ReadSortColumnsInfo(const QString& sortColumnsInfo) {
  StoredTextCursor cursor(sortColumnsInfo);
  StoredSortColumns stored;
  int count = 0;
  stored.whole = cursor.TakeNumber(&count);
  while (stored.whole && stored.sorts.size() < count) {
    StoredSort sort;
    int typeCode = 0;
    stored.whole = cursor.TakeCounted(&sort.name) && cursor.TakeNumber(&sort.direction) && cursor.TakeNumber(&typeCode);
    if (stored.whole) stored.sorts.append(sort);
  }
  return stored;
}

QStringList SetSortColumnValueForEditProfile(const QString& sortColumnsInfo, FilterSortLists* lists) {
  WriteAppLog(kFilterSortLogCode, QStringLiteral("<CProfileBuildQueryPage> <SetSortColumnValueForEditProfile> Start"));
  WriteAppLog(kFilterSortLogCode, QStringLiteral("<ProfileBuildQueryPage> The Sort Column Info is: %1").arg(sortColumnsInfo));
  const StoredSortColumns stored = ReadSortColumnsInfo(sortColumnsInfo);
  QStringList dropped;
  for (const StoredSort& sort : stored.sorts) {
    const int column = ListedIndexOf(lists->columns, sort.name);
    if (column < 0) {
      LogDropped(QStringLiteral("sort"), sort.name);
      dropped << sort.name;
      continue;
    }
    lists->sorts.append(SortEntry{static_cast<uint8_t>(sort.direction != 0 ? 1 : 0), static_cast<int16_t>(column)});
  }
  if (!stored.whole) LogCutShort(QStringLiteral("Sort Column Info"), stored.sorts.size());
  WriteAppLog(kFilterSortLogCode, QStringLiteral("<CProfileBuildQueryPage> <SetSortColumnValueForEditProfile> End"));
  return dropped;
}

QStringList SetFilterValueForEditProfile(const QString& filtersInfo, FilterSortLists* lists) {
  WriteAppLog(kFilterSortLogCode, QStringLiteral("<CProfileBuildQueryPage> <SetFilterValueForEditProfile> start"));
  WriteAppLog(kFilterSortLogCode, QStringLiteral("<ProfileBuildQueryPage> The FiltersInfo is: %1").arg(filtersInfo));
  StoredTextCursor cursor(filtersInfo);
  QStringList dropped;
  int count = 0;
  int read = 0;
  bool whole = cursor.TakeNumber(&count);
  for (; whole && read < count; ++read) {
    QString joining;
    QString name;
    QString op;
    QString value;
    whole = cursor.TakeField(&joining) && cursor.TakeCounted(&name) && cursor.TakeCounted(&op) && cursor.TakeCounted(&value);
    if (!whole) break;
    const int column = ListedIndexOf(lists->columns, name);
    const int opIndex = GetOperatorIndex(op);
    if (column < 0 || opIndex < 0) {
      LogDropped(QStringLiteral("filter"), name);
      dropped << name;
      continue;
    }
    const bool orJoined = !lists->filters.isEmpty() && joining == QStringLiteral("OR");
    lists->filters.append(
        FilterEntry{static_cast<uint8_t>(orJoined ? 1 : 0), static_cast<uint8_t>(opIndex), static_cast<int16_t>(column)});
    lists->filterValues.append(value);
  }
  if (!whole) LogCutShort(QStringLiteral("FiltersInfo"), read);
  WriteAppLog(kFilterSortLogCode, QStringLiteral("<CProfileBuildQueryPage> <SetFilterValueForEditProfile> End"));
  return dropped;
}
