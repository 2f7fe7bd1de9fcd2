#include "admin/shell/GridCtrl.h"

#include "admin/shell/Frame3D.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// The widest range a scroll bar is given; a longer grid scrolls in steps of several pixels.
constexpr int64_t kScrollBarLimit = std::numeric_limits<int>::max() / 2;
constexpr int kBoldWeight = 600;

int ToViewport(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, -kScrollBarLimit, kScrollBarLimit));
}

int64_t CeilDiv(int64_t value, int64_t divisor) { return (value + divisor - 1) / divisor; }

// The row or column a press at `position` sizes, over cell `index` that starts at `start` and is
// `length` long: the cell itself near its far edge, the one before near its near edge; -1 when
// neither is near.
int SizedAt(int position, int start, int length, int index) {
  if (std::abs(position - (start + length)) <= CGridCtrl::kSizingTolerance) return index;
  if (index != 0 && std::abs(position - start) <= CGridCtrl::kSizingTolerance) return index - 1;
  return -1;
}

}  // namespace

CGridCtrl::CGridCtrl(QWidget* parent)
    : QAbstractScrollArea(parent), m_nWheelScrollLines(QApplication::wheelScrollLines()) {
  setFont(QApplication::font("QMessageBox"));
  // The font's measures apply from Create on; until then the sizes are these.
  m_nDefCellWidth = 30;
  m_nHeaderHeight = 18;
  m_nRowHeight = 18;
  m_nMargin = fontMetrics().horizontalAdvance(u' ');
  FollowSystemColours();
  m_crTextColour = m_systemColours.windowText;
  m_crFixedTextColour = m_systemColours.windowText;
  m_crTextBkColour = m_systemColours.window;
  m_crFixedBkColour = m_systemColours.buttonFace;
  m_crBkColour = m_systemColours.buttonShadow;
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  for (const Qt::Orientation orientation : {Qt::Vertical, Qt::Horizontal}) {
    QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    connect(bar, &QScrollBar::actionTriggered, this,
            [this, orientation](int action) { OnScrollAction(orientation, action); });
  }
}

CGridCtrl::~CGridCtrl() = default;

bool CGridCtrl::Create(const QRect& rect, QWidget* parent) {
  setParent(parent);
  setObjectName(QString::number(kControlId));
  setGeometry(rect);
  ApplyFont();
  m_arColWidths.assign(static_cast<std::size_t>(m_nCols), m_nDefCellWidth);
  show();
  RecomputeScrollBars();
  return true;
}

// ---- dimensions

void CGridCtrl::SetDimensions(int columns, int rows) {
  m_idCurrentCell = {};
  const bool columnsChanged = columns != m_nCols;
  m_nCols = std::max(0, columns);
  m_nRows = std::max(0, rows);
  if (columnsChanged) {
    ResizeWidths(true);
    m_nVScrollPos = 0;
    m_nHScrollPos = 0;
  }
  RecomputeScrollBars();
  viewport()->update();
}

void CGridCtrl::SetRowCount(int rows) {
  m_idCurrentCell = {};
  m_nRows = std::max(0, rows);
  RecomputeScrollBars();
  viewport()->update();
}

void CGridCtrl::SetColumnCount(int columns) {
  columns = std::max(0, columns);
  if (columns == m_nCols) return;
  m_nCols = columns;
  m_nFixedCols = std::min(m_nFixedCols, columns);
  if (m_idCurrentCell.col >= columns) m_idCurrentCell = {};
  ResizeWidths(false);
  RecomputeScrollBars();
  viewport()->update();
}

void CGridCtrl::SetFixedRowCount(int fixedRows) {
  fixedRows = std::max(0, fixedRows);
  if (m_nRows < fixedRows) SetRowCount(fixedRows);
  if (m_idCurrentCell.row >= 0 && m_idCurrentCell.row < fixedRows) m_idCurrentCell = {};
  m_nFixedRows = fixedRows;
  RecomputeScrollBars();
  viewport()->update();
}

void CGridCtrl::SetFixedColumnCount(int fixedColumns) {
  fixedColumns = std::max(0, fixedColumns);
  if (m_nCols < fixedColumns) SetColumnCount(fixedColumns);
  if (m_idCurrentCell.col >= 0 && m_idCurrentCell.col < fixedColumns) m_idCurrentCell = {};
  m_nFixedCols = fixedColumns;
  RecomputeScrollBars();
  viewport()->update();
}

void CGridCtrl::DeleteAllItems() {
  m_arColWidths.clear();
  m_idCurrentCell = {};
  m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
  m_nVScrollPos = m_nHScrollPos = 0;
  RecomputeScrollBars();
  viewport()->update();
}

void CGridCtrl::ResizeWidths(bool firstColumnNarrow) {
  m_arColWidths.assign(static_cast<std::size_t>(m_nCols), m_nDefCellWidth);
  if (firstColumnNarrow && !m_arColWidths.empty()) m_arColWidths.front() = 30;
}

