#include "admin/shell/CoolEdit.h"

#include "admin/shell/ColoredListCtrl.h"

#include <QFocusEvent>

CCoolEdit::CCoolEdit(CColoredListCtrl* list, int row, int column)
    : QLineEdit(list->viewport()), m_list(list), m_nRow(row), m_nColumn(column) {}

void CCoolEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Its own context menu takes the focus without ending the edit.
  if (event->reason() == Qt::PopupFocusReason || m_bWritten) return;
  m_bWritten = true;
  m_list->SetItemText(m_nRow, m_nColumn, text());
  hide();
  deleteLater();
}
