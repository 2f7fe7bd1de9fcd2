#include "admin/forms/PropertiesComboBoxCtrl.h"

CPropertiesComboBoxCtrl::CPropertiesComboBoxCtrl(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  connect(this, &QComboBox::activated, this, &CPropertiesComboBoxCtrl::Changed);
}

// A prefix alone would pick "Name2" for "Name" when "Name2" comes first.
void CPropertiesComboBoxCtrl::SelectText(const QString& text) {
  int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0) index = findText(text, Qt::MatchStartsWith);
  if (index >= 0) setCurrentIndex(index);
}

void CPropertiesComboBoxCtrl::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  Q_EMIT Activated();
}
