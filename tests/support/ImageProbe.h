#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace testsupport {

// Whether any pixel of `area` has exactly `colour`.
inline bool Holds(const QImage& image, const QRect& area, const QColor& colour) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixelColor(x, y) == colour) return true;
  return false;
}

}  // namespace testsupport
