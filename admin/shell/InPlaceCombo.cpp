#include "admin/shell/InPlaceCombo.h"

#include "admin/shell/GridListCtrl.h"

#include <QFocusEvent>

CInPlaceCombo::CInPlaceCombo(CGridListCtrl* list, int row, int column, const QStringList& entries, int selection)
    : QComboBox(list->viewport()), m_list(list), m_nRow(row), m_nColumn(column) {
  setObjectName(QString::number(CGridListCtrl::kEditorId));
  setFont(list->EditorFont());
  addItems(entries);
  setCurrentIndex(selection >= 0 && selection < count() ? selection : -1);
}

void CInPlaceCombo::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (event->reason() != Qt::PopupFocusReason) Deliver();
}

// A combo without a current entry delivers its first one, with that entry's index.
void CInPlaceCombo::Deliver() {
  if (m_bDelivered) return;
  m_bDelivered = true;
  int selection = currentIndex();
  if (selection < 0 && count() > 0) selection = 0;
  const QString text = selection >= 0 ? itemText(selection) : QString();
  m_list->EndLabelEdit({m_nRow, m_nColumn, text, selection});
}
