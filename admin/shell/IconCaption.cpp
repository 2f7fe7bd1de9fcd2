#include "admin/shell/IconCaption.h"

#include "admin/shell/BMButton.h"

#include <QPainter>

void DrawIconAndCaption(QPainter& painter, const QRect& item, const QPixmap& icon, const QString& caption,
                        bool pressed) {
  const int shift = pressed ? 1 : 0;
  if (!icon.isNull()) {
    const QSize size = icon.deviceIndependentSize().toSize();
    const int left = caption.isEmpty() ? item.left() + (item.width() - size.width()) / 2 : item.left() + 3;
    const int top = item.top() + (item.height() - size.height()) / 2;
    painter.drawPixmap(QPoint(left + 5 + shift, top + shift), icon);
  }
  if (caption.isEmpty()) return;
  QRect text = item;
  if (!icon.isNull()) text.setLeft(item.left() + icon.deviceIndependentSize().toSize().width() + 18);
  text.translate(shift, shift);
  painter.setPen(pressed ? CBMButton::ActiveTextColor() : CBMButton::NormalTextColor());
  painter.drawText(text, static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine), caption);
}
