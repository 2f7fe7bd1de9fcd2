#pragma once

#include <QLineEdit>

class CGridListCtrl;

// The short-lived text editor of one list cell: shows the value it is to deliver once it has the
// focus, grows to fit its text, and when the focus leaves it delivers the value to the list
// (nothing after Escape).
// Enter and Escape hand the focus back to the list.
class CInPlaceEdit : public QLineEdit {
  Q_OBJECT

 public:
  CInPlaceEdit(CGridListCtrl* list, int row, int column, const QString& initialText, const QString& value);

  // Ends the edit as losing the focus does; only the first end delivers.
  void Deliver();
  void GrowToText();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CGridListCtrl* m_list;
  int m_nRow;
  int m_nColumn;
  QString m_value;
  bool m_bCancelled = false;
  bool m_bDelivered = false;
};
