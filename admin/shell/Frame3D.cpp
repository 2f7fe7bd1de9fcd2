#include "admin/shell/Frame3D.h"

#include <QPainter>

void Draw3dRect(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight) {
  if (rect.width() <= 0 || rect.height() <= 0) return;
  painter.fillRect(QRect(rect.left(), rect.top(), rect.width() - 1, 1), topLeft);
  painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height() - 1), topLeft);
  painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
  painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
}
