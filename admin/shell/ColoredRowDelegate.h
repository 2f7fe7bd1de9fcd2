#pragma once

#include <QStyledItemDelegate>

class CColoredListCtrl;

// Hands the painting of every cell to its coloured list.
class ColoredRowDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit ColoredRowDelegate(CColoredListCtrl* list);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // The list's default look: the row's colour behind black text.
  void PaintDefault(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

 private:
  CColoredListCtrl* m_list;
};
