#include "admin/shell/DialogLook.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QPalette>
#include <QWidget>

#include <cmath>
#include <cstdlib>

namespace {

// Sizes the font so that its cell (ascent + descent) is `cellHeight` pixels.
int CharacterHeightForCell(QFont font, int cellHeight) {
  font.setPixelSize(cellHeight);
  const int cell = QFontMetrics(font).height();
  if (cell <= 0) return cellHeight;
  return std::max(1, static_cast<int>(std::lround(static_cast<double>(cellHeight) * cellHeight / cell)));
}

}  // namespace

QFont MakeFont(const QString& face, int height, int weight) {
  QFont font(face);
  font.setWeight(static_cast<QFont::Weight>(weight));
  if (height != 0) font.setPixelSize(height > 0 ? CharacterHeightForCell(font, height) : std::abs(height));
  return font;
}

QColor DialogBrushColor() { return QColor(210, 210, 255); }

void ApplyDialogBrush(QWidget* dialog) {
  QPalette palette = dialog->palette();
  palette.setColor(QPalette::Window, DialogBrushColor());
  dialog->setPalette(palette);
  dialog->setAutoFillBackground(true);
}

QGroupBox* AddFrame(QWidget* dialog, const QString& id, const QRect& place, const QString& title) {
  auto* frame = new QGroupBox(title, dialog);
  frame->setObjectName(id);
  frame->setGeometry(place);
  frame->lower();
  return frame;
}
