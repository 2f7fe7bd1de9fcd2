#pragma once

#include <QStringList>

class QWidget;

// Tells the administrator, in one information box, which stored sorts and filters of a profile
// being edited were dropped because their column is no longer listed or their operator is
// unknown; the names are those the stored-text readers return. Shows nothing when none was.
void ShowDroppedFilterSortEntries(QWidget* parent, const QStringList& droppedSorts, const QStringList& droppedFilters);
