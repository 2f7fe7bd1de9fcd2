#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPushButton>

// A transparent push button with an icon and a caption: the dialog shows through until the
// mouse is over it or it is pressed; it can fill itself with a colour of its own first.
class CButtonEx : public QPushButton {
  Q_OBJECT

 public:
  explicit CButtonEx(const QString& text, QWidget* parent = nullptr);

  // Replaces the icon; a null icon leaves none. 1 when an icon was set, else 0.
  int SetIcon(const QPixmap& icon);
  void SetBackground(bool fill, const QColor& color);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage m_normal;
  QImage m_pressed;
  QPixmap m_icon;
  bool m_bHover = false;
  bool m_bFillBackground = false;
  QColor m_backgroundColor;
};