int CGridCtrl::GetRowHeight(int row) const {
  if (row < 0 || row >= m_nRows) return 0;
  return row == 0 ? m_nHeaderHeight : m_nRowHeight;
}

int CGridCtrl::GetColumnWidth(int column) const {
  if (column < 0 || column >= static_cast<int>(m_arColWidths.size())) return 0;
  return m_arColWidths[static_cast<std::size_t>(column)];
}

bool CGridCtrl::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= static_cast<int>(m_arColWidths.size())) return false;
  m_arColWidths[static_cast<std::size_t>(column)] = std::max(width, MinimumCellSize());
  RecomputeScrollBars();
  viewport()->update();
  return true;
}

// ---- geometry (pixels of the whole grid, 64-bit)

bool CGridCtrl::IsValid(const CCellID& cell) const {
  return cell.row >= 0 && cell.row < m_nRows && cell.col >= 0 && cell.col < m_nCols;
}

int64_t CGridCtrl::RowTop(int row) const {
  if (row <= 0) return 0;
  return m_nHeaderHeight + static_cast<int64_t>(row - 1) * m_nRowHeight;
}

int64_t CGridCtrl::ColumnLeft(int column) const {
  int64_t left = 0;
  for (int c = 0; c < column && c < static_cast<int>(m_arColWidths.size()); ++c) left += m_arColWidths[static_cast<std::size_t>(c)];
  return left;
}

int CGridCtrl::RowAtOffset(int64_t y) const {
  if (y < 0) return -1;
  if (y < m_nHeaderHeight) return 0;
  const int64_t row = 1 + (y - m_nHeaderHeight) / std::max(1, m_nRowHeight);
  return static_cast<int>(std::min<int64_t>(row, m_nRows));
}

int CGridCtrl::FirstRowAtOrAfter(int64_t y) const {
  if (y <= 0) return 0;
  if (y <= m_nHeaderHeight) return 1;
  const int64_t row = 1 + CeilDiv(y - m_nHeaderHeight, std::max(1, m_nRowHeight));
  return static_cast<int>(std::min<int64_t>(row, m_nRows));
}

int CGridCtrl::ColumnAtOffset(int64_t x) const {
  if (x < 0) return -1;
  int64_t left = 0;
  for (int c = 0; c < m_nCols; ++c) {
    left += GetColumnWidth(c);
    if (x < left) return c;
  }
  return m_nCols;
}

CCellID CGridCtrl::GetTopleftNonFixedCell() const {
  const int row = std::max(m_nFixedRows, FirstRowAtOrAfter(FixedRowHeight() + m_nVScrollPos));
  int column = m_nFixedCols;
  for (int64_t left = 0; column < m_nCols - 1 && left < m_nHScrollPos; ++column) left += GetColumnWidth(column);
  return {std::min(row, std::max(m_nRows - 1, 0)), column};
}

QRect CGridCtrl::GetCellRect(const CCellID& cell) const {
  if (!IsValid(cell)) return {};
  const int64_t left = ColumnLeft(cell.col) - (cell.col >= m_nFixedCols ? m_nHScrollPos : 0);
  const int64_t top = RowTop(cell.row) - (cell.row >= m_nFixedRows ? m_nVScrollPos : 0);
  return {ToViewport(left), ToViewport(top), GetColumnWidth(cell.col), GetRowHeight(cell.row)};
}

CCellID CGridCtrl::GetCellFromPoint(const QPoint& point) const {
  if (point.x() < 0 || point.y() < 0) return {};
  const int64_t x = point.x() < FixedColumnWidth() ? point.x() : point.x() + m_nHScrollPos;
  const int64_t y = point.y() < FixedRowHeight() ? point.y() : point.y() + m_nVScrollPos;
  const CCellID cell{RowAtOffset(y), ColumnAtOffset(x)};
  return IsValid(cell) ? cell : CCellID{};
}

bool CGridCtrl::IsCellFullyVisible(const CCellID& cell) const {
  const QRect rect = GetCellRect(cell);
  const QRect client = viewport()->rect();
  const bool rowShown = cell.row < m_nFixedRows || rect.top() >= FixedRowHeight();
  const bool columnShown = cell.col < m_nFixedCols || rect.left() >= FixedColumnWidth();
  return rowShown && columnShown && rect.bottom() <= client.bottom() && rect.right() <= client.right();
}

// ---- focus

void CGridCtrl::SetFocusCell(const CCellID& cell) {
  const CCellID next = IsValid(cell) ? cell : CCellID{};
  if (next == m_idCurrentCell) return;
  const CCellID previous = m_idCurrentCell;
  if (IsValid(previous)) Q_EMIT GridNotify(kFocusLeaving, previous.row, previous.col);
  m_idCurrentCell = next;
  if (IsValid(previous)) {
    UpdateCell(previous);
    UpdateHeadersOf(previous);
  }
  if (IsValid(next)) {
    UpdateCell(next);
    UpdateHeadersOf(next);
    Q_EMIT GridNotify(kFocusReached, next.row, next.col);
  }
}

