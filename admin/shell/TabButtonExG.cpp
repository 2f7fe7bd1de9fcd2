#include "admin/shell/TabButtonExG.h"

#include "admin/shell/Bitmaps.h"
#include "admin/shell/DialogLook.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScreen>

namespace {

// Rounds half away from zero, as the platform's multiply-divide does.
int MulDiv(int number, int numerator, int denominator) {
  const qint64 product = qint64{number} * numerator;
  const qint64 half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

}  // namespace

CTabButtonExG::CTabButtonExG(const QString& title, int id, QWidget* parent)
    : CButtonEx(title, parent), m_nId(id), m_picture(LoadMaskedBitmap(kUnselectedBitmap)) {
  setFont(MakeFont(QStringLiteral("Verdana"), 14, 700));
  setFocusPolicy(Qt::TabFocus);
  connect(this, &QPushButton::clicked, this, [this] { Q_EMIT TabClicked(m_nId); });
}

void CTabButtonExG::SetSelected(bool selected) {
  m_bSelected = selected;
  m_picture = LoadMaskedBitmap(selected ? kSelectedBitmap : kUnselectedBitmap);
  update();
}

void CTabButtonExG::SetFontSize(int points) {
  const QScreen* screen = this->screen();
  const int dpi = screen != nullptr ? qRound(screen->logicalDotsPerInchY()) : logicalDpiY();
  QFont sized = font();
  sized.setPixelSize(qMax(1, MulDiv(points, dpi, 72)));
  setFont(sized);
  update();
}

QString CTabButtonExG::GetShownText() const {
  return QFontMetrics(font()).elidedText(text(), Qt::ElideRight, TextRect().width());
}

// The hover and pressed looks of the other transparent buttons are not a tab's.
void CTabButtonExG::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), m_picture);
  if (text().isEmpty()) return;
  painter.setFont(font());
  painter.setPen(Qt::white);
  painter.drawText(TextRect(), static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine),
                   GetShownText());
}
