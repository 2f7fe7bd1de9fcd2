#include "admin/profiles/SelectQueryBuilder.h"

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/ProfileQueryText.h"
#include "shared/data/SourceKinds.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

SelectSource PostgreSql() { return {u"PostgreSQL"_s, sourcekind::kNamedDataSource, false, false}; }
SelectSource MariaDb() { return {u"MariaDB"_s, sourcekind::kNamedDataSource, true, false}; }
SelectSource SqliteName() { return {u"SQLite"_s, sourcekind::kNamedDataSource, false, false}; }
SelectSource SqliteFile() { return {u"SQLite"_s, 11, false, false}; }
SelectSource AccessFile() { return {u"MDBTOOLS"_s, sourcekind::kMdb, false, false}; }
SelectSource AccdbFile() { return {u"MDBTOOLS"_s, sourcekind::kAccdb, false, false}; }
SelectSource WorkbookExport() { return {u"Text"_s, sourcekind::kTxt, false, true}; }

struct SelectCase {
  const char* label;
  SelectSource source;
  QStringList columns;  // as the page lists them
  QString schema;
  QString table;
  QString select;
};

}  // namespace

TEST(SelectQueryBuilder, SelectTextPerSource) {
  const SelectCase cases[] = {
      {"PostgreSQL with a schema",
       PostgreSql(),
       {u"\"id\""_s, u"\"Full Name\""_s},
       u"public"_s,
       u"people"_s,
       u"Select \"id\", \"Full Name\" from \"public\".\"people\""_s},
      {"MariaDB", MariaDb(), {u"`id`"_s, u"`na`me`"_s}, {}, u"my table"_s, u"Select `id`, `na``me` from `my table`"_s},
      {"SQLite name: a blank and a quote",
       SqliteName(),
       {u"`a`"_s},
       {},
       u"Sales \"Q1\""_s,
       u"Select `a` from \"Sales \"\"Q1\"\"\""_s},
      {"SQLite file", SqliteFile(), {u"`a`"_s}, {}, u"Orders"_s, u"Select `a` from \"Orders\""_s},
      {"Access file", AccessFile(), {u"`a`"_s}, {}, u"Orders"_s, u"Select `a` from Orders"_s},
      {"Access 2007 file", AccdbFile(), {u"`a`"_s}, {}, u"Orders"_s, u"Select `a` from Orders"_s},
      {"exported workbook", WorkbookExport(), {u"`Name`"_s}, {}, u"Sheet1"_s, u"Select `Name` from \"Sheet1.txt\""_s},
  };
  for (const SelectCase& c : cases) {
    const QString select = BuildSelectQuery(c.source, c.columns, c.schema, c.table);
    EXPECT_EQ(select, c.select) << c.label;
    // The readers of both programs find the table again, quotes gone.
    const QString expectedTable = c.source.workbookExport ? c.table + u".txt"_s : c.table;
    EXPECT_EQ(GetTableNameFromQuery(select), expectedTable) << c.label;
    EXPECT_EQ(ReadStoredTable(c.source, select).table, c.table) << c.label;
    EXPECT_EQ(ReadStoredTable(c.source, select).schema, c.schema) << c.label;
  }
}

TEST(SelectQueryBuilder, WorkbookExportRewriteFindsTheQuotedSheet) {
  const QString select = BuildSelectQuery(WorkbookExport(), {u"`Name`"_s}, {}, u"My Sheet"_s);
  EXPECT_EQ(QueryOnWorkbookExport(select), u"Select `Name` from \"New_My Sheet.txt\""_s);
}

TEST(SelectQueryBuilder, ListedColumnQuotes) {
  EXPECT_EQ(ListedColumnName(PostgreSql(), u"a"_s), u"\"a\""_s);
  EXPECT_EQ(ListedColumnName({u"Microsoft SQL Server"_s, 0, false, false}, u"a"_s), u"\"a\""_s);
  EXPECT_EQ(ListedColumnName({u"FileMaker"_s, sourcekind::kFileMaker, false, false}, u"a"_s), u"\"a\""_s);
  EXPECT_EQ(ListedColumnName(MariaDb(), u"a"_s), u"`a`"_s);
  EXPECT_EQ(ListedColumnName(SqliteName(), u"a"_s), u"`a`"_s);
}

TEST(SelectQueryBuilder, ColumnOrderTickedOrArranged) {
  const QStringList listed = {u"`a`"_s, u"`b`"_s, u"`c`"_s};
  struct Case {
    const char* label;
    QList<bool> ticked;
    QStringList arranged;
    QStringList selected;
  } cases[] = {
      {"list order", {true, false, true}, {}, {u"`a`"_s, u"`c`"_s}},
      {"arranged", {true, true, true}, {u"`c`"_s, u"`a`"_s, u"`b`"_s}, {u"`c`"_s, u"`a`"_s, u"`b`"_s}},
      {"arrangement of other columns", {true, true, false}, {u"`c`"_s, u"`a`"_s}, {u"`a`"_s, u"`b`"_s}},
      {"arrangement of fewer columns", {true, true, true}, {u"`b`"_s, u"`a`"_s}, listed},
  };
  for (const Case& c : cases) EXPECT_EQ(SelectedColumns(listed, c.ticked, c.arranged), c.selected) << c.label;
}

TEST(SelectQueryBuilder, EditedProfileKeepsTicksAndOrder) {
  const QStringList listed = {u"\"id\""_s, u"\"Full Name\""_s, u"\"say \"hi\"\""_s, u"\"unused\""_s};
  const QString stored =
      BuildSelectQuery(PostgreSql(), {u"\"say \"hi\"\""_s, u"\"id\""_s, u"\"Full Name\""_s}, u"s"_s, u"t"_s) +
      u" Where \"id\" > 1 Order By \"id\" ASC"_s;
  const StoredColumnChoice choice = ReadStoredColumnChoice(stored, listed);
  EXPECT_EQ(choice.ticked, QList<bool>({true, true, true, false}));
  EXPECT_EQ(choice.arranged, QStringList({u"\"say \"hi\"\""_s, u"\"id\""_s, u"\"Full Name\""_s}));
  const QString rebuilt =
      BuildSelectQuery(PostgreSql(), SelectedColumns(listed, choice.ticked, choice.arranged),
                       ReadStoredTable(PostgreSql(), stored).schema, ReadStoredTable(PostgreSql(), stored).table);
  EXPECT_TRUE(stored.startsWith(rebuilt + u" Where"_s)) << qPrintable(rebuilt);
}