void CGridCtrl::UpdateCell(const CCellID& cell) {
  if (m_bAllowDraw) viewport()->update(GetCellRect(cell));
}

// The fixed cells of the cell's row and column, whose bold text follows the focus.
void CGridCtrl::UpdateHeadersOf(const CCellID& cell) {
  if (!m_bAllowDraw) return;
  const QRect rect = GetCellRect(cell);
  viewport()->update(QRect(rect.left(), 0, rect.width(), ToViewport(FixedRowHeight())));
  viewport()->update(QRect(0, rect.top(), ToViewport(FixedColumnWidth()), rect.height()));
}

// ---- scrolling

void CGridCtrl::RecomputeScrollBars() {
  if (!m_bAllowDraw) return;
  const QSize client = viewport()->size();
  const int64_t pageHeight = client.height() - FixedRowHeight();
  const int64_t pageWidth = client.width() - FixedColumnWidth();
  const int64_t contentHeight = TotalHeight() - FixedRowHeight();
  const int64_t contentWidth = TotalWidth() - FixedColumnWidth();
  m_nVScrollMax = pageHeight > 0 && contentHeight > pageHeight ? contentHeight - pageHeight : 0;
  m_nHScrollMax = pageWidth > 0 && contentWidth > pageWidth ? contentWidth - pageWidth : 0;
  m_nVScrollUnit = m_nVScrollMax / kScrollBarLimit + 1;
  m_nHScrollUnit = m_nHScrollMax / kScrollBarLimit + 1;
  m_bSettingBars = true;
  verticalScrollBar()->setRange(0, static_cast<int>(CeilDiv(m_nVScrollMax, m_nVScrollUnit)));
  verticalScrollBar()->setPageStep(static_cast<int>(std::max<int64_t>(1, pageHeight / m_nVScrollUnit)));
  horizontalScrollBar()->setRange(0, static_cast<int>(CeilDiv(m_nHScrollMax, m_nHScrollUnit)));
  horizontalScrollBar()->setPageStep(static_cast<int>(std::max<int64_t>(1, pageWidth / m_nHScrollUnit)));
  m_bSettingBars = false;
  SetScrollPositions(m_nVScrollPos, m_nHScrollPos);
}

void CGridCtrl::SetScrollPositions(int64_t vertical, int64_t horizontal) {
  vertical = std::clamp<int64_t>(vertical, 0, m_nVScrollMax);
  horizontal = std::clamp<int64_t>(horizontal, 0, m_nHScrollMax);
  const int64_t dy = m_nVScrollPos - vertical;
  const int64_t dx = m_nHScrollPos - horizontal;
  m_nVScrollPos = vertical;
  m_nHScrollPos = horizontal;
  m_bSettingBars = true;
  verticalScrollBar()->setValue(static_cast<int>(vertical / m_nVScrollUnit));
  horizontalScrollBar()->setValue(static_cast<int>(horizontal / m_nHScrollUnit));
  m_bSettingBars = false;
  if (!m_bAllowDraw || (dx == 0 && dy == 0)) return;
  // Only the non-fixed area moves; Qt repaints the strip it uncovers.
  const QRect client = viewport()->rect();
  const int fixedHeight = ToViewport(FixedRowHeight());
  const int fixedWidth = ToViewport(FixedColumnWidth());
  if (dy != 0) {
    const QRect rows(0, fixedHeight, client.width(), client.height() - fixedHeight);
    if (std::abs(dy) < rows.height()) viewport()->scroll(0, static_cast<int>(dy), rows);
    else viewport()->update(rows);
  }
  if (dx != 0) {
    const QRect columns(fixedWidth, 0, client.width() - fixedWidth, client.height());
    if (std::abs(dx) < columns.width()) viewport()->scroll(static_cast<int>(dx), 0, columns);
    else viewport()->update(columns);
  }
}

// A bar moved by its thumb or by a value set from outside.
void CGridCtrl::scrollContentsBy(int, int) {
  if (m_bSettingBars) return;
  const int vertical = verticalScrollBar()->value();
  const int horizontal = horizontalScrollBar()->value();
  const int64_t v = vertical == m_nVScrollPos / m_nVScrollUnit ? m_nVScrollPos : vertical * m_nVScrollUnit;
  const int64_t h = horizontal == m_nHScrollPos / m_nHScrollUnit ? m_nHScrollPos : horizontal * m_nHScrollUnit;
  SetScrollPositions(v, h);
}

