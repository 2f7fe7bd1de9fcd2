#include "admin/forms/ControlTracker.h"

#include "admin/forms/CanvasGeometry.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

constexpr std::array kHandles = {
    CControlTracker::Hit::TopLeft,     CControlTracker::Hit::Top,    CControlTracker::Hit::TopRight,
    CControlTracker::Hit::Right,       CControlTracker::Hit::BottomRight, CControlTracker::Hit::Bottom,
    CControlTracker::Hit::BottomLeft,  CControlTracker::Hit::Left};

constexpr QMargins kStep(canvas::kKeyboardStep, canvas::kKeyboardStep, canvas::kKeyboardStep, canvas::kKeyboardStep);
constexpr QMargins kHandleRoom(CControlTracker::kHandleSize, CControlTracker::kHandleSize,
                               CControlTracker::kHandleSize, CControlTracker::kHandleSize);

}  // namespace

CControlTracker::CControlTracker(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ControlTracker"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
}

void CControlTracker::SetControlRect(const QRect& control) { ShowTrackerRect(control.marginsAdded(kStep)); }

QRect CControlTracker::ControlRect() const { return m_tracker.marginsRemoved(kStep); }

void CControlTracker::ShowTrackerRect(const QRect& tracker) {
  m_tracker = tracker;
  setGeometry(tracker.marginsAdded(kHandleRoom));
  update();
}

void CControlTracker::Clear() {
  m_tracker = QRect();
  hide();
}

QRect CControlTracker::HandleRect(Hit handle) const {
  const QRect& r = m_tracker;
  const int size = kHandleSize;
  const int midX = r.left() + (r.width() - size) / 2;
  const int midY = r.top() + (r.height() - size) / 2;
  const int left = r.left() - size;
  const int top = r.top() - size;
  const int right = r.right() + 1;
  const int bottom = r.bottom() + 1;
  switch (handle) {
    case Hit::TopLeft: return {left, top, size, size};
    case Hit::Top: return {midX, top, size, size};
    case Hit::TopRight: return {right, top, size, size};
    case Hit::Right: return {right, midY, size, size};
    case Hit::BottomRight: return {right, bottom, size, size};
    case Hit::Bottom: return {midX, bottom, size, size};
    case Hit::BottomLeft: return {left, bottom, size, size};
    case Hit::Left: return {left, midY, size, size};
    default: return {};
  }
}

CControlTracker::Hit CControlTracker::HitTest(const QPoint& point) const {
  if (!IsActive()) return Hit::None;
  for (Hit handle : kHandles)
    if (HandleRect(handle).contains(point)) return handle;
  return m_tracker.contains(point) ? Hit::Inside : Hit::None;
}

QRect CControlTracker::Dragged(const QRect& tracker, Hit hit, const QPoint& delta) {
  QRect r = tracker;
  const int dx = delta.x();
  const int dy = delta.y();
  switch (hit) {
    case Hit::Inside: return r.translated(delta);
    case Hit::TopLeft: r.setTopLeft(r.topLeft() + delta); break;
    case Hit::Top: r.setTop(r.top() + dy); break;
    case Hit::TopRight: r.setTopRight(r.topRight() + delta); break;
    case Hit::Right: r.setRight(r.right() + dx); break;
    case Hit::BottomRight: r.setBottomRight(r.bottomRight() + delta); break;
    case Hit::Bottom: r.setBottom(r.bottom() + dy); break;
    case Hit::BottomLeft: r.setBottomLeft(r.bottomLeft() + delta); break;
    case Hit::Left: r.setLeft(r.left() + dx); break;
    case Hit::None: break;
  }
  return r.normalized();
}

void CControlTracker::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPoint origin = geometry().topLeft();
  const QRect tracker = m_tracker.translated(-origin);
  QPainterPath band;
  band.addRect(tracker);
  band.addRect(tracker.marginsRemoved(kStep));
  painter.fillPath(band, QBrush(Qt::black, Qt::BDiagPattern));
  for (Hit handle : kHandles) painter.fillRect(HandleRect(handle).translated(-origin), Qt::black);
}
