#pragma once

#include "admin/shell/BMButton.h"

// The narrow variant of the bitmap button, with the small set of pictures.
class CBMSmallButton : public CBMButton {
  Q_OBJECT

 public:
  explicit CBMSmallButton(const QString& text, QWidget* parent = nullptr);
};
