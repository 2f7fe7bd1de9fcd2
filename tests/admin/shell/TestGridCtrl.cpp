#include "admin/shell/DatabaseGrid.h"
#include "admin/shell/GridCtrl.h"
#include "tests/support/CountingRecordSource.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <limits>
#include <memory>
#include <tuple>
#include <vector>

using testsupport::CountingRecordSource;

namespace {

const QColor kCells(255, 255, 224);
const QColor kGridLine(192, 192, 192);
const QColor kBeyond(210, 210, 255);

// A database grid in a window of its own, shown and active.
class ShownGrid {
 public:
  explicit ShownGrid(const QSize& size = QSize(420, 240)) {
    window_.resize(size);
    grid_.Create(QRect(QPoint(0, 0), size), &window_);
    window_.show();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    grid_.setFocus();
  }
  CDatabaseGrid& grid() { return grid_; }
  QWidget* viewport() { return grid_.viewport(); }
  QImage Render() { return grid_.viewport()->grab().toImage(); }

 private:
  QWidget window_;
  CDatabaseGrid grid_;
};

void Drag(QWidget* target, const QPoint& from, const QPoint& to) {
  QTest::mousePress(target, Qt::LeftButton, {}, from);
  QTest::mouseMove(target, to);
  QTest::mouseRelease(target, Qt::LeftButton, {}, to);
}

void Wheel(QWidget* target, int delta) {
  const QPointF at(20, 60);
  QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &wheel);
}

bool Holds(const QImage& image, const QRect& area, const QColor& colour) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixelColor(x, y) == colour) return true;
  return false;
}

}  // namespace

TEST(DatabaseGrid, AnswersHeadersRowNumbersAndValuesOfItsSource) {
  CGridCtrl plain;
  EXPECT_EQ(plain.GetCellText(2, 3), QStringLiteral("2::3"));

  CountingRecordSource source(3, 10, 7);
  CDatabaseGrid grid;
  EXPECT_EQ(grid.GetCellText(5, 2), QString());
  grid.SetHandler(&source);
  EXPECT_EQ(grid.GetColumnCount(), 4);
  EXPECT_EQ(grid.GetRowCount(), 11);
  EXPECT_EQ(grid.GetFixedRowCount(), 1);
  EXPECT_EQ(grid.GetFixedColumnCount(), 1);
  EXPECT_EQ(grid.GetTextBkColor(), kCells);
  EXPECT_EQ(grid.GetColumnWidth(0), 30);
  for (const auto& [row, column, text] :
       {std::tuple{0, 0, QString()}, std::tuple{0, 2, QStringLiteral("col1")}, std::tuple{5, 0, QStringLiteral("5")},
        std::tuple{5, 2, QStringLiteral("r4c1")}, std::tuple{8, 0, QStringLiteral("8")},
        std::tuple{8, 1, QString()}, std::tuple{8, 3, QString()}}) {
    EXPECT_EQ(grid.GetCellText(row, column), text) << row << "," << column;
  }
  EXPECT_EQ(grid.GetCellFormat(1), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  EXPECT_EQ(grid.GetCellFormat(2), Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine);
  grid.SetHandler(nullptr);
  EXPECT_EQ(grid.GetRowCount(), 0);
  EXPECT_EQ(grid.GetColumnCount(), 0);
  EXPECT_EQ(grid.GetCellText(5, 2), QString());
}

TEST(GridCtrl, AFontChangeResizesRowZeroOnly) {
  ShownGrid shown;
  CDatabaseGrid& grid = shown.grid();
  grid.SetDimensions(4, 10);
  grid.SetFixedRowCount(1);
  const int header = grid.GetRowHeight(0);
  EXPECT_EQ(grid.GetRowHeight(1), 18);
  QFont large = grid.font();
  large.setPixelSize(40);
  grid.setFont(large);
  EXPECT_GT(grid.GetRowHeight(0), header);
  EXPECT_EQ(grid.GetRowHeight(1), 18);
  EXPECT_EQ(grid.GetRowHeight(9), 18);
}

TEST(GridCtrl, MouseSizingSetsEveryDataRowKeepsRowZeroAndNeverGoesBelowTwoMargins) {
  ShownGrid shown;
  CDatabaseGrid& grid = shown.grid();
  grid.SetDimensions(5, 10);
  grid.SetFixedRowCount(1);
  grid.SetFixedColumnCount(1);
  const int header = grid.GetRowHeight(0);
  const int minimum = 2 * grid.GetMargin();
  ASSERT_GT(minimum, 0);

  Drag(shown.viewport(), QPoint(5, header), QPoint(5, header + 15));
  EXPECT_EQ(grid.GetRowHeight(0), header);
  EXPECT_EQ(grid.GetRowHeight(1), 18);

  QRect row3 = grid.GetCellRect({3, 0});
  Drag(shown.viewport(), QPoint(5, row3.top() + row3.height()), QPoint(5, row3.top() + row3.height() + 12));
  EXPECT_EQ(grid.GetRowHeight(0), header);
  for (int row = 1; row < 10; ++row) EXPECT_EQ(grid.GetRowHeight(row), 30) << row;

  row3 = grid.GetCellRect({3, 0});
  Drag(shown.viewport(), QPoint(5, row3.top() + row3.height()), QPoint(5, row3.top()));
  EXPECT_EQ(grid.GetRowHeight(3), minimum);

  const QRect column2 = grid.GetCellRect({0, 2});
  Drag(shown.viewport(), QPoint(column2.left() + column2.width(), 5), QPoint(column2.left(), 5));
  EXPECT_EQ(grid.GetColumnWidth(2), minimum);
  EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::kNone);
}

