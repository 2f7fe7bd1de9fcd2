#include "admin/shell/Separator.h"

#include <QPainter>

CSeparator::CSeparator(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

void CSeparator::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawSeparator(painter);
}

void CSeparator::DrawSeparator(QPainter& painter) const {
  const QRect client = rect();
  const QColor shadow = palette().color(QPalette::Dark);
  const QColor highlight = palette().color(QPalette::Light);
  if (client.width() < client.height()) {
    const int x = client.left() + (client.width() - 1) / 2;
    painter.fillRect(x, client.top() + 2, 1, client.height() - 4, shadow);
    painter.fillRect(x + 1, client.top() + 2, 1, client.height() - 4, highlight);
  } else {
    const int y = client.top() + (client.height() - 1) / 2;
    painter.fillRect(client.left() + 2, y, client.width() - 4, 1, shadow);
    painter.fillRect(client.left() + 2, y + 1, client.width() - 4, 1, highlight);
  }
}
