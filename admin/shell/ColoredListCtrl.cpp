#include "admin/shell/ColoredListCtrl.h"

#include "admin/shell/ColoredRowDelegate.h"

#include <QHeaderView>
#include <QPainter>

#include <algorithm>

CColoredListCtrl::CColoredListCtrl(QWidget* parent) : QTableWidget(parent) {
  verticalHeader()->hide();
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setShowGrid(false);
  setWordWrap(false);
  setItemDelegate(new ColoredRowDelegate(this));
}

int CColoredListCtrl::InsertColumn(int column, const QString& heading, int width) {
  column = std::clamp(column, 0, columnCount());
  insertColumn(column);
  setHorizontalHeaderItem(column, new QTableWidgetItem(heading));
  setColumnWidth(column, width);
  return column;
}

int CColoredListCtrl::InsertItem(int row, const QString& text) {
  row = std::clamp(row, 0, rowCount());
  insertRow(row);
  SetItemText(row, 0, text);
  return row;
}

bool CColoredListCtrl::DeleteItem(int row) {
  if (row < 0 || row >= rowCount()) return false;
  removeRow(row);
  return true;
}

void CColoredListCtrl::DeleteAllItems() { setRowCount(0); }

QTableWidgetItem* CColoredListCtrl::ItemAt(int row, int column) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
  QTableWidgetItem* cell = item(row, column);
  if (cell == nullptr) {
    cell = new QTableWidgetItem;
    setItem(row, column, cell);
  }
  return cell;
}

bool CColoredListCtrl::SetItemText(int row, int column, const QString& text) {
  QTableWidgetItem* cell = ItemAt(row, column);
  if (cell == nullptr) return false;
  cell->setText(text);
  return true;
}

QString CColoredListCtrl::GetItemText(int row, int column) const {
  const QTableWidgetItem* cell = row >= 0 && row < rowCount() ? item(row, column) : nullptr;
  return cell != nullptr ? cell->text() : QString();
}

bool CColoredListCtrl::SetItemData(int row, uint32_t itemData) {
  QTableWidgetItem* cell = ItemAt(row, 0);
  if (cell == nullptr) return false;
  cell->setData(Qt::UserRole, itemData);
  return true;
}

uint32_t CColoredListCtrl::GetItemData(int row) const {
  const QTableWidgetItem* cell = row >= 0 && row < rowCount() ? item(row, 0) : nullptr;
  return cell != nullptr ? cell->data(Qt::UserRole).toUInt() : 0;
}

void CColoredListCtrl::SetCheck(int row, bool checked) {
  if (QTableWidgetItem* cell = ItemAt(row, 0)) cell->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool CColoredListCtrl::GetCheck(int row) const {
  const QTableWidgetItem* cell = row >= 0 && row < rowCount() ? item(row, 0) : nullptr;
  return cell != nullptr && cell->checkState() == Qt::Checked;
}

int CColoredListCtrl::GetSelectionMark() const {
  const QModelIndexList rows = selectionModel() != nullptr ? selectionModel()->selectedRows() : QModelIndexList();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void CColoredListCtrl::SetSelectionMark(int row) {
  if (row < 0 || row >= rowCount()) {
    clearSelection();
    return;
  }
  setCurrentCell(row, 0);
  selectRow(row);
}

void CColoredListCtrl::SetMarking(bool marking) {
  m_bMarking = marking;
  viewport()->update();
}

void CColoredListCtrl::SetMarkedRows(const std::set<int>& rows) {
  m_markedRows = rows;
  viewport()->update();
}

QColor CColoredListCtrl::RowColour(int row) const {
  if (m_bMarking && m_markedRows.count(row) != 0) return MarkedRowColour();
  return row % 2 == 0 ? EvenRowColour() : OddRowColour();
}

void CColoredListCtrl::PaintCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  static_cast<const ColoredRowDelegate*>(itemDelegate())->PaintDefault(painter, option, index);
}

void CColoredListCtrl::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(viewport());
    PaintBands(painter);
  }
  QTableWidget::paintEvent(event);
}

int CColoredListCtrl::BandTop(int row) const {
  if (row < rowCount()) return rowViewportPosition(row);
  if (rowCount() == 0) return row * verticalHeader()->defaultSectionSize();
  const int last = rowCount() - 1;
  return rowViewportPosition(last) + (row - last) * rowHeight(last);
}

// The viewport in the odd colour, then a band per row position on screen, past the last row too.
void CColoredListCtrl::PaintBands(QPainter& painter) const {
  const QRect area = viewport()->rect();
  painter.fillRect(area, OddRowColour());
  const int first = std::max(0, rowAt(0));
  for (int row = first; BandTop(row) < area.bottom(); ++row) {
    const int top = BandTop(row);
    const int bottom = BandTop(row + 1);
    if (bottom <= top) break;
    painter.fillRect(QRect(area.left(), top, area.width(), bottom - top), RowColour(row));
  }
}