TEST(GridCtrl, KeysMoveTheFocusWithinTheCellsAndNotifyBeforeAndAfter) {
  ShownGrid shown;
  CDatabaseGrid& grid = shown.grid();
  grid.SetDimensions(5, 10);
  grid.SetFixedRowCount(1);
  grid.SetFixedColumnCount(1);
  std::vector<std::tuple<int, int, int>> notices;
  QObject::connect(&grid, &CGridCtrl::GridNotify,
                   [&](int code, int row, int column) { notices.emplace_back(code, row, column); });
  const auto focus = [&] { return std::pair{grid.GetFocusCell().row, grid.GetFocusCell().col}; };

  grid.SetFocusCell({2, 2});
  QTest::keyClick(&grid, Qt::Key_Right);
  EXPECT_EQ(notices, (std::vector<std::tuple<int, int, int>>{{-101, 2, 2}, {-100, 2, 2}, {-101, 2, 3}}));

  grid.SetFocusCell({9, 4});
  QTest::keyClick(&grid, Qt::Key_Right);
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_EQ(focus(), std::pair(9, 4)) << "the last column and row hold the focus";

  grid.SetFocusCell({2, 4});
  QTest::keyClick(&grid, Qt::Key_Tab);
  EXPECT_EQ(focus(), std::pair(3, 1)) << "Tab wraps to the next row's first cell";
  EXPECT_TRUE(grid.hasFocus());
  QTest::keyClick(&grid, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(focus(), std::pair(2, 4));
  grid.SetFocusCell({1, 1});
  QTest::keyClick(&grid, Qt::Key_Up);
  QTest::keyClick(&grid, Qt::Key_Left);
  EXPECT_EQ(focus(), std::pair(1, 1)) << "never into the fixed cells";

  QTest::keyClick(&grid, Qt::Key_End);
  EXPECT_EQ(focus(), std::pair(9, 1));
  EXPECT_EQ(grid.GetVerticalScrollPos(), grid.GetVerticalScrollMax());
  QTest::keyClick(&grid, Qt::Key_Home);
  EXPECT_EQ(focus(), std::pair(1, 1));
  EXPECT_EQ(grid.GetVerticalScrollPos(), 0);
}

TEST(GridCtrl, CtrlAAsksToSelectEverything) {
  struct Selecting : CDatabaseGrid {
    void SelectEverything() override { ++selected; }
    int selected = 0;
  } grid;
  QTest::keyClick(&grid, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(grid.selected, 1);
}

TEST(GridCtrl, OneWheelNotchScrollsTheUsersLinesOrAPage) {
  ShownGrid shown;
  CDatabaseGrid& grid = shown.grid();
  CountingRecordSource source(3, 1000);
  grid.SetHandler(&source);
  ASSERT_EQ(grid.GetTopleftNonFixedCell().row, 1);
  grid.SetWheelScrollLines(3);
  Wheel(shown.viewport(), -120);
  EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 4);
  Wheel(shown.viewport(), 120);
  EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 1);
  grid.SetWheelScrollLines(-1);
  Wheel(shown.viewport(), -120);
  const int page = (shown.viewport()->height() - grid.GetRowHeight(0)) / 18;
  EXPECT_NEAR(grid.GetTopleftNonFixedCell().row, 1 + page, 1);
  grid.SetHandler(nullptr);
}

