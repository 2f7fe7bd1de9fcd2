#pragma once

#include <QString>

class QComboBox;

// Selects the item equal to `text`, or else the first that begins with it (any case): a prefix
// alone would pick "Name2" for "Name" when "Name2" comes first. Leaves the selection as it is
// when no item fits; true when one was selected.
bool SelectEqualOrPrefix(QComboBox* list, const QString& text);