int64_t CGridCtrl::LineStep(Qt::Orientation orientation, bool forward) const {
  const CCellID topLeft = GetTopleftNonFixedCell();
  if (orientation == Qt::Vertical) {
    if (forward) return GetRowHeight(topLeft.row);
    return topLeft.row > m_nFixedRows ? GetRowHeight(topLeft.row - 1) : m_nVScrollPos;
  }
  if (forward) return GetColumnWidth(topLeft.col);
  return topLeft.col > m_nFixedCols ? GetColumnWidth(topLeft.col - 1) : m_nHScrollPos;
}

void CGridCtrl::ScrollLines(Qt::Orientation orientation, bool forward) {
  const int64_t step = LineStep(orientation, forward) * (forward ? 1 : -1);
  if (orientation == Qt::Vertical) {
    SetScrollPositions(m_nVScrollPos + step, m_nHScrollPos);
  } else {
    SetScrollPositions(m_nVScrollPos, m_nHScrollPos + step);
  }
}

// Line and page steps in pixels of the grid; the bar then shows where that landed.
void CGridCtrl::OnScrollAction(Qt::Orientation orientation, int action) {
  if (!hasFocus()) setFocus(Qt::OtherFocusReason);
  const bool vertical = orientation == Qt::Vertical;
  const int64_t page = vertical ? viewport()->height() - FixedRowHeight() : viewport()->width() - FixedColumnWidth();
  int64_t position = vertical ? m_nVScrollPos : m_nHScrollPos;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderSingleStepSub:
      position += LineStep(orientation, action == QAbstractSlider::SliderSingleStepAdd) *
                  (action == QAbstractSlider::SliderSingleStepAdd ? 1 : -1);
      break;
    case QAbstractSlider::SliderPageStepAdd:
      position += page;
      break;
    case QAbstractSlider::SliderPageStepSub:
      position -= page;
      break;
    case QAbstractSlider::SliderToMinimum:
      position = 0;
      break;
    case QAbstractSlider::SliderToMaximum:
      position = vertical ? m_nVScrollMax : m_nHScrollMax;
      break;
    default:
      return;  // thumb moves arrive through scrollContentsBy
  }
  if (vertical) {
    SetScrollPositions(position, m_nHScrollPos);
    verticalScrollBar()->setSliderPosition(static_cast<int>(m_nVScrollPos / m_nVScrollUnit));
  } else {
    SetScrollPositions(m_nVScrollPos, position);
    horizontalScrollBar()->setSliderPosition(static_cast<int>(m_nHScrollPos / m_nHScrollUnit));
  }
}

void CGridCtrl::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  const QAbstractSlider::SliderAction up =
      m_nWheelScrollLines == -1 ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderSingleStepSub;
  const QAbstractSlider::SliderAction down =
      m_nWheelScrollLines == -1 ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderSingleStepAdd;
  const int steps = m_nWheelScrollLines == -1 ? std::abs(delta) / 120 : m_nWheelScrollLines * std::abs(delta) / 120;
  for (int i = 0; i < steps; ++i) verticalScrollBar()->triggerAction(delta > 0 ? up : down);
  event->accept();
}

bool CGridCtrl::focusNextPrevChild(bool next) {
  if (m_bHandleTabKey) return false;
  return QAbstractScrollArea::focusNextPrevChild(next);
}

// ---- keys

CCellID CGridCtrl::NextFocusCell(int key, bool shift, int* wrapped) {
  CCellID next = m_idCurrentCell;
  const int lastRow = m_nRows - 1;
  const int lastColumn = m_nCols - 1;
  if (key == Qt::Key_Tab && shift) key = Qt::Key_Backtab;
  switch (key) {
    case Qt::Key_Tab:
      if (next.col < lastColumn) {
        ++next.col;
      } else if (next.row < lastRow) {
        ++next.row;
        next.col = m_nFixedCols;
        *wrapped = 1;
      }
      break;
    case Qt::Key_Backtab:
      if (next.col > m_nFixedCols) {
        --next.col;
      } else if (next.row > m_nFixedRows) {
        --next.row;
        next.col = lastColumn;
        *wrapped = -1;
      }
      break;
    case Qt::Key_Down:
      if (next.row < lastRow) ++next.row;
      break;
    case Qt::Key_Up:
      if (next.row > m_nFixedRows) --next.row;
      break;
    case Qt::Key_Right:
      if (next.col < lastColumn) ++next.col;
      break;
    case Qt::Key_Left:
      if (next.col > m_nFixedCols) --next.col;
      break;
    case Qt::Key_PageDown:
    case Qt::Key_PageUp: {
      const bool down = key == Qt::Key_PageDown;
      const int before = GetTopleftNonFixedCell().row;
      const int64_t page = viewport()->height() - FixedRowHeight();
      SetScrollPositions(m_nVScrollPos + (down ? page : -page), m_nHScrollPos);
      const int scrolled = GetTopleftNonFixedCell().row - before;
      next.row = scrolled != 0 ? std::clamp(next.row + scrolled, m_nFixedRows, lastRow) : (down ? lastRow : m_nFixedRows);
      break;
    }
    case Qt::Key_Home:
      SetScrollPositions(0, m_nHScrollPos);
      next.row = m_nFixedRows;
      break;
    case Qt::Key_End:
      SetScrollPositions(m_nVScrollMax, m_nHScrollPos);
      next.row = lastRow;
      break;
    default:
      break;
  }
  return next;
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::SelectAll)) {
    SelectEverything();
    return;
  }
  static const QList<int> kMoves{Qt::Key_Tab,    Qt::Key_Backtab,  Qt::Key_Down,   Qt::Key_Up,  Qt::Key_Right,
                                 Qt::Key_Left,   Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End};
  if (!IsValid(m_idCurrentCell) || !kMoves.contains(event->key())) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  MoveFocusByKey(event->key(), event->modifiers());
}

