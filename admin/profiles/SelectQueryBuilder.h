#pragma once

#include "shared/odbc/QueryText.h"

#include <QList>
#include <QString>
#include <QStringList>

// The SELECT text of a table or view profile, as the table page builds it and reads it back when
// the profile is edited. Column names are handled as the page lists them: in double quotes or
// back-quotes, the catalogue's name inside.

// What the text depends on in the wizard's data source.
struct SelectSource {
  QString productName;          // the connection's database product name
  int sourceKind = 0;           // the data-source type code (0 a data source name, 1 to 11 files)
  bool mySql = false;           // a data source name whose driver is MySQL or MariaDB
  bool workbookExport = false;  // a workbook read as its exported text files
};

// Sources whose column names are listed in double quotes; every other lists them in back-quotes.
bool IsDoubleQuoteProduct(const SelectSource& source);
// A catalogue column name as the page lists it.
QString ListedColumnName(const SelectSource& source, const QString& name);

// The table part: back-quoted for MySQL, bare for Access files, double-quoted for every other
// source, a schema before it quoted the same way; the quote character inside a name doubled. A
// workbook's sheet is read from its export "<sheet>.txt".
QString SelectTableName(const SelectSource& source, const QString& schema, const QString& table);

// The listed names the SELECT reads, in order: `arranged` when it names exactly the ticked
// columns, else the ticked ones in list order.
QStringList SelectedColumns(const QStringList& listedNames, const QList<bool>& ticked, const QStringList& arranged);

// "Select " + the columns joined by ", " + " from " + the table part.
QString BuildSelectQuery(const SelectSource& source, const QStringList& selectedColumns, const QString& schema,
                         const QString& table);

// What an edited profile's stored SELECT chose among the listed columns: the ticks, and the
// order of its column part (listed names), so that an unchanged edit builds the same text.
struct StoredColumnChoice {
  QList<bool> ticked;
  QStringList arranged;
};
StoredColumnChoice ReadStoredColumnChoice(const QString& query, const QStringList& listedNames);

// The table an edited profile's stored SELECT reads, without quotes (a workbook's sheet without
// its ".txt").
QualifiedTableName ReadStoredTable(const SelectSource& source, const QString& query);
