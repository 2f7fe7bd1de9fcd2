#include "setup/installer/HelpDlg.h"

#include "setup/installer/HyperLink.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <climits>

namespace {

constexpr int kTextInset = 15;
constexpr int kMeasureMargin = 40;
constexpr int kExtraHeight = 30;

}  // namespace

namespace installer {

QString CHelpDlg::TopicText(int topic) {
  switch (topic) {
    case 1:
      return QStringLiteral(
          "\n\rPlease enter unique Computer name and password. The device uses them to find this computer and to "
          "log in to it.\n\rThe computer name must be at least 6 characters long and must not contain any of "
          "/\\*?:\"<>|");
    case 2:
      return QStringLiteral(
          "\n\rPlease Select Device Type properly from DropDown.\n\rBlackBerry: enter the PIN, shown on the "
          "BlackBerry at Settings->Options->Status->PIN.\n\riPhone/iPod Touch/iPad: enter the 40 character UDID, "
          "shown in iTunes on the Summary tab of your device.\n\rPocket PC: enter the IMEI, shown on the phone at "
          "Start->Settings->System->Device Information->Identity->IMEI.");
    case 3:
      return QStringLiteral(
          "\n\rThis setup will install Tarnwick Plus Lite on this computer. \n\rPlease click Next to "
          "continue.");
    default:
      return QStringLiteral(" ");
  }
}

CHelpDlg::CHelpDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_pClose(new CHyperLink(QStringLiteral("x"), this)) {
  m_font.setFamily(QStringLiteral("Tahoma"));
  m_font.setPixelSize(13);
  m_pClose->setObjectName(QStringLiteral("1039"));
  m_pClose->setFont(m_font);
  connect(m_pClose, &CHyperLink::clicked, this, &QDialog::accept);
  SetTopic(0);
}

void CHelpDlg::SetTopic(int topic) {
  m_strText = TopicText(topic);
  const QString shown = QString(m_strText).replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  const int textHeight = QFontMetrics(m_font)
                             .boundingRect(QRect(0, 0, kWidth - kMeasureMargin, INT_MAX), Qt::TextWordWrap, shown)
                             .height();
  setFixedSize(kWidth, textHeight + kExtraHeight);
  m_pClose->setGeometry(kWidth - 24, 4, 14, 14);
  QPainterPath rounded;
  rounded.addRoundedRect(QRectF(rect()), kCornerDiameter / 2.0, kCornerDiameter / 2.0);
  setMask(QRegion(rounded.toFillPolygon().toPolygon()));
}

void CHelpDlg::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), BackgroundColor());
  painter.setPen(TextColor());
  painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerDiameter / 2.0, kCornerDiameter / 2.0);
  painter.setFont(m_font);
  const QString shown = QString(m_strText).replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  painter.drawText(rect().adjusted(kTextInset, kTextInset, -kTextInset, 0), Qt::TextWordWrap, shown);
}

void CHelpDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    m_bDragging = true;
    m_dragOffset = event->globalPosition().toPoint() - pos();
  }
  QDialog::mousePressEvent(event);
}

void CHelpDlg::mouseMoveEvent(QMouseEvent* event) {
  if (m_bDragging) move(event->globalPosition().toPoint() - m_dragOffset);
  QDialog::mouseMoveEvent(event);
}

void CHelpDlg::mouseReleaseEvent(QMouseEvent* event) {
  m_bDragging = false;
  QDialog::mouseReleaseEvent(event);
}

}  // namespace installer