void CGridCtrl::MoveFocusByKey(int key, Qt::KeyboardModifiers modifiers) {
  const bool shift = (modifiers & Qt::ShiftModifier) != 0;
  int wrapped = 0;
  const CCellID next = NextFocusCell(key, shift, &wrapped);
  if (next == m_idCurrentCell) return;
  const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
  if (m_MouseMode == kNone && (!shift || tab)) m_SelectionStartCell = next;
  SetFocusCell(next);
  if (IsCellFullyVisible(next)) return;
  ScrollIntoView(next);
  if (wrapped == 1) {
    ScrollLines(Qt::Vertical, true);
    SetScrollPositions(m_nVScrollPos, 0);
  } else if (wrapped == -1) {
    ScrollLines(Qt::Vertical, false);
    SetScrollPositions(m_nVScrollPos, m_nHScrollMax);
  } else if (key == Qt::Key_Down || key == Qt::Key_Up) {
    ScrollLines(Qt::Vertical, key == Qt::Key_Down);
  } else if (key == Qt::Key_Right || key == Qt::Key_Left) {
    ScrollLines(Qt::Horizontal, key == Qt::Key_Right);
  }
  viewport()->update();
}

// Line-aligned positions that show the whole cell (as far as it fits).
void CGridCtrl::ScrollIntoView(const CCellID& cell) {
  int64_t vertical = m_nVScrollPos;
  int64_t horizontal = m_nHScrollPos;
  const int64_t pageHeight = viewport()->height() - FixedRowHeight();
  const int64_t pageWidth = viewport()->width() - FixedColumnWidth();
  if (cell.row >= m_nFixedRows) {
    const int64_t top = RowTop(cell.row) - FixedRowHeight();
    const int64_t bottom = top + GetRowHeight(cell.row);
    if (top < vertical) {
      vertical = top;
    } else if (bottom - vertical > pageHeight) {
      const int first = std::max(m_nFixedRows, FirstRowAtOrAfter(FixedRowHeight() + bottom - pageHeight));
      vertical = RowTop(std::min(first, cell.row)) - FixedRowHeight();
    }
  }
  if (cell.col >= m_nFixedCols) {
    const int64_t left = ColumnLeft(cell.col) - FixedColumnWidth();
    const int64_t right = left + GetColumnWidth(cell.col);
    if (left < horizontal) {
      horizontal = left;
    } else if (right - horizontal > pageWidth) {
      int first = m_nFixedCols;
      while (first < cell.col && right - (ColumnLeft(first) - FixedColumnWidth()) > pageWidth) ++first;
      horizontal = ColumnLeft(first) - FixedColumnWidth();
    }
  }
  SetScrollPositions(vertical, horizontal);
}

// ---- mouse

bool CGridCtrl::OverColumnDivider(const QPoint& point, int* column) const {
  if (!m_bAllowColumnResize || point.y() >= FixedRowHeight()) return false;
  const CCellID cell = GetCellFromPoint(point);
  if (!IsValid(cell)) return false;
  const QRect rect = GetCellRect(cell);
  *column = SizedAt(point.x(), rect.left(), rect.width(), cell.col);
  return *column >= 0;
}

