#pragma once

#include <QString>

// Replaces the first occurrence of `find` in `text` by `replacement`; the text stays as it is
// when `find` does not occur in it or is empty.
void ReplaceFirstOccurrence(QString* text, const QString& find, const QString& replacement);
