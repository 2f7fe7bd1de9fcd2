#include "admin/foundation/FilterValueQuoting.h"
#include "admin/profiles/FilterSortText.h"
#include "shared/data/ProfileRecord.h"

#include <gtest/gtest.h>

namespace {

constexpr int kVarChar = 12;
constexpr int kInteger = 4;
constexpr uint8_t kLike = 7;
constexpr uint8_t kGreater = 3;
constexpr uint8_t kEqual = 0;
constexpr uint8_t kOr = 1;

FilterSortLists ListedColumns(const QStringList& columns, const QList<int>& catalogueTypeCodes = {}) {
  FilterSortLists lists;
  lists.columns = columns;
  lists.catalogueTypeCodes = catalogueTypeCodes;
  return lists;
}

// The example: Name LIKE 'A%' AND Age > 30, sorted by Name descending.
FilterSortLists ExampleLists() {
  const FilterValueTarget target{QStringLiteral("PostgreSQL"), false};
  FilterSortLists lists = ListedColumns({QStringLiteral("\"Id\""), QStringLiteral("\"Name\""), QStringLiteral("\"Age\"")},
                                        {kInteger, kVarChar, kInteger});
  lists.filters = {FilterEntry{0, kLike, 1}, FilterEntry{0, kGreater, 2}};
  lists.filterValues = {QuoteFilterValue(QStringLiteral("A%"), kVarChar, target),
                        QuoteFilterValue(QStringLiteral("30"), kInteger, target)};
  lists.sorts = {SortEntry{1, 1}};
  return lists;
}

FilterSortLists ReadBack(const FilterSortLists& written, const QString& filtersInfo, const QString& sortColumnsInfo) {
  FilterSortLists read = ListedColumns(written.columns, written.catalogueTypeCodes);
  EXPECT_TRUE(SetSortColumnValueForEditProfile(sortColumnsInfo, &read).isEmpty());
  EXPECT_TRUE(SetFilterValueForEditProfile(filtersInfo, &read).isEmpty());
  return read;
}

}  // namespace

TEST(FilterSortText, WritesTheExampleTextsAndSqlByteForByte) {
  ProfileRecord record;
  const QString sql = BuildWhereOrderBy(QStringLiteral("SELECT * FROM \"People\""), ExampleLists(), &record);

  EXPECT_EQ(sql, QStringLiteral("SELECT * FROM \"People\" Where \"Name\" LIKE 'A%' AND \"Age\" > 30 Order By \"Name\" DESC"));
  EXPECT_EQ(record.FiltersInfo, QStringLiteral("2#0#4#Name#4#LIKE#4#'A%'#AND#3#Age#1#>#2#30#"));
  EXPECT_EQ(record.SortColumnsInfo, QStringLiteral("1#4#Name#1#12#"));

  const QString none = BuildWhereOrderBy(QStringLiteral("SELECT * FROM \"People\""), ListedColumns({}), &record);
  EXPECT_EQ(none, QStringLiteral("SELECT * FROM \"People\""));
  EXPECT_EQ(record.FiltersInfo, QStringLiteral("0#"));
  EXPECT_EQ(record.SortColumnsInfo, QStringLiteral("0#"));
}

