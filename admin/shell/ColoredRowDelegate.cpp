#include "admin/shell/ColoredRowDelegate.h"

#include "admin/shell/ColoredListCtrl.h"

#include <QStyle>

ColoredRowDelegate::ColoredRowDelegate(CColoredListCtrl* list) : QStyledItemDelegate(list), m_list(list) {}

void ColoredRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  m_list->PaintCell(painter, option, index);
}

void ColoredRowDelegate::PaintDefault(QPainter* painter, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
  QStyleOptionViewItem look(option);
  initStyleOption(&look, index);
  look.backgroundBrush = m_list->RowColour(index.row());
  look.palette.setColor(QPalette::Text, Qt::black);
  m_list->style()->drawControl(QStyle::CE_ItemViewItem, &look, painter, m_list);
}
