#include "admin/shell/HelpDlg.h"

#include "admin/shell/BMSmallButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpTopics.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <climits>

namespace {

constexpr int kBalloonWidth = 320;
constexpr int kCornerRadius = 10;  // 20 x 20 corner ellipses

QColor BalloonColor() { return QColor(255, 255, 224); }
QColor BalloonTextColor() { return QColor(55, 55, 55); }

// Topics 1 to 7 keep the template's width and "X" button.
bool KeepsTemplateLayout(int topic) { return topic >= 1 && topic <= 7; }

}  // namespace

CHelpDlg::CHelpDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_font(MakeFont(QStringLiteral("Verdana"), 13, 400)),
      m_pClose(new CBMSmallButton(QStringLiteral("X"), this)) {
  m_pClose->setObjectName(QStringLiteral("1153"));
  m_pClose->setGeometry(198, 0, 12, 16);
  resize(kTemplateWidth, kTemplateHeight);
  connect(m_pClose, &QPushButton::clicked, this, &QDialog::accept);
}

int CHelpDlg::exec() {
  OnInitDialog();
  return QDialog::exec();
}

int CHelpDlg::MeasureTextHeight(int width) const {
  return QFontMetrics(m_font).boundingRect(QRect(0, 0, width, INT_MAX), Qt::TextWordWrap, m_strText).height();
}

void CHelpDlg::OnInitDialog() {
  m_strText = HelpTopicText(m_nTopic).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  m_layout = QRect(0, 0, kTemplateWidth, kTemplateHeight);
  if (!KeepsTemplateLayout(m_nTopic)) {
    m_layout.setWidth(kBalloonWidth);
    m_pClose->setGeometry(m_layout.left() + 300, 5, 15, 15);
    m_pClose->show();
  }
  m_layout.setHeight(MeasureTextHeight(m_layout.width() - 40) + 30);
  QPainterPath rounded;
  rounded.addRoundedRect(m_layout, kCornerRadius, kCornerRadius);
  setMask(QRegion(rounded.toFillPolygon().toPolygon()));
  setGeometry(m_position.x(), m_position.y(), m_layout.left() + kBalloonWidth, m_layout.bottom() + 1);
}

void CHelpDlg::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(BalloonColor());
  painter.setPen(Qt::black);
  painter.drawRoundedRect(m_layout.adjusted(0, 0, -2, -2), kCornerRadius, kCornerRadius);
  painter.setFont(m_font);
  painter.setPen(BalloonTextColor());
  painter.drawText(m_layout.adjusted(15, 15, -17, 0), Qt::TextWordWrap, m_strText);
}

// Qt keeps the mouse with the balloon from the press to the release, wherever the cursor goes.
void CHelpDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    m_bDragging = true;
    m_dragCursor = event->globalPosition().toPoint();
    m_dragWindow = pos();
  }
  QDialog::mousePressEvent(event);
}

void CHelpDlg::mouseMoveEvent(QMouseEvent* event) {
  const QPoint cursor = event->globalPosition().toPoint();
  if (m_bDragging && cursor != m_dragCursor) move(m_dragWindow + cursor - m_dragCursor);
  QDialog::mouseMoveEvent(event);
}

void CHelpDlg::mouseReleaseEvent(QMouseEvent* event) {
  m_bDragging = false;
  QDialog::mouseReleaseEvent(event);
}
