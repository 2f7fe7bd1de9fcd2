#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// Kinds of rows the property grids show.
enum PropertyRowKind : int {
  kRowEdit = 2,      // an edit box
  kRowDropList = 4,  // a drop list of choices
  kRowButton = 5,    // a colour button, or a button that opens an editor
};

// One row of a property grid: the property it edits, how, its value and choices.
struct PropertyRow {
  int Id = 0;
  int Kind = kRowEdit;
  QString Value;
  QStringList Choices;
  bool ReadOnly = false;
  QColor Color;  // of a colour button

  bool operator==(const PropertyRow&) const = default;
};