bool CGridCtrl::OverRowDivider(const QPoint& point, int* row) const {
  if (!m_bAllowRowResize || point.x() >= FixedColumnWidth()) return false;
  const CCellID cell = GetCellFromPoint(point);
  if (!IsValid(cell)) return false;
  const QRect rect = GetCellRect(cell);
  *row = SizedAt(point.y(), rect.top(), rect.height(), cell.row);
  return *row >= 0;
}

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  const QPoint point = event->position().toPoint();
  m_LeftClickDownPoint = point;
  m_LastMousePoint = point;
  m_LeftClickDownCell = GetCellFromPoint(point);
  if (!IsValid(m_LeftClickDownCell)) return;
  m_SelectionStartCell = (event->modifiers() & Qt::ShiftModifier) != 0 ? m_idCurrentCell : m_LeftClickDownCell;
  setFocus(Qt::MouseFocusReason);
  if (m_LeftClickDownCell == m_idCurrentCell) {
    m_MouseMode = kPressOnFocusCell;
    return;
  }
  int divider = -1;
  if (OverColumnDivider(point, &divider)) {
    StartSizing(kSizingColumn, divider, point);
    return;
  }
  if (OverRowDivider(point, &divider)) {
    StartSizing(kSizingRow, divider, point);
    return;
  }
  const CCellID cell = m_LeftClickDownCell;
  SetFocusCell({std::max(cell.row, m_nFixedRows), std::max(cell.col, m_nFixedCols)});
  if (cell.row < m_nFixedRows) {
    const bool nonFixedColumn = cell.col >= m_nFixedCols;
    if (nonFixedColumn) OnColumnHeaderPress(cell.col);
    HandleColumnHeaderClick(cell);
    m_MouseMode = nonFixedColumn ? kPressInColumnHeader : kPressInCorner;
  } else if (cell.col < m_nFixedCols) {
    HandleRowHeaderClick(cell);
    m_MouseMode = kPressInRowHeader;
  } else {
    m_MouseMode = kSelectingCells;
  }
  m_autoScrollTimer.start(kAutoScrollPeriodMs, this);
}

void CGridCtrl::StartSizing(MouseMode mode, int index, const QPoint& point) {
  m_MouseMode = mode;
  m_nSizingIndex = index;
  m_nSizingLine = mode == kSizingColumn ? point.x() : point.y();
  viewport()->update();
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  m_LastMousePoint = point;
  if ((event->buttons() & Qt::LeftButton) != 0) {
    FollowMouse(point);
    return;
  }
  int divider = -1;
  if (OverColumnDivider(point, &divider)) {
    viewport()->setCursor(Qt::SizeHorCursor);
    m_MouseMode = kOverColumnDivider;
  } else if (OverRowDivider(point, &divider)) {
    viewport()->setCursor(Qt::SizeVerCursor);
    m_MouseMode = kOverRowDivider;
  } else {
    viewport()->setCursor(Qt::ArrowCursor);
    m_MouseMode = kNone;
  }
}

void CGridCtrl::FollowMouse(const QPoint& point) {
  switch (m_MouseMode) {
    case kPressInColumnHeader:
    case kPressInRowHeader:
    case kSelectingCells: {
      const CCellID cell = GetCellFromPoint(point);
      if (IsValid(cell) && cell.row >= m_nFixedRows && cell.col >= m_nFixedCols) SetFocusCell(cell);
      break;
    }
    case kSizingColumn:
    case kSizingRow:
      m_nSizingLine = m_MouseMode == kSizingColumn ? point.x() : point.y();
      viewport()->update();
      break;
    default:
      break;
  }
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
  QAbstractScrollArea::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  StopAutoScroll();
  const QPoint point = event->position().toPoint();
  if (m_MouseMode == kSizingColumn || m_MouseMode == kSizingRow) FinishSizing(point);
  m_MouseMode = kNone;
  viewport()->setCursor(Qt::ArrowCursor);
  if (IsValid(m_LeftClickDownCell)) Q_EMIT Clicked();
}

