#pragma once

#include <QLineEdit>

class CColoredListCtrl;

// A one-shot cell editor of a list: when the focus leaves it, its text goes into the list's cell
// being edited and the editor goes.
class CCoolEdit : public QLineEdit {
  Q_OBJECT

 public:
  // Placed by its owner over the cell (`row`, `column`) of `list`.
  CCoolEdit(CColoredListCtrl* list, int row, int column);

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  CColoredListCtrl* m_list;
  int m_nRow;
  int m_nColumn;
  bool m_bWritten = false;
};
