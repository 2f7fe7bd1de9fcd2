#include "admin/forms/CanvasGeometry.h"

#include <Qt>

namespace canvas {

QSize CanvasSize(DeviceType deviceType) {
  return deviceType == DeviceType::IPad ? QSize(kTabletWidth, kTabletHeight) : QSize(kPhoneWidth, kPhoneHeight);
}

std::optional<QColor> SkinFormColor(DeviceType deviceType) {
  switch (deviceType) {
    case DeviceType::IPhone: return QColor(197, 204, 212);
    case DeviceType::IPad: return QColor(233, 233, 233);
    default: return std::nullopt;
  }
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

std::optional<QRect> MoveByKey(int type, const QRect& rect, int key, bool shift, const QRect& canvas) {
  int dx = 0;
  int dy = 0;
  switch (key) {
    case Qt::Key_Left: dx = -kKeyboardStep; break;
    case Qt::Key_Right: dx = kKeyboardStep; break;
    case Qt::Key_Up: dy = -kKeyboardStep; break;
    case Qt::Key_Down: dy = kKeyboardStep; break;
    default: return std::nullopt;
  }
  const QRect moved = shift ? rect.adjusted(0, 0, dx, dy) : rect.translated(dx, dy);
  if (!Fits(type, moved, canvas)) return std::nullopt;
  return moved;
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
