#include "admin/shell/StaticExG.h"

#include "admin/shell/Bitmaps.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/IconCaption.h"

#include <QPainter>

CStaticExG::CStaticExG(const QString& text, QWidget* parent)
    : QWidget(parent), m_strText(text), m_normal(LoadMaskedBitmap(172)), m_pressed(LoadMaskedBitmap(170)) {
  setFont(MakeFont(QStringLiteral("Verdana"), 18, 700));
}

void CStaticExG::setText(const QString& text) {
  m_strText = text;
  update();
}

int CStaticExG::SetIcon(const QPixmap& icon) {
  m_icon = icon;
  update();
  return icon.isNull() ? 0 : 1;
}

void CStaticExG::SetPressedLook(bool pressed) {
  m_bPressedLook = pressed;
  update();
}

void CStaticExG::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  m_bHover = true;
  update();
}

void CStaticExG::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  m_bHover = false;
  update();
}

void CStaticExG::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect item = rect();
  painter.setFont(font());
  if (m_bPressedLook) {
    painter.drawImage(item, m_pressed);
  } else if (m_bHover) {
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(item.adjusted(0, 0, -1, -1));
    painter.drawImage(item, m_normal);
  }
  DrawIconAndCaption(painter, item, m_icon, m_strText, m_bPressedLook);
}