TEST(GridCtrl, HoldingTheButtonBelowTheCellsScrollsOn) {
  ShownGrid shown;
  CDatabaseGrid& grid = shown.grid();
  CountingRecordSource source(3, 1000);
  grid.SetHandler(&source);
  const QRect cell = grid.GetCellRect({2, 2});
  QTest::mousePress(shown.viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::kSelectingCells);
  QTest::mouseMove(shown.viewport(), QPoint(cell.center().x(), shown.viewport()->height() + 20));
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid.GetFocusCell().row > 20; }, 5000));
  QTest::mouseRelease(shown.viewport(), Qt::LeftButton, {}, QPoint(cell.center().x(), shown.viewport()->height() + 20));
  const int row = grid.GetFocusCell().row;
  QTest::qWait(100);
  EXPECT_EQ(grid.GetFocusCell().row, row) << "the release stops it";
  EXPECT_GT(grid.GetVerticalScrollPos(), 0);
  grid.SetHandler(nullptr);
}

TEST(GridCtrl, PaintsTheFocusCellGridLinesCellsAndTheAreaBeyond) {
  ShownGrid shown;
  CDatabaseGrid& grid = shown.grid();
  CountingRecordSource source(2, 3);
  grid.SetHandler(&source);
  grid.SetBkColor(kBeyond);
  grid.SetFocusCell({2, 2});
  const QImage image = shown.Render();
  const QRect focus = grid.GetCellRect({2, 2});
  EXPECT_EQ(image.pixelColor(focus.topLeft()), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(focus.left(), focus.bottom() - 1), QColor(Qt::black));
  EXPECT_TRUE(Holds(image, focus.adjusted(1, 1, -2, -2), QColor(0, 0, 255))) << "blue text";
  const QRect other = grid.GetCellRect({3, 1});
  EXPECT_EQ(image.pixelColor(other.right(), other.center().y()), kGridLine);
  EXPECT_EQ(image.pixelColor(other.center().x(), other.bottom()), kGridLine);
  EXPECT_EQ(image.pixelColor(other.right() - 3, other.bottom() - 2), kCells);
  EXPECT_FALSE(Holds(image, other.adjusted(1, 1, -2, -2), QColor(0, 0, 255)));
  EXPECT_EQ(image.pixelColor(other.right() + 1 + grid.GetColumnWidth(2) + 10, other.center().y()), kBeyond);
  EXPECT_EQ(image.pixelColor(other.center().x(), image.height() - 3), kBeyond);
  grid.SetHandler(nullptr);
}

TEST(GridCtrl, APaintReadsOnlyTheVisibleRowsOfAnyLengthAndTheEndShowsTheLastRow) {
  for (const int32_t rows : {1000000, 200000000}) {
    SCOPED_TRACE(rows);
    ShownGrid shown;
    CDatabaseGrid& grid = shown.grid();
    CountingRecordSource source(3, rows);
    grid.SetHandler(&source);
    shown.Render();
    const int visibleRows = shown.viewport()->height() / 18 + 1;
    ASSERT_FALSE(source.rowsRead.empty());
    EXPECT_LE(static_cast<int>(source.rowsRead.size()), visibleRows);
    EXPECT_LT(*source.rowsRead.rbegin(), visibleRows);
    EXPECT_LE(source.valuesRead, 3 * visibleRows);

    grid.SetFocusCell({1, 1});
    QTest::keyClick(&grid, Qt::Key_End);
    source.rowsRead.clear();
    shown.Render();
    EXPECT_EQ(*source.rowsRead.rbegin(), rows - 1);
    EXPECT_EQ(grid.GetFocusCell().row, rows);
    const QRect last = grid.GetCellRect({rows, 1});
    EXPECT_LE(last.bottom(), shown.viewport()->height()) << "the last row is in view";

    // The bar's own end reaches the last row too.
    QTest::keyClick(&grid, Qt::Key_Home);
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    EXPECT_EQ(grid.GetVerticalScrollPos(), grid.GetVerticalScrollMax());
    source.rowsRead.clear();
    shown.Render();
    EXPECT_EQ(*source.rowsRead.rbegin(), rows - 1);
    grid.SetHandler(nullptr);
  }
}

TEST(GridCtrl, ADetachedSourceIsNeverReadAgain) {
  ShownGrid shown;
  CDatabaseGrid& grid = shown.grid();
  auto source = std::make_unique<CountingRecordSource>(3, 100);
  grid.SetHandler(source.get());
  shown.Render();
  grid.SetHandler(nullptr);
  source.reset();
  shown.Render();
  grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  Wheel(shown.viewport(), -120);
  QTest::keyClick(&grid, Qt::Key_End);
  shown.Render();
  EXPECT_EQ(grid.GetRowCount(), 0);
}