TEST(FilterSortText, ReadsBackWhatItWrites) {
  struct Case {
    const char* what;
    QStringList columns;
    QString value;
  };
  const QList<Case> cases = {
      {"example", {QStringLiteral("\"Name\""), QStringLiteral("\"Age\"")}, QStringLiteral("'A%'")},
      {"# in a value and a name", {QStringLiteral("\"No#\""), QStringLiteral("`A#ge`")}, QStringLiteral("#1/2/2020#")},
      {"non-BMP character", {QString::fromUtf8("\"N\xF0\x9F\x98\x80me\""), QStringLiteral("\"Age\"")},
       QString::fromUtf8("'\xF0\x9F\x98\x80#'")},
      {"quote inside a name", {QStringLiteral("\"Na\"me\""), QStringLiteral("`Ag`e`")}, QStringLiteral("''''")},
      {"empty value", {QStringLiteral("\"Name\""), QStringLiteral("\"Age\"")}, QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FilterSortLists written = ListedColumns(c.columns, {kVarChar, kInteger});
    written.filters = {FilterEntry{0, kEqual, 1}, FilterEntry{kOr, kLike, 0}, FilterEntry{0, kGreater, 1}};
    written.filterValues = {c.value, QStringLiteral("x"), c.value};
    written.sorts = {SortEntry{0, 1}, SortEntry{1, 0}};
    const QString filtersInfo = WriteFiltersInfo(written);
    const QString sortColumnsInfo = WriteSortColumnsInfo(written);

    const FilterSortLists read = ReadBack(written, filtersInfo, sortColumnsInfo);
    EXPECT_EQ(read.filters, written.filters);
    EXPECT_EQ(read.filterValues, written.filterValues);
    EXPECT_EQ(read.sorts, written.sorts);
    EXPECT_EQ(WriteFiltersInfo(read), filtersInfo);
  }
}

TEST(FilterSortText, CountsLengthsInUtf16Units) {
  FilterSortLists lists = ListedColumns({QString::fromUtf8("\"\xF0\x9F\x98\x80\"")}, {kVarChar});
  lists.sorts = {SortEntry{0, 0}};
  EXPECT_EQ(WriteSortColumnsInfo(lists), QString::fromUtf8("1#2#\xF0\x9F\x98\x80#0#12#"));
}

TEST(FilterSortText, DoublesAQuoteInsideANameInSqlAndStoresTheCatalogueName) {
  FilterSortLists lists = ListedColumns({QStringLiteral("\"Na\"me\""), QStringLiteral("`it`s`")}, {kVarChar, kVarChar});
  lists.filters = {FilterEntry{0, kEqual, 0}};
  lists.filterValues = {QStringLiteral("'x'")};
  lists.sorts = {SortEntry{0, 1}};
  ProfileRecord record;

  EXPECT_EQ(BuildWhereOrderBy(QStringLiteral("SELECT"), lists, &record),
            QStringLiteral("SELECT Where \"Na\"\"me\" = 'x' Order By `it``s` ASC"));
  EXPECT_EQ(record.FiltersInfo, QStringLiteral("1#0#5#Na\"me#1#=#3#'x'#"));
  EXPECT_EQ(record.SortColumnsInfo, QStringLiteral("1#4#it`s#0#12#"));
}

TEST(FilterSortText, StoredTextsCutShortOrWithBadNumbersEndTheReadKeepingWholeEntries) {
  const QString exampleFilters = QStringLiteral("2#0#4#Name#4#LIKE#4#'A%'#AND#3#Age#1#>#2#30#");
  struct Case {
    QString filtersInfo;
    qsizetype filtersKept;
  };
  QList<Case> cases = {
      {QStringLiteral("5#0#4#Name#4#LIKE#4#'A%'#AND#3#Age#1#>#2#30#"), 2},  // count beyond the entries
      {QStringLiteral("2#0#4#Name#4#LIKE#99#'A%'#AND#3#Age#1#>#2#30#"), 0},  // length past the end
      {QStringLiteral("2#0#4#Name#4#LIKE#4#'A%'#AND#3#Age#1#>#-2#30#"), 1},  // negative length
      {QStringLiteral("2#0#4#Name#4#LIKE#4#'A%'#AND#x#Age#1#>#2#30#"), 1},   // no number
      {QStringLiteral("2#0#4#Name#4#LIKE#4#'A%'#AND#3#Age#1#>#2#3"), 1},     // cut inside the value
      {QStringLiteral("2#0#4#Name#4#LIKE#4#'A%X"), 0},                      // no "#" after a counted field
      {QStringLiteral("99999999999#"), 0},                                   // count out of range
      {QStringLiteral("two#"), 0},
      {QString(), 0},
  };
  for (qsizetype cut = 0; cut < exampleFilters.size(); ++cut) {
    cases.append({exampleFilters.left(cut), cut >= 25 ? 1 : 0});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filtersInfo.toStdString());
    FilterSortLists lists = ExampleLists();
    lists.filters.clear();
    lists.filterValues.clear();
    EXPECT_TRUE(SetFilterValueForEditProfile(c.filtersInfo, &lists).isEmpty());
    EXPECT_EQ(lists.filters.size(), c.filtersKept);
    EXPECT_EQ(lists.filterValues, ExampleLists().filterValues.first(c.filtersKept));
  }

  const QStringList sortTexts = {QStringLiteral("3#4#Name#1#12#"), QStringLiteral("1#40#Name#1#12#"),
                                 QStringLiteral("1#4#Name#y#12#"), QStringLiteral("1#4#Name#1#"), QStringLiteral("1#4#Name")};
  for (const QString& text : sortTexts) {
    SCOPED_TRACE(text.toStdString());
    FilterSortLists lists = ExampleLists();
    lists.sorts.clear();
    EXPECT_TRUE(SetSortColumnValueForEditProfile(text, &lists).isEmpty());
    const QList<SortEntry> kept = text.startsWith(u'3') ? QList<SortEntry>{SortEntry{1, 1}} : QList<SortEntry>{};
    EXPECT_EQ(lists.sorts, kept);
  }
}

TEST(FilterSortText, DropsEntriesWhoseColumnIsGoneOrOperatorUnknown) {
  FilterSortLists lists = ExampleLists();
  lists.filters.clear();
  lists.filterValues.clear();
  lists.sorts.clear();

  EXPECT_EQ(SetFilterValueForEditProfile(QStringLiteral("3#0#4#Gone#1#=#1#1#OR#4#Name#2#=~#1#2#OR#3#Age#1#<#1#3#"), &lists),
            (QStringList{QStringLiteral("Gone"), QStringLiteral("Name")}));
  EXPECT_EQ(lists.filters, (QList<FilterEntry>{FilterEntry{0, 2, 2}}));
  EXPECT_EQ(lists.filterValues, QStringList{QStringLiteral("3")});

  EXPECT_EQ(SetSortColumnValueForEditProfile(QStringLiteral("2#4#Gone#1#12#3#Age#0#4#"), &lists),
            QStringList{QStringLiteral("Gone")});
  EXPECT_EQ(lists.sorts, (QList<SortEntry>{SortEntry{0, 2}}));
}
