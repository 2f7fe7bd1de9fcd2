#include "admin/forms/ColorChooser.h"

#include <QColorDialog>

namespace {

ColorChooser& Replacement() {
  static ColorChooser chooser;
  return chooser;
}

}  // namespace

std::optional<QColor> ChooseColor(const QColor& initial, QWidget* parent) {
  if (Replacement()) return Replacement()(initial, parent);
  const QColor chosen = QColorDialog::getColor(initial, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

void SetColorChooser(ColorChooser chooser) { Replacement() = std::move(chooser); }
