#pragma once

#include "admin/shell/DatabaseGrid.h"

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QTimer>

class QPushButton;

// The preview of a profile page's rows: a database grid under a 10-pixel band by which the
// user drags the borderless window. It lives with its page; hiding it detaches the grid, so the
// page hands the source again each time it shows the preview, and nothing dangles meanwhile.
class CPopupDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kCloseButtonId = 1080;
  static constexpr int kDragBand = 10;
  static constexpr int kDragTimerMs = 50;

  explicit CPopupDlg(QWidget* page = nullptr);

  CDatabaseGrid& Grid() { return m_grid; }
  bool IsDragging() const { return m_bDragging; }

 Q_SIGNALS:
  // A command for the page: kCloseButtonId when the user presses Esc.
  void Command(int id);

 public Q_SLOTS:
  void reject() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FollowDrag();

  CDatabaseGrid m_grid;
  QPushButton* m_closeButton;
  QTimer m_dragTimer;
  bool m_bDragging = false;
  QPoint m_dragStartCursor;
  QPoint m_lastCursor;
  QRect m_dragStartWindow;
};
