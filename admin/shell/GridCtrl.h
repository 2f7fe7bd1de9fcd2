#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QColor>
#include <QPoint>

#include <cstdint>
#include <vector>

// A cell of a grid by row and column; (-1, -1) is none.
struct CCellID {
  int row = -1;
  int col = -1;
  friend bool operator==(const CCellID&, const CCellID&) = default;
};

// A virtual grid: it keeps its dimensions, column widths and two row heights (row 0, and every
// other row) and asks GetCellText for each cell it paints. Fixed (header) rows and columns stay
// while the rest scrolls by pixels; a focus cell moves with the mouse and the keys; columns and
// rows are sized with the mouse; dragging outside scrolls. Pixel sums are 64-bit, and where they
// pass a scroll bar's range the bar counts in larger steps.
class CGridCtrl : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr int kControlId = 1042;
  // GridNotify codes: before the focus leaves a cell, after it reaches one.
  static constexpr int kFocusLeaving = -100;
  static constexpr int kFocusReached = -101;
  static constexpr int kAutoScrollPeriodMs = 25;
  static constexpr int kSizingTolerance = 3;

  enum MouseMode {
    kNone = 0,
    kPressInCorner = 1,
    kPressInColumnHeader = 2,
    kPressInRowHeader = 3,
    kSelectingCells = 4,
    kOverRowDivider = 6,
    kSizingRow = 7,
    kOverColumnDivider = 8,
    kSizingColumn = 9,
    kPressOnFocusCell = 10,
  };

  explicit CGridCtrl(QWidget* parent = nullptr);
  ~CGridCtrl() override;
  CGridCtrl(const CGridCtrl&) = delete;
  CGridCtrl& operator=(const CGridCtrl&) = delete;

  // Places the grid in `parent` at `rect`, shown, with its font applied; false when it cannot.
  bool Create(const QRect& rect, QWidget* parent);

  void SetDimensions(int columns, int rows);
  void SetRowCount(int rows);
  void SetColumnCount(int columns);
  void SetFixedRowCount(int fixedRows);
  void SetFixedColumnCount(int fixedColumns);
  // No rows, columns or widths; no focus cell.
  void DeleteAllItems();

  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  int GetFixedRowCount() const { return m_nFixedRows; }
  int GetFixedColumnCount() const { return m_nFixedCols; }
  int GetRowHeight(int row) const;
  int GetColumnWidth(int column) const;
  bool SetColumnWidth(int column, int width);
  int GetMargin() const { return m_nMargin; }
  int GetMouseMode() const { return m_MouseMode; }

  CCellID GetFocusCell() const { return m_idCurrentCell; }
  // Moves the focus, notifying the owner before (kFocusLeaving) and after (kFocusReached).
  void SetFocusCell(const CCellID& cell);
  CCellID GetTopleftNonFixedCell() const;
  // The cell's rectangle in the viewport; empty for a cell outside the counts.
  QRect GetCellRect(const CCellID& cell) const;
  CCellID GetCellFromPoint(const QPoint& point) const;

  int64_t GetVerticalScrollPos() const { return m_nVScrollPos; }
  int64_t GetHorizontalScrollPos() const { return m_nHScrollPos; }
  int64_t GetVerticalScrollMax() const { return m_nVScrollMax; }

  void SetGridLines(int mode) { m_nGridLines = mode; viewport()->update(); }
  void SetRedraw(bool allowDraw);
  // The colour of the area beyond the last column and row.
  void SetBkColor(const QColor& colour);
  void SetTextBkColor(const QColor& colour);
  QColor GetTextBkColor() const { return m_crTextBkColour; }
  // Lines per wheel notch; -1 scrolls a page. The user's setting unless set.
  void SetWheelScrollLines(int lines) { m_nWheelScrollLines = lines; }

  virtual QString GetCellText(int row, int column);
  // Qt alignment and text flags of the column's cells; texts are cut with an end ellipsis.
  virtual int GetCellFormat(int column);
  // A press in a fixed row over a non-fixed column.
  virtual void OnColumnHeaderPress(int column);
  virtual void SelectEverything();
  virtual void HandleRowHeaderClick(const CCellID& cell);
  virtual void HandleColumnHeaderClick(const CCellID& cell);
  virtual QSize GetDefaultCellSize() const;

 Q_SIGNALS:
  // The focus notices (kFocusLeaving, kFocusReached) with their cell.
  void GridNotify(int code, int row, int column);
  // A left-button release after a press on a valid cell.
  void Clicked();

 protected:
  virtual void OnDraw(QPainter& painter, const QRect& clip);
  virtual int DrawFixedCell(QPainter& painter, int row, int column, const QRect& rect, bool erase);
  virtual int DrawCell(QPainter& painter, int row, int column, const QRect& rect, bool erase);

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool focusNextPrevChild(bool next) override;

 private:
  struct SystemColours {
    QColor windowText;
    QColor window;
    QColor buttonFace;
    QColor buttonShadow;
  };

  bool IsValid(const CCellID& cell) const;
  int64_t RowTop(int row) const;
  int64_t ColumnLeft(int column) const;
  int64_t FixedRowHeight() const { return RowTop(m_nFixedRows); }
  int64_t FixedColumnWidth() const { return ColumnLeft(m_nFixedCols); }
  int64_t TotalHeight() const { return RowTop(m_nRows); }
  int64_t TotalWidth() const { return ColumnLeft(m_nCols); }
  // The row at pixel `y` of the whole grid (rows past the last answer the row count).
  int RowAtOffset(int64_t y) const;
  // The first row whose top lies at `y` or below.
  int FirstRowAtOrAfter(int64_t y) const;
  int ColumnAtOffset(int64_t x) const;
  int MinimumCellSize() const { return 2 * m_nMargin; }

  void ApplyFont();
  void FollowSystemColours();
  void ResizeWidths(bool firstColumnNarrow);
  void RecomputeScrollBars();
  void SetScrollPositions(int64_t vertical, int64_t horizontal);
  void OnScrollAction(Qt::Orientation orientation, int action);
  int64_t LineStep(Qt::Orientation orientation, bool forward) const;
  void ScrollLines(Qt::Orientation orientation, bool forward);
  void UpdateCell(const CCellID& cell);
  void UpdateHeadersOf(const CCellID& cell);
  bool IsCellFullyVisible(const CCellID& cell) const;
  void ScrollIntoView(const CCellID& cell);
  // The focus cell after `key`, the wrap of a Tab (1 forward, -1 back) and whether it scrolled.
  CCellID NextFocusCell(int key, bool shift, int* wrapped);
  void MoveFocusByKey(int key, Qt::KeyboardModifiers modifiers);

  void PaintBackground(QPainter& painter, const QRect& client) const;
  void PaintGridLines(QPainter& painter, const QRect& client) const;
  void PaintSizingLine(QPainter& painter, const QRect& client) const;
  bool OverColumnDivider(const QPoint& point, int* column) const;
  bool OverRowDivider(const QPoint& point, int* row) const;
  void StartSizing(MouseMode mode, int index, const QPoint& point);
  void FinishSizing(const QPoint& point);
  void FollowMouse(const QPoint& point);
  void StopAutoScroll();

  QColor m_crTextColour;
  QColor m_crTextBkColour;
  QColor m_crBkColour;
  QColor m_crFixedTextColour;
  QColor m_crFixedBkColour;
  QColor m_crGridColour{192, 192, 192};
  SystemColours m_systemColours;
  int m_nGridLines = 3;
  bool m_bAllowDraw = true;
  bool m_bHandleTabKey = true;
  int m_nRows = 0;
  int m_nFixedRows = 0;
  int m_nCols = 0;
  int m_nFixedCols = 0;
  std::vector<int> m_arColWidths;
  int m_nMargin = 0;
  int m_nDefCellWidth = 30;
  int m_nHeaderHeight = 18;
  int m_nRowHeight = 18;
  int64_t m_nVScrollMax = 0;
  int64_t m_nHScrollMax = 0;
  int64_t m_nVScrollPos = 0;
  int64_t m_nHScrollPos = 0;
  // Pixels per step of each scroll bar: 1 unless the grid is taller or wider than a bar counts.
  int64_t m_nVScrollUnit = 1;
  int64_t m_nHScrollUnit = 1;
  bool m_bSettingBars = false;
  MouseMode m_MouseMode = kNone;
  QPoint m_LastMousePoint;
  QPoint m_LeftClickDownPoint;
  CCellID m_LeftClickDownCell;
  CCellID m_SelectionStartCell;
  CCellID m_idCurrentCell;
  QBasicTimer m_autoScrollTimer;
  bool m_bAllowRowResize = true;
  bool m_bAllowColumnResize = true;
  int m_nWheelScrollLines;
  // The row or column being sized and where its line is drawn.
  int m_nSizingIndex = -1;
  int m_nSizingLine = -1;
};
