#pragma once

#include "shared/formtext/FormTextRecords.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

// The designer canvas's rules of place and size, free of any window.
namespace canvas {

// The canvas is as wide as the device's screen; the heights are the designer's own.
inline constexpr int kPhoneWidth = 320;
inline constexpr int kPhoneHeight = 416;
inline constexpr int kTabletWidth = 768;
inline constexpr int kTabletHeight = 600;
// The canvas of the device type: a tablet's for the iPad, a phone's for the rest.
QSize CanvasSize(DeviceType deviceType);
// The form colour a device's skin starts with (iPhone, iPad); nothing for other devices, whose
// forms keep their stored or first colour.
std::optional<QColor> SkinFormColor(DeviceType deviceType);

// A control placed by a click starts this big, its top-left at the click.
inline constexpr QSize kNewControlSize(70, 25);
// Arrow keys move or resize by this much; the tracker stands this far outside the control.
inline constexpr int kKeyboardStep = 3;
inline constexpr int kMinHeight = 25;

inline constexpr int kMaxTabs = 4;
inline const QString kTooManyTabs = QStringLiteral("Only %d Tab Form are allowed to create.");
// The tab-limit message as shown, with the limit filled in.
QString TooManyTabsMessage();

// Narrowest a control of the type may get: 20 for a Label or Button, 30 for a CheckBox or
// RadioButton, 40 for the rest.
int MinWidth(int type);
// Whether a control of the type may take the rectangle: both corners inside the canvas, no
// narrower than its minimum, no lower than 25, no higher than the canvas.
bool Fits(int type, const QRect& rect, const QRect& canvas);
// Where an arrow key takes a control: Left, Up, Right, Down move it by the keyboard step; with
// Shift they move its right edge (Left narrower, Right wider) or bottom edge (Up lower, Down
// taller). Nothing when the result does not fit (Fits) or the key is no arrow.
std::optional<QRect> MoveByKey(int type, const QRect& rect, int key, bool shift, const QRect& canvas);
// The rectangle of a control placed at the click; nothing when it would leave the canvas or the
// click is on a control (`previews`).
std::optional<QRect> PlacementRect(const QPoint& click, const QRect& canvas, const std::vector<QRect>& previews);
// The index of the control a press selects: the last whose rectangle, widened by twice the
// keyboard step on every side, holds the point; -1 for none.
int HitTest(const QPoint& point, const std::vector<QRect>& previews);

}  // namespace canvas
