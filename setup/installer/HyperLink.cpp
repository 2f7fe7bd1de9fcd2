#include "setup/installer/HyperLink.h"

#include <QMouseEvent>
#include <QPainter>

CHyperLink::CHyperLink(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_TranslucentBackground);
}

void CHyperLink::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(m_bHovered ? HoverColor() : NormalColor());
  painter.drawText(rect(), Qt::AlignCenter, text());
}

void CHyperLink::enterEvent(QEnterEvent* event) {
  m_bHovered = true;
  update();
  QLabel::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event) {
  m_bHovered = false;
  update();
  QLabel::leaveEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Q_EMIT clicked();
  QLabel::mouseReleaseEvent(event);
}
