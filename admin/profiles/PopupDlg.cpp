#include "admin/profiles/PopupDlg.h"

#include "admin/shell/DialogLook.h"

#include <QMouseEvent>
#include <QPushButton>

CPopupDlg::CPopupDlg(QWidget* page)
    : QDialog(page, Qt::Tool | Qt::FramelessWindowHint), m_closeButton(new QPushButton(QStringLiteral("#"), this)) {
  setModal(false);
  ApplyDialogBrush(this);
  m_grid.Create(QRect(), this);
  m_grid.SetBkColor(DialogBrushColor());
  m_closeButton->setObjectName(QString::number(kCloseButtonId));
  m_closeButton->setGeometry(0, 0, kDragBand, kDragBand);
  m_closeButton->setFlat(true);
  connect(m_closeButton, &QPushButton::clicked, this, &QWidget::hide);
  m_dragTimer.setInterval(kDragTimerMs);
  connect(&m_dragTimer, &QTimer::timeout, this, &CPopupDlg::FollowDrag);
}

// Esc asks the page to close the preview; the popup itself stays as it is.
void CPopupDlg::reject() { Q_EMIT Command(kCloseButtonId); }

void CPopupDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  m_grid.setGeometry(0, kDragBand, width(), height() - kDragBand);
  m_closeButton->move(width() - kDragBand, 0);
}

// The page frees or re-runs its source while the preview is hidden.
void CPopupDlg::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  m_grid.SetHandler(nullptr);
}

void CPopupDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QDialog::mousePressEvent(event);
    return;
  }
  m_bDragging = true;
  m_dragStartCursor = event->globalPosition().toPoint();
  m_lastCursor = m_dragStartCursor;
  m_dragStartWindow = QRect(pos(), size());
  m_dragTimer.start();
}

void CPopupDlg::mouseMoveEvent(QMouseEvent* event) {
  if (m_bDragging) m_lastCursor = event->globalPosition().toPoint();
  QDialog::mouseMoveEvent(event);
}

void CPopupDlg::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_bDragging) {
    QDialog::mouseReleaseEvent(event);
    return;
  }
  m_lastCursor = event->globalPosition().toPoint();
  FollowDrag();
  m_dragTimer.stop();
  m_bDragging = false;
}

// The window follows the cursor's offset from the press, keeping its size.
void CPopupDlg::FollowDrag() {
  if (!m_bDragging) return;
  const QPoint target = m_dragStartWindow.topLeft() + (m_lastCursor - m_dragStartCursor);
  if (target != pos()) move(target);
}
