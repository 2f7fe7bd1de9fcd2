#include "admin/forms/PropertiesGoToFormButtonCtrl.h"

#include "admin/shell/Bitmaps.h"
#include "admin/shell/DialogLook.h"

#include <QMouseEvent>
#include <QPainter>

CPropertiesGoToFormButtonCtrl::CPropertiesGoToFormButtonCtrl(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent), m_face(LoadMaskedBitmap(236)) {
  setFont(MakeFont(QStringLiteral("Verdana"), 14, 700));
  connect(this, &QPushButton::clicked, this, [this] {
    if (m_nPressX >= kChooserLeft) Q_EMIT Changed();
    m_nPressX = -1;
  });
}

void CPropertiesGoToFormButtonCtrl::mousePressEvent(QMouseEvent* event) {
  m_nPressX = event->position().toPoint().x();
  QPushButton::mousePressEvent(event);
}

void CPropertiesGoToFormButtonCtrl::enterEvent(QEnterEvent* event) {
  QPushButton::enterEvent(event);
  m_bHover = true;
  update();
}

void CPropertiesGoToFormButtonCtrl::leaveEvent(QEvent* event) {
  QPushButton::leaveEvent(event);
  m_bHover = false;
  update();
}

// The grid shows through the face's magenta; the caption stays clear of the chooser's end.
void CPropertiesGoToFormButtonCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), m_face);
  painter.setFont(font());
  painter.setPen(Qt::black);
  const QRect captionRect(2, 3, width() - 30 - 2, height() - 3);
  painter.drawText(captionRect, static_cast<int>(Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine), text());
}
