#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The checks of the table page's column list, apart from its widgets. Columns are named as the
// page lists them (in their quotes); forms name them bare, so they are compared bare.

// What the page knows of one listed column when a tick is toggled.
struct ColumnTickFacts {
  QString listedName;
  QString typeName;  // "SQL_UNKNOWN_TYPE" for a type the devices cannot take
  bool primaryKey = false;
  bool sorted = false;  // a sort of the profile names it
};

// What forms of an edited profile use; both empty for a new profile.
struct FormColumnUse {
  QStringList mapped;
  QStringList lookup;
};

// The question to ask before unticking a primary-key column; empty when none is asked.
QString PrimaryKeyUntickQuestion(const ColumnTickFacts& column, bool ticking);
// The message that refuses the toggle (after the question was answered Yes); empty when allowed.
QString ColumnTickRefusal(const ColumnTickFacts& column, bool ticking, const FormColumnUse& forms);

// Whether a column can ever be ticked: never with a type the devices cannot take.
bool IsTickableType(const QString& typeName);
// The ticks after "Select All" at `checked`: keys ticked, other columns following the box, and
// columns of an unknown type never ticked.
QList<bool> SelectAllTicks(const QList<bool>& ticks, const QStringList& typeNames, const QList<bool>& primaryKeys,
                           bool checked);

// Finish: the columns the SELECT reads (every listed one for a workbook export). A name with "]"
// on SQL Server, a name met twice, and a workbook's header-less columns ("`NoName`") are refused.
struct SelectedColumnsCheck {
  bool sqlServer = false;
  bool workbookExport = false;
  bool workbookOpen = false;
};
QString CheckSelectedColumnNames(const QStringList& listedNames, const SelectedColumnsCheck& check);

// Finish of an edited table profile: every column its forms use must still be listed and ticked.
QString CheckFormColumnsKept(const FormColumnUse& forms, const QStringList& listedNames, const QList<bool>& ticks);
// Finish of an edited procedure profile: every such column must be among the result columns.
QString CheckProcedureFormColumnsKept(const FormColumnUse& forms, const QStringList& resultColumns);