// The new size is the distance from the sized cell's edge, never under twice the margin, so a
// line scroll always makes progress. Row 0 keeps its height; the other rows change together.
void CGridCtrl::FinishSizing(const QPoint& point) {
  const bool moved = point != m_LeftClickDownPoint;
  const int index = m_nSizingIndex;
  m_nSizingIndex = -1;
  m_nSizingLine = -1;
  if (moved && m_MouseMode == kSizingColumn) {
    const QRect rect = GetCellRect({0, index});
    m_arColWidths[static_cast<std::size_t>(index)] = std::max(point.x() - rect.left(), MinimumCellSize());
  } else if (moved && m_MouseMode == kSizingRow && index != 0) {
    const QRect rect = GetCellRect({index, 0});
    m_nRowHeight = std::max(point.y() - rect.top(), MinimumCellSize());
  }
  RecomputeScrollBars();
  viewport()->update();
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  if (m_MouseMode == kOverColumnDivider) viewport()->update();
  QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void CGridCtrl::StopAutoScroll() { m_autoScrollTimer.stop(); }

// While the button is held outside the cells, the grid moves as the arrow keys would move it.
void CGridCtrl::timerEvent(QTimerEvent* event) {
  if (event->timerId() != m_autoScrollTimer.timerId()) {
    QAbstractScrollArea::timerEvent(event);
    return;
  }
  const QRect client = viewport()->rect();
  const QPoint point = m_LastMousePoint;
  if (point.y() > client.bottom()) {
    MoveFocusByKey(Qt::Key_Down, Qt::NoModifier);
  } else if (point.y() < FixedRowHeight()) {
    MoveFocusByKey(Qt::Key_Up, Qt::NoModifier);
  }
  if (point.x() > client.right()) {
    MoveFocusByKey(Qt::Key_Right, Qt::NoModifier);
  } else if (point.x() < FixedColumnWidth()) {
    MoveFocusByKey(Qt::Key_Left, Qt::NoModifier);
  }
}

// ---- font and colours

void CGridCtrl::ApplyFont() {
  const QFontMetrics metrics(font());
  m_nMargin = metrics.horizontalAdvance(u' ');
  m_nHeaderHeight = metrics.height() + metrics.leading() + 2 * m_nMargin;
  m_nDefCellWidth = 12 * metrics.averageCharWidth() + 2 * m_nMargin;
  RecomputeScrollBars();
  viewport()->update();
}

// Each colour still taken from the system follows it.
void CGridCtrl::FollowSystemColours() {
  const QPalette& colours = palette();
  const SystemColours now{colours.color(QPalette::WindowText), colours.color(QPalette::Base),
                          colours.color(QPalette::Button), colours.color(QPalette::Dark)};
  const auto follow = [](QColor* colour, const QColor& was, const QColor& is) {
    if (*colour == was) *colour = is;
  };
  follow(&m_crTextColour, m_systemColours.windowText, now.windowText);
  follow(&m_crFixedTextColour, m_systemColours.windowText, now.windowText);
  follow(&m_crTextBkColour, m_systemColours.window, now.window);
  follow(&m_crFixedBkColour, m_systemColours.buttonFace, now.buttonFace);
  follow(&m_crBkColour, m_systemColours.buttonShadow, now.buttonShadow);
  m_systemColours = now;
}

void CGridCtrl::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    ApplyFont();
  } else if (event->type() == QEvent::PaletteChange) {
    FollowSystemColours();
    viewport()->update();
  }
}

void CGridCtrl::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  RecomputeScrollBars();
}

void CGridCtrl::SetRedraw(bool allowDraw) {
  m_bAllowDraw = allowDraw;
  if (allowDraw) {
    RecomputeScrollBars();
    viewport()->update();
  }
}

void CGridCtrl::SetBkColor(const QColor& colour) {
  m_crBkColour = colour;
  viewport()->update();
}

void CGridCtrl::SetTextBkColor(const QColor& colour) {
  m_crTextBkColour = colour;
  viewport()->update();
}

// ---- virtual operations

QString CGridCtrl::GetCellText(int row, int column) { return QStringLiteral("%1::%2").arg(row).arg(column); }

int CGridCtrl::GetCellFormat(int) { return Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap; }

void CGridCtrl::OnColumnHeaderPress(int) {}

void CGridCtrl::SelectEverything() {}

void CGridCtrl::HandleRowHeaderClick(const CCellID&) {}

void CGridCtrl::HandleColumnHeaderClick(const CCellID&) {}

QSize CGridCtrl::GetDefaultCellSize() const { return {100, m_nHeaderHeight}; }

// ---- painting

void CGridCtrl::paintEvent(QPaintEvent* event) {
  if (!m_bAllowDraw) return;
  QPainter painter(viewport());
  OnDraw(painter, event->rect());
}

void CGridCtrl::OnDraw(QPainter& painter, const QRect& clip) {
  const QRect client = viewport()->rect();
  PaintBackground(painter, client);
  if (m_nRows == 0 || m_nCols == 0) return;
  const auto draw = [&](int row, int column, bool fixed) {
    const QRect rect = GetCellRect({row, column});
    if (!rect.intersects(clip)) return;
    if (fixed) {
      DrawFixedCell(painter, row, column, rect, false);
    } else {
      DrawCell(painter, row, column, rect, false);
    }
  };
  const CCellID topLeft = GetTopleftNonFixedCell();
  const auto visibleRows = [&](const auto& each) {
    for (int row = topLeft.row; row < m_nRows && GetCellRect({row, 0}).top() <= client.bottom(); ++row) each(row);
  };
  const auto visibleColumns = [&](const auto& each) {
    for (int column = topLeft.col; column < m_nCols && GetCellRect({0, column}).left() <= client.right(); ++column) {
      each(column);
    }
  };
  for (int row = 0; row < m_nFixedRows; ++row)
    for (int column = 0; column < m_nFixedCols; ++column) draw(row, column, true);
  visibleRows([&](int row) {
    for (int column = 0; column < m_nFixedCols; ++column) draw(row, column, true);
  });
  for (int row = 0; row < m_nFixedRows; ++row) visibleColumns([&](int column) { draw(row, column, true); });
  if (m_nRows > m_nFixedRows && m_nCols > m_nFixedCols) {
    visibleRows([&](int row) { visibleColumns([&](int column) { draw(row, column, false); }); });
  }
  PaintGridLines(painter, client);
  PaintSizingLine(painter, client);
}

