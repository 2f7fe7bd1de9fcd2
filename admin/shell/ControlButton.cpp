#include "admin/shell/ControlButton.h"

#include "admin/foundation/FormCodes.h"
#include "shared/formtext/FormTextRecords.h"

#include <QPainter>

#include <cmath>

namespace {

// Field pictures, drawn small and stretched over the whole control as a bitmap would be.
QImage FieldPicture(int height, bool dropButton) {
  QImage image(69, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(QColor(127, 157, 185));
  painter.drawRect(0, 0, image.width() - 1, image.height() - 1);
  if (dropButton) {
    const QRect button(image.width() - 11, 1, 10, image.height() - 2);
    painter.fillRect(button, QColor(193, 211, 251));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(77, 97, 133));
    const int middle = button.center().y();
    const QPointF arrow[] = {{button.left() + 2.5, middle - 1.5}, {button.right() - 1.5, middle - 1.5},
                             {button.center().x() + 0.5, middle + 2.0}};
    painter.drawPolygon(arrow, 3);
  }
  return image;
}

// Rounds as Windows' MulDiv does: to the nearest, halves away from zero.
int MulDiv(int number, int numerator, int denominator) {
  return static_cast<int>(std::lround(static_cast<double>(number) * numerator / denominator));
}

}  // namespace

CControlButton::CControlButton(int type, QWidget* parent) : QWidget(parent), m_nType(type) {
  m_strAlign = type == kLabel ? QStringLiteral("Right")
               : type == kButton ? QStringLiteral("Center")
                                 : QStringLiteral("Left");
  QFont font(QStringLiteral("Verdana"));
  font.setPixelSize(14);
  font.setWeight(QFont::Bold);
  setFont(font);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  LoadTypePicture();
}

void CControlButton::LoadTypePicture() {
  switch (m_nType) {
    case kComboBox:
    case kDateTime:
      m_typePicture = FieldPicture(11, true);
      break;
    case kTextBox:
    case kFormulaField:
    case kConditionalField:
      m_typePicture = FieldPicture(9, false);
      break;
    default:
      m_typePicture = QImage();
      break;
  }
}

void CControlButton::SetControlType(int checked) {
  m_bChecked = checked != 0;
  LoadTypePicture();
  update();
}

void CControlButton::SetFontSize(int points) {
  QFont changed = font();
  changed.setPixelSize(qMax(1, MulDiv(points, logicalDpiY(), 72)));
  setFont(changed);
  update();
}

void CControlButton::SetFontStyle(int style) {
  QFont changed = font();
  changed.setWeight(style == 2 || style == 3 ? QFont::Bold : QFont::Normal);
  changed.setItalic(style == 1 || style == 3);
  setFont(changed);
  update();
}

void CControlButton::SetFontFace(int face) {
  QFont changed = font();
  changed.setFamily(GetFontNameText(face));
  setFont(changed);
  update();
}

void CControlButton::SetAlignText(const QString& align) {
  m_strAlign = align;
  update();
}

void CControlButton::SetWindowText(const QString& text) {
  m_strText = text;
  update();
}

void CControlButton::SetTextColor(const QColor& color) {
  m_textColor = color;
  update();
}

void CControlButton::SetBackgroundColor(const QColor& color) {
  m_backgroundColor = color;
  update();
}

void CControlButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect client = rect();
  if (m_typePicture.isNull())
    painter.fillRect(client, m_backgroundColor);
  else
    painter.drawImage(client, m_typePicture);
  if (m_nType == kCheckBox) DrawCheckBox(painter, client);
  if (m_nType == kRadioButton) DrawRadioButton(painter, client);
  DrawCaption(painter, CaptionRect(client));
  if (m_nType == kButton) {  // a button's window has a border
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(client.adjusted(0, 0, -1, -1));
  }
}

void CControlButton::DrawCheckBox(QPainter& painter, const QRect& client) const {
  const int left = client.left();
  const int middle = client.top() + client.height() / 2;
  painter.setPen(Qt::black);
  painter.setBrush(Qt::white);
  painter.drawRect(left + 5, middle - 10, 19, 19);
  if (!m_bChecked) return;
  painter.setPen(QPen(QColor(255, 0, 0), 5));
  const QPoint tick[] = {{left + 10, middle - 5}, {left + 15, middle + 5}, {left + 30, middle - 15}};
  painter.drawPolyline(tick, 3);
}

void CControlButton::DrawRadioButton(QPainter& painter, const QRect& client) const {
  const int left = client.left();
  const int middle = client.top() + client.height() / 2;
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::white);
  painter.drawEllipse(QRectF(left + 5, middle - 10, 19, 19));
  if (m_bChecked) {
    painter.setPen(QPen(QColor(0, 0, 255), 2));
    painter.setBrush(QColor(0, 0, 255));
    painter.drawEllipse(QRectF(left + 9, middle - 6, 11, 11));
  }
  painter.setRenderHint(QPainter::Antialiasing, false);
}

QRect CControlButton::CaptionRect(const QRect& client) const {
  switch (m_nType) {
    case kCheckBox:
    case kRadioButton:
      return client.adjusted(31, 0, 0, 0);
    case kComboBox:
    case kDateTime:
      return client.adjusted(2, 0, -11, 0);
    case kButton:
      return client.adjusted(3, 0, -3, 0);
    case kTextBox:
    case kFormulaField:
    case kConditionalField:
      return client.adjusted(2, 0, 0, 0);
    default:
      return client;
  }
}

void CControlButton::DrawCaption(QPainter& painter, const QRect& area) const {
  Qt::Alignment align = Qt::AlignLeft;
  if (m_strAlign == QStringLiteral("Center")) align = Qt::AlignHCenter;
  if (m_strAlign == QStringLiteral("Right")) align = Qt::AlignRight;
  painter.setPen(m_textColor);
  painter.setFont(font());
  const QString shown = painter.fontMetrics().elidedText(m_strText, Qt::ElideRight, area.width());
  painter.drawText(area, static_cast<int>(align | Qt::AlignVCenter | Qt::TextSingleLine), shown);
}

void SetControlAlignment(const QString& align, CControlButton* window) {
  if (window != nullptr) window->SetAlignText(align);
}
