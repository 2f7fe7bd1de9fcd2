#include "admin/shell/ParameterListCtrl.h"

#include <QMouseEvent>

CParameterListCtrl::CParameterListCtrl(QWidget* parent) : CColoredListCtrl(parent) { setShowGrid(true); }

void CParameterListCtrl::EndEdit() {
  if (m_pEditor.isNull()) return;
  CCoolEdit* editor = m_pEditor.data();
  m_pEditor.clear();
  // Written here as well as by the editor's own focus loss: the focus may never have reached it.
  SetItemText(m_nEditRow, m_nEditColumn, editor->text());
  editor->hide();
  editor->deleteLater();
  setFocus();
}

void CParameterListCtrl::mousePressEvent(QMouseEvent* event) {
  EndEdit();
  CColoredListCtrl::mousePressEvent(event);
  if (event->button() != Qt::LeftButton) return;
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid() && index.column() == m_nEditableColumn) BeginEdit(index.row(), index.column());
}

void CParameterListCtrl::BeginEdit(int row, int column) {
  const QModelIndex index = model()->index(row, column);
  scrollTo(index);
  auto* editor = new CCoolEdit(this, row, column);
  editor->setObjectName(QString::number(kEditorId));
  editor->setFrame(true);
  editor->setFont(font());
  editor->setMaxLength(kLongestValue);
  editor->setText(GetItemText(row, column));
  editor->setGeometry(visualRect(index));
  editor->selectAll();
  editor->show();
  editor->setFocus();
  m_pEditor = editor;
  m_nEditRow = row;
  m_nEditColumn = column;
}