// Fixed area, cells, and beyond the last column and row.
void CGridCtrl::PaintBackground(QPainter& painter, const QRect& client) const {
  const int fixedWidth = ToViewport(FixedColumnWidth());
  const int fixedHeight = ToViewport(FixedRowHeight());
  const int cellsRight = ToViewport(std::min<int64_t>(TotalWidth() - m_nHScrollPos, client.width()));
  const int cellsBottom = ToViewport(std::min<int64_t>(TotalHeight() - m_nVScrollPos, client.height()));
  painter.fillRect(client, m_crBkColour);
  painter.fillRect(QRect(0, 0, cellsRight, fixedHeight), m_crFixedBkColour);
  painter.fillRect(QRect(0, 0, fixedWidth, cellsBottom), m_crFixedBkColour);
  painter.fillRect(QRect(fixedWidth, fixedHeight, cellsRight - fixedWidth, cellsBottom - fixedHeight), m_crTextBkColour);
}

void CGridCtrl::PaintGridLines(QPainter& painter, const QRect& client) const {
  if (m_nGridLines == 0 || m_nRows <= m_nFixedRows || m_nCols <= m_nFixedCols) return;
  const int fixedWidth = ToViewport(FixedColumnWidth());
  const int fixedHeight = ToViewport(FixedRowHeight());
  const int cellsRight = ToViewport(std::min<int64_t>(TotalWidth() - m_nHScrollPos, client.width())) - 1;
  const int cellsBottom = ToViewport(std::min<int64_t>(TotalHeight() - m_nVScrollPos, client.height())) - 1;
  painter.setPen(m_crGridColour);
  const CCellID topLeft = GetTopleftNonFixedCell();
  if (m_nGridLines == 2 || m_nGridLines == 3) {
    for (int column = topLeft.col; column < m_nCols; ++column) {
      const QRect rect = GetCellRect({0, column});
      if (rect.left() > client.right()) break;
      painter.drawLine(rect.right(), fixedHeight, rect.right(), cellsBottom);
    }
  }
  if (m_nGridLines == 1 || m_nGridLines == 3) {
    for (int row = topLeft.row; row < m_nRows; ++row) {
      const QRect rect = GetCellRect({row, 0});
      if (rect.top() > client.bottom()) break;
      painter.drawLine(fixedWidth, rect.bottom(), cellsRight, rect.bottom());
    }
  }
}

void CGridCtrl::PaintSizingLine(QPainter& painter, const QRect& client) const {
  if (m_nSizingLine < 0) return;
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  if (m_MouseMode == kSizingColumn) {
    painter.fillRect(QRect(m_nSizingLine, 0, 2, client.height()), Qt::white);
  } else {
    painter.fillRect(QRect(0, m_nSizingLine, client.width(), 2), Qt::white);
  }
  painter.restore();
}

int CGridCtrl::DrawFixedCell(QPainter& painter, int row, int column, const QRect& rect, bool) {
  if (!m_bAllowDraw) return 0;
  painter.save();
  painter.fillRect(rect, m_crFixedBkColour);
  QFont cellFont = font();
  if (IsValid(m_idCurrentCell) && (row == m_idCurrentCell.row || column == m_idCurrentCell.col)) {
    cellFont.setWeight(static_cast<QFont::Weight>(kBoldWeight));
  }
  const QPalette& colours = palette();
  Draw3dRect(painter, rect, colours.color(QPalette::Light), colours.color(QPalette::Shadow));
  const QRect textArea = rect.adjusted(1 + m_nMargin, 1, -1 - m_nMargin, -1);
  painter.setFont(cellFont);
  painter.setPen(m_crFixedTextColour);
  painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   QFontMetrics(cellFont).elidedText(GetCellText(row, column), Qt::ElideRight, textArea.width()));
  painter.restore();
  return 1;
}

int CGridCtrl::DrawCell(QPainter& painter, int row, int column, const QRect& rect, bool) {
  if (!m_bAllowDraw) return 0;
  painter.save();
  painter.fillRect(rect, m_crTextBkColour);
  QRect textArea = rect.adjusted(m_nMargin, 0, -m_nMargin, 0);
  const bool focused = m_idCurrentCell == CCellID{row, column};
  if (focused) {
    painter.setPen(Qt::black);
    painter.drawRect(rect.left(), rect.top(), rect.width() - 2, rect.height() - 2);
    textArea.adjust(1, 1, -1, -1);
  }
  painter.setPen(focused ? QColor(0, 0, 255) : m_crTextColour);
  painter.setFont(font());
  painter.setClipRect(rect.adjusted(0, 0, -1, -1));
  const int format = GetCellFormat(column);
  const QString text = GetCellText(row, column);
  const bool wraps = (format & Qt::TextWordWrap) != 0;
  painter.drawText(textArea, format, wraps ? text : fontMetrics().elidedText(text, Qt::ElideRight, textArea.width()));
  painter.restore();
  return 1;
}
