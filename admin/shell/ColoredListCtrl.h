#pragma once

#include <QColor>
#include <QTableWidget>

#include <cstdint>
#include <set>

class QStyleOptionViewItem;

// A report list whose rows alternate between two colours with black text, the bands carried on
// below the last row; rows the owner marks show red while marking is on. Offers the list calls
// its owners make: columns, rows, item texts and data, check boxes and the selection mark.
class CColoredListCtrl : public QTableWidget {
  Q_OBJECT

 public:
  static QColor EvenRowColour() { return QColor(255, 255, 255); }
  static QColor OddRowColour() { return QColor(229, 232, 239); }
  static QColor MarkedRowColour() { return QColor(255, 0, 0); }

  explicit CColoredListCtrl(QWidget* parent = nullptr);

  // Appends a column at `column` with its heading and width in pixels; its index.
  int InsertColumn(int column, const QString& heading, int width);
  // Inserts a row at `row` (clamped to the row count) with `text` in column 0; its index.
  int InsertItem(int row, const QString& text);
  bool DeleteItem(int row);
  void DeleteAllItems();
  int GetItemCount() const { return rowCount(); }
  bool SetItemText(int row, int column, const QString& text);
  QString GetItemText(int row, int column) const;
  bool SetItemData(int row, uint32_t itemData);
  uint32_t GetItemData(int row) const;
  // A check box in column 0.
  void SetCheck(int row, bool checked);
  bool GetCheck(int row) const;
  // The selected row, -1 when none.
  int GetSelectionMark() const;
  void SetSelectionMark(int row);

  void SetMarking(bool marking);
  void SetMarkedRows(const std::set<int>& rows);

  QColor RowColour(int row) const;
  // Paints one cell; the delegate of every cell calls it.
  virtual void PaintCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintBands(QPainter& painter) const;
  // The top of row `row` in viewport pixels, rows past the last one as high as the last.
  int BandTop(int row) const;
  // The cell's item, made when it has none yet; null outside the list.
  QTableWidgetItem* ItemAt(int row, int column);

  bool m_bMarking = false;
  std::set<int> m_markedRows;
};
