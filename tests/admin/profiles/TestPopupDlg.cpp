#include "admin/profiles/PopupDlg.h"
#include "tests/support/CountingRecordSource.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// A popup shown at a known place on the screen.
class ShownPopup : public ::testing::Test {
 protected:
  void SetUp() override {
    popup_.setGeometry(100, 120, 400, 300);
    popup_.show();
    popup_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup_));
  }
  CPopupDlg popup_;
};

}  // namespace

TEST_F(ShownPopup, KeepsTheGridUnderATenPixelBand) {
  EXPECT_EQ(popup_.Grid().geometry(), QRect(0, 10, 400, 290));
  popup_.resize(250, 180);
  EXPECT_EQ(popup_.Grid().geometry(), QRect(0, 10, 250, 170));
  EXPECT_EQ(popup_.Grid().objectName(), QStringLiteral("1042"));
  EXPECT_TRUE(popup_.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_FALSE(popup_.isModal());
}

TEST_F(ShownPopup, DraggingTheBandMovesTheWindowByTheCursorsOffset) {
  const QPoint start = popup_.pos();
  QTest::mousePress(&popup_, Qt::LeftButton, {}, QPoint(30, 5));
  QTest::mouseRelease(&popup_, Qt::LeftButton, {}, QPoint(30, 5));
  EXPECT_EQ(popup_.pos(), start) << "a press and release alone leave it";

  QTest::mousePress(&popup_, Qt::LeftButton, {}, QPoint(30, 5));
  EXPECT_TRUE(popup_.IsDragging());
  QTest::mouseMove(&popup_, QPoint(70, 30));
  EXPECT_TRUE(QTest::qWaitFor([&] { return popup_.pos() == start + QPoint(40, 25); }, 2000));
  // The cursor now stands where it was pressed, in the moved window.
  QTest::mouseRelease(&popup_, Qt::LeftButton, {}, QPoint(30, 5));
  EXPECT_FALSE(popup_.IsDragging());
  EXPECT_EQ(popup_.pos(), start + QPoint(40, 25));
  EXPECT_EQ(popup_.size(), QSize(400, 300));
}

TEST_F(ShownPopup, TheHashButtonHidesItAndDetachesTheGrid) {
  testsupport::CountingRecordSource source(2, 5);
  popup_.Grid().SetHandler(&source);
  auto* button = popup_.findChild<QPushButton*>(QStringLiteral("1080"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), QStringLiteral("#"));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_FALSE(popup_.isVisible());
  EXPECT_EQ(popup_.Grid().GetHandler(), nullptr);
  EXPECT_EQ(popup_.Grid().GetRowCount(), 0);
  popup_.show();
  EXPECT_TRUE(popup_.isVisible()) << "the page shows it again";
}

TEST_F(ShownPopup, EscapeSendsTheCloseCommandToThePageAndLeavesItAsItIs) {
  QSignalSpy commands(&popup_, &CPopupDlg::Command);
  QTest::keyClick(&popup_, Qt::Key_Escape);
  ASSERT_EQ(commands.count(), 1);
  EXPECT_EQ(commands.front().front().toInt(), 1080);
  EXPECT_TRUE(popup_.isVisible());
}
