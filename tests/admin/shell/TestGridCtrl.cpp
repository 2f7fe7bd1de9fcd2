#include "admin/shell/DatabaseGrid.h"
#include "admin/shell/GridCtrl.h"
#include "tests/support/CountingRecordSource.h"
#include "tests/support/ImageProbe.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <limits>
#include <memory>
#include <tuple>
#include <vector>

using testsupport::CountingRecordSource;
using testsupport::Holds;

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
  // Plain cells under one fixed row and column.
  CDatabaseGrid& WithHeaders(int columns, int rows) {
    grid_.SetDimensions(columns, rows);
    grid_.SetFixedRowCount(1);
    grid_.SetFixedColumnCount(1);
    return grid_;
  }
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
  CDatabaseGrid& grid = shown.WithHeaders(5, 10);
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
  CDatabaseGrid& grid = shown.WithHeaders(5, 10);
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

namespace {

// A shown grid over 1,000 made-up rows.
class GridOverRows : public ::testing::Test {
 protected:
  void SetUp() override { grid().SetHandler(&source_); }
  void TearDown() override { grid().SetHandler(nullptr); }
  CDatabaseGrid& grid() { return shown_.grid(); }

  CountingRecordSource source_{3, 1000};
  ShownGrid shown_;
};

}  // namespace

TEST_F(GridOverRows, OneWheelNotchScrollsTheUsersLinesOrAPage) {
  ASSERT_EQ(grid().GetTopleftNonFixedCell().row, 1);
  grid().SetWheelScrollLines(3);
  Wheel(shown_.viewport(), -120);
  EXPECT_EQ(grid().GetTopleftNonFixedCell().row, 4);
  Wheel(shown_.viewport(), 120);
  EXPECT_EQ(grid().GetTopleftNonFixedCell().row, 1);
  grid().SetWheelScrollLines(-1);
  Wheel(shown_.viewport(), -120);
  const int page = (shown_.viewport()->height() - grid().GetRowHeight(0)) / 18;
  EXPECT_NEAR(grid().GetTopleftNonFixedCell().row, 1 + page, 1);
}

TEST_F(GridOverRows, HoldingTheButtonBelowTheCellsScrollsOn) {
  const QRect cell = grid().GetCellRect({2, 2});
  const QPoint below(cell.center().x(), shown_.viewport()->height() + 20);
  QTest::mousePress(shown_.viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(grid().GetMouseMode(), CGridCtrl::kSelectingCells);
  QTest::mouseMove(shown_.viewport(), below);
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid().GetFocusCell().row > 20; }, 5000));
  QTest::mouseRelease(shown_.viewport(), Qt::LeftButton, {}, below);
  const int row = grid().GetFocusCell().row;
  QTest::qWait(100);
  EXPECT_EQ(grid().GetFocusCell().row, row) << "the release stops it";
  EXPECT_GT(grid().GetVerticalScrollPos(), 0);
}

TEST_F(GridOverRows, AScrollBarTakesTheFocusFirst) {
  auto* other = new QLineEdit(shown_.grid().parentWidget());
  other->show();
  other->setFocus();
  ASSERT_FALSE(grid().hasFocus());
  grid().verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_TRUE(grid().hasFocus());
  EXPECT_EQ(grid().GetTopleftNonFixedCell().row, 2);
}

TEST(GridCtrl, ColoursStillTakenFromTheSystemFollowIt) {
  CountingRecordSource source(2, 3);
  CDatabaseGrid plain;
  CDatabaseGrid attached;
  attached.SetHandler(&source);
  for (CDatabaseGrid* grid : {&plain, &attached}) {
    QPalette colours = grid->palette();
    colours.setColor(QPalette::Base, QColor(1, 2, 3));
    grid->setPalette(colours);
  }
  EXPECT_EQ(plain.GetTextBkColor(), QColor(1, 2, 3));
  EXPECT_EQ(attached.GetTextBkColor(), kCells);
  attached.SetHandler(nullptr);
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
