#include "admin/shell/InPlaceEdit.h"

#include "admin/shell/GridListCtrl.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

#include <algorithm>

CInPlaceEdit::CInPlaceEdit(CGridListCtrl* list, int row, int column, const QString& initialText, const QString& value)
    : QLineEdit(list->viewport()), m_list(list), m_nRow(row), m_nColumn(column), m_value(value) {
  setObjectName(QString::number(CGridListCtrl::kEditorId));
  setFont(list->EditorFont());
  setText(initialText);
  connect(this, &QLineEdit::textChanged, this, &CInPlaceEdit::GrowToText);
  connect(this, &QLineEdit::textEdited, this, [this](const QString& typed) { m_value = typed; });
}

void CInPlaceEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  setText(m_value);
  selectAll();
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (event->reason() != Qt::PopupFocusReason) Deliver();
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      m_bCancelled = true;
      [[fallthrough]];
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Taken here, so a dialog around the list neither closes nor presses its default button.
      event->accept();
      m_list->setFocus(Qt::OtherFocusReason);
      return;
    default:
      QLineEdit::keyPressEvent(event);
  }
}

void CInPlaceEdit::Deliver() {
  if (m_bDelivered) return;
  m_bDelivered = true;
  m_list->EndLabelEdit({m_nRow, m_nColumn, m_bCancelled ? std::nullopt : std::optional<QString>(m_value), std::nullopt});
}

// Wider when the text needs it, the right edge held 2 pixels inside the list's viewport.
void CInPlaceEdit::GrowToText() {
  const int wanted = QFontMetrics(font()).horizontalAdvance(text()) + 5;
  if (wanted <= width()) return;
  const int limit = m_list->viewport()->width() - 2 - x();
  resize(std::max(width(), std::min(wanted, limit)), height());
}
