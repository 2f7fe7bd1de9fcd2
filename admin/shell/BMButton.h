#pragma once

#include <QImage>
#include <QPushButton>

// The bitmap push button of nearly every dialog: a normal, a hover and a pressed picture
// stretched over the button (magenta shows the dialog through) and a bold centred caption.
class CBMButton : public QPushButton {
  Q_OBJECT

 public:
  explicit CBMButton(const QString& text, QWidget* parent = nullptr);
  // A dialog's button: its control id as object name, placed at `place`.
  CBMButton(const QString& text, int id, const QRect& place, QWidget* parent);

  bool IsHovered() const { return m_bHover; }

  // Caption colours: normal, over or pressed, disabled.
  static QColor NormalTextColor() { return QColor(0, 0, 139); }
  static QColor ActiveTextColor() { return QColor(255, 255, 255); }
  static QColor DisabledTextColor() { return QColor(210, 210, 210); }

 protected:
  void LoadBitmaps(int normal, int hover, int pressed);
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage m_normal;
  QImage m_hover;
  QImage m_pressed;
  bool m_bHover = false;
};
