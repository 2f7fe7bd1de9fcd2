#include "admin/shell/BMSmallButton.h"

CBMSmallButton::CBMSmallButton(const QString& text, QWidget* parent) : CBMButton(text, parent) {
  LoadBitmaps(173, 177, 176);
}
