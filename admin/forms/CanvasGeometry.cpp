#include "admin/forms/CanvasGeometry.h"

namespace canvas {

QSize CanvasSize(DeviceType deviceType) {
  return deviceType == DeviceType::IPad ? QSize(kTabletWidth, kTabletHeight) : QSize(kPhoneWidth, kPhoneHeight);
}

QString TooManyTabsMessage() { return QString(kTooManyTabs).replace(QStringLiteral("%d"), QString::number(kMaxTabs)); }

int MinWidth(int type) {
  switch (type) {
    case kLabel:
    case kButton:
      return 20;
    case kCheckBox:
    case kRadioButton:
      return 30;
    default:
      return 40;
  }
}

bool Fits(int type, const QRect& rect, const QRect& canvas) {
  return canvas.contains(rect.topLeft()) && canvas.contains(rect.bottomRight()) && rect.width() >= MinWidth(type) &&
         rect.height() >= kMinHeight && rect.height() <= canvas.height();
}

std::optional<QRect> PlacementRect(const QPoint& click, const QRect& canvas, const std::vector<QRect>& previews) {
  for (const QRect& preview : previews)
    if (preview.contains(click)) return std::nullopt;
  const QRect rect(click, kNewControlSize);
  if (!canvas.contains(rect.topLeft()) || !canvas.contains(rect.bottomRight())) return std::nullopt;
  return rect;
}

int HitTest(const QPoint& point, const std::vector<QRect>& previews) {
  constexpr int margin = 2 * kKeyboardStep;
  int hit = -1;
  for (size_t i = 0; i < previews.size(); ++i)
    if (previews[i].adjusted(-margin, -margin, margin, margin).contains(point)) hit = static_cast<int>(i);
  return hit;
}

}  // namespace canvas
