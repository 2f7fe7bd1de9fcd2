#pragma once

#include <QComboBox>

// The drop list of a grid row: tells the grid of the user's choice and of getting the focus.
class CPropertiesComboBoxCtrl : public QComboBox {
  Q_OBJECT

 public:
  explicit CPropertiesComboBoxCtrl(QWidget* parent);

 Q_SIGNALS:
  void Changed();
  void Activated();

 protected:
  void focusInEvent(QFocusEvent* event) override;
};
