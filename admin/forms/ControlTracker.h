#pragma once

#include <QRect>
#include <QWidget>

// The selection frame around the selected control preview: a hatched band as wide as the
// keyboard step round the control and eight square handles outside it. It only paints; the
// designer page gets every mouse event, asks the tracker where a point lies on it and decides
// when it shows.
class CControlTracker : public QWidget {
  Q_OBJECT

 public:
  // Where a point lies on the tracker: on a handle, inside, or off it.
  enum class Hit { None, Inside, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

  static constexpr int kHandleSize = 5;

  explicit CControlTracker(QWidget* parent);

  // Frames the control rectangle (parent coordinates), the keyboard step outside it.
  void SetControlRect(const QRect& control);
  // The control rectangle the tracker frames now.
  QRect ControlRect() const;
  // The framed rectangle: the control's widened by the keyboard step.
  QRect TrackerRect() const { return m_tracker; }

  Hit HitTest(const QPoint& point) const;
  // The framed rectangle after dragging what `hit` names by `delta`: inside moves it whole, a
  // handle moves its edges.
  static QRect Dragged(const QRect& tracker, Hit hit, const QPoint& delta);
  // Frames a rectangle while it is dragged, without changing the control.
  void ShowTrackerRect(const QRect& tracker);
  // Frames nothing: no control is selected.
  void Clear();
  bool IsActive() const { return !m_tracker.isNull(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect HandleRect(Hit handle) const;

  QRect m_tracker;
};
