#include "admin/forms/PropertiesButtonCtrl.h"

#include <QPainter>

CPropertiesButtonCtrl::CPropertiesButtonCtrl(const QColor& colour, QWidget* parent)
    : QPushButton(parent), m_colour(colour) {
  connect(this, &QPushButton::clicked, this, [this] {
    Q_EMIT Activated();
    Q_EMIT Changed();
  });
}

void CPropertiesButtonCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), m_colour);
}
