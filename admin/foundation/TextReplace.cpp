#include "admin/foundation/TextReplace.h"

void ReplaceFirstOccurrence(QString* text, const QString& find, const QString& replacement) {
  // An empty text "occurs" everywhere; replacing it would only insert the replacement.
  if (find.isEmpty()) return;
  const qsizetype position = text->indexOf(find);
  if (position >= 0) text->replace(position, find.size(), replacement);
}
