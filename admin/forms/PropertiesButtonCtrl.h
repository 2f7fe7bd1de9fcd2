#pragma once

#include <QColor>
#include <QPushButton>

// The colour box of a grid row: a button without caption filled with its colour. A click
// makes its row current and then reports a change.
class CPropertiesButtonCtrl : public QPushButton {
  Q_OBJECT

 public:
  CPropertiesButtonCtrl(const QColor& colour, QWidget* parent);

  QColor GetColour() const { return m_colour; }

 Q_SIGNALS:
  void Changed();
  void Activated();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor m_colour;
};
