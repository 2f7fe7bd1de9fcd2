#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

enum class StandInType { Integer, Double, Text };

// One table of a desktop file as the stand-in database holds it. A null QString in a row is SQL
// NULL; an Integer or Double column holds only texts that read as its type.
struct StandInTable {
  QString name;
  QStringList columns;
  QList<StandInType> types;
  QList<QStringList> rows;
};

// Types every column by its values: Integer when each value is a whole number of 32 bits (the
// SQLite driver reports INTEGER as a 32-bit column), Double when each is a decimal number that a
// double holds exactly (15 digits), else Text. A number with a leading zero ("007") stays Text,
// so nothing of it is lost; dates stay Text.
void TypeColumnsByValues(StandInTable* table);

// A column name for each position: `names` where usable, else "F" + position (1-based), the
// Windows drivers' name for an unnamed column; a name that repeats one before it gets the same.
QStringList UniqueColumnNames(const QStringList& names);

}  // namespace platform
