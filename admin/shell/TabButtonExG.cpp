#include "admin/shell/TabButtonExG.h"

#include <QPainter>

CTabButtonExG::CTabButtonExG(const QString& title, QWidget* parent)
    : QWidget(parent), m_strTitle(title) {
  QFont font(QStringLiteral("Verdana"));
  font.setPixelSize(14);
  font.setWeight(QFont::Bold);
  setFont(font);
}

QColor CTabButtonExG::SelectedColor() { return QColor(38, 72, 150); }
QColor CTabButtonExG::UnselectedColor() { return QColor(120, 136, 170); }

void CTabButtonExG::SetSelected(bool selected) {
  m_bSelected = selected;
  update();
}

void CTabButtonExG::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(m_bSelected ? SelectedColor() : UnselectedColor());
  // The tab's top corners are rounded; its bottom edge meets the canvas.
  const QRectF body = QRectF(rect()).adjusted(1, 1, -1, 0);
  painter.drawRoundedRect(body.adjusted(0, 0, 0, 6), 6, 6);
  if (m_strTitle.isEmpty()) return;
  painter.setPen(Qt::white);
  const QRect text = rect().adjusted(3, 0, -3, 0);
  painter.drawText(text, static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine),
                   m_strTitle);
}
