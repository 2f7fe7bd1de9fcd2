#pragma once

#include <QComboBox>

class CGridListCtrl;

// The drop-down editor of one list cell: offers its entries on the stored choice and, when the
// focus leaves it (not to its own list), delivers the chosen entry and its index to the list.
class CInPlaceCombo : public QComboBox {
  Q_OBJECT

 public:
  CInPlaceCombo(CGridListCtrl* list, int row, int column, const QStringList& entries, int selection);

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Deliver();

  CGridListCtrl* m_list;
  int m_nRow;
  int m_nColumn;
  bool m_bDelivered = false;
};
