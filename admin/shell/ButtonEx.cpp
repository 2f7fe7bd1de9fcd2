#include "admin/shell/ButtonEx.h"

#include "admin/shell/Bitmaps.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/IconCaption.h"

#include <QPainter>

CButtonEx::CButtonEx(const QString& text, QWidget* parent)
    : QPushButton(text, parent), m_normal(LoadMaskedBitmap(172)), m_pressed(LoadMaskedBitmap(170)) {
  setFont(MakeFont(QStringLiteral("Verdana"), 18, 700));
  setAutoDefault(false);
}

int CButtonEx::SetIcon(const QPixmap& icon) {
  m_icon = icon;
  update();
  return icon.isNull() ? 0 : 1;
}

void CButtonEx::SetBackground(bool fill, const QColor& color) {
  m_bFillBackground = fill;
  m_backgroundColor = color;
  update();
}

void CButtonEx::enterEvent(QEnterEvent* event) {
  QPushButton::enterEvent(event);
  m_bHover = true;
  update();
}

void CButtonEx::leaveEvent(QEvent* event) {
  QPushButton::leaveEvent(event);
  m_bHover = false;
  update();
}

void CButtonEx::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect item = rect();
  if (m_bFillBackground) painter.fillRect(item, m_backgroundColor);
  painter.setFont(font());
  if (m_bHover) {
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(item.adjusted(0, 0, -1, -1));
    painter.drawImage(item, m_normal);
  }
  if (isDown())
    painter.drawImage(item, m_pressed);
  else if (!isEnabled())
    painter.drawImage(item, m_normal);
  DrawIconAndCaption(painter, item, m_icon, text(), isDown());
}
