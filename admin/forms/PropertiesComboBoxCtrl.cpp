#include "admin/forms/PropertiesComboBoxCtrl.h"

CPropertiesComboBoxCtrl::CPropertiesComboBoxCtrl(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  connect(this, &QComboBox::activated, this, &CPropertiesComboBoxCtrl::Changed);
}

void CPropertiesComboBoxCtrl::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  Q_EMIT Activated();
}
