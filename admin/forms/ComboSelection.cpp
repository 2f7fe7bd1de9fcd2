#include "admin/forms/ComboSelection.h"

#include <QComboBox>

bool SelectEqualOrPrefix(QComboBox* list, const QString& text) {
  int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0) index = list->findText(text, Qt::MatchStartsWith);
  if (index < 0) return false;
  list->setCurrentIndex(index);
  return true;
}
