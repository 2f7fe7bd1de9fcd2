#include "admin/forms/PropertiesEditCtrl.h"

namespace {

constexpr int kMaxPropertyLength = 50;

}  // namespace

CPropertiesEditCtrl::CPropertiesEditCtrl(const QString& text, bool readOnly, QWidget* parent) : QLineEdit(parent) {
  setMaxLength(kMaxPropertyLength);
  setText(text);
  setReadOnly(readOnly);
  connect(this, &QLineEdit::textEdited, this, &CPropertiesEditCtrl::Changed);
  connect(this, &QLineEdit::editingFinished, this, &CPropertiesEditCtrl::Finished);
}

void CPropertiesEditCtrl::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  Q_EMIT Activated();
}
