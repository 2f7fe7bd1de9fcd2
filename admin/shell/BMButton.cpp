#include "admin/shell/BMButton.h"

#include "admin/shell/Bitmaps.h"
#include "admin/shell/DialogLook.h"

#include <QPainter>

CBMButton::CBMButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  setFont(MakeFont(QStringLiteral("Verdana"), 14, 700));
  setAutoDefault(false);
  LoadBitmaps(172, 171, 170);
}

CBMButton::CBMButton(const QString& text, int id, const QRect& place, QWidget* parent) : CBMButton(text, parent) {
  setObjectName(QString::number(id));
  setGeometry(place);
}

void CBMButton::LoadBitmaps(int normal, int hover, int pressed) {
  m_normal = LoadMaskedBitmap(normal);
  m_hover = LoadMaskedBitmap(hover);
  m_pressed = LoadMaskedBitmap(pressed);
  update();
}

void CBMButton::enterEvent(QEnterEvent* event) {
  QPushButton::enterEvent(event);
  m_bHover = true;
  update();
}

void CBMButton::leaveEvent(QEvent* event) {
  QPushButton::leaveEvent(event);
  m_bHover = false;
  update();
}

// Hover first; a pressed or disabled look is drawn over it, as the pictures were designed.
void CBMButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect item = rect();
  QColor caption = NormalTextColor();
  if (m_bHover) {
    painter.drawImage(item, m_hover);
    caption = ActiveTextColor();
  }
  if (isDown()) {
    painter.drawImage(item, m_pressed);
    caption = ActiveTextColor();
  } else if (!isEnabled()) {
    painter.drawImage(item, m_normal);
    caption = DisabledTextColor();
  } else if (!m_bHover) {
    painter.drawImage(item, m_normal);
  }
  painter.setPen(caption);
  painter.setFont(font());
  painter.drawText(item, static_cast<int>(Qt::AlignCenter | Qt::TextSingleLine), text());
}
