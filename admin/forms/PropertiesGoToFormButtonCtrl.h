#pragma once

#include <QImage>
#include <QPushButton>

// The box of the Form Selection and Formula rows: a face with the value as caption whose right
// part opens the property's editor. Only a press at or right of 95 pixels reports a change, so
// a click on the caption does nothing.
class CPropertiesGoToFormButtonCtrl : public QPushButton {
  Q_OBJECT

 public:
  CPropertiesGoToFormButtonCtrl(const QString& caption, QWidget* parent);

  static constexpr int kChooserLeft = 95;

  bool IsHovered() const { return m_bHover; }

 Q_SIGNALS:
  void Changed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage m_face;
  int m_nPressX = -1;
  bool m_bHover = false;
};
