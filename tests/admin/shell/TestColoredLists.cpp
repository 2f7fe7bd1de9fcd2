#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/CoolEdit.h"
#include "admin/shell/GridListCtrl.h"
#include "admin/shell/InPlaceCombo.h"
#include "admin/shell/InPlaceEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>

namespace {

const QColor kEven(255, 255, 255);
const QColor kOdd(229, 232, 239);
const QColor kRed(255, 0, 0);

QImage RenderViewport(CColoredListCtrl& list) { return list.viewport()->grab().toImage(); }

void ShowActive(QWidget* widget) {
  widget->show();
  widget->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(widget));
}

void DeleteLaterOnes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

uint32_t Pack(uint32_t column0, uint32_t operatorIndex, uint32_t columnIndex) {
  return column0 | operatorIndex << 8 | columnIndex << 16;
}

}  // namespace

TEST(ColoredListCtrl, AlternatesRowsCarriesTheBandsOnAndMarksRowsOnlyWhileMarkingIsOn) {
  CColoredListCtrl list;
  list.resize(240, 200);
  list.InsertColumn(0, QStringLiteral("Name"), 100);
  for (int row = 0; row < 3; ++row) list.InsertItem(row, QStringLiteral("r"));
  const int x = 200;  // beyond the column and its text
  const int height = list.rowHeight(0);
  const auto colourOfRow = [&](const QImage& image, int row) {
    return image.pixelColor(x, list.rowViewportPosition(0) + row * height + height / 2);
  };
  const QImage plain = RenderViewport(list);
  EXPECT_EQ(colourOfRow(plain, 0), kEven);
  EXPECT_EQ(colourOfRow(plain, 1), kOdd);
  EXPECT_EQ(colourOfRow(plain, 2), kEven);
  EXPECT_EQ(colourOfRow(plain, 3), kOdd) << "the bands go on below the last row";
  EXPECT_EQ(colourOfRow(plain, 4), kEven);
  EXPECT_EQ(list.viewport()->grab().toImage().pixelColor(50, list.rowViewportPosition(1) + 1), kOdd);

  list.SetMarkedRows({1});
  EXPECT_EQ(colourOfRow(RenderViewport(list), 1), kOdd);
  list.SetMarking(true);
  EXPECT_EQ(colourOfRow(RenderViewport(list), 1), kRed);
  EXPECT_EQ(colourOfRow(RenderViewport(list), 2), kEven);
  list.SetMarking(false);
  EXPECT_EQ(colourOfRow(RenderViewport(list), 1), kOdd);
}

TEST(CoolEdit, WritesItsTextIntoTheCellWhenTheFocusLeavesAndGoes) {
  CColoredListCtrl list;
  list.resize(300, 150);
  list.InsertColumn(0, QStringLiteral("Parameter"), 100);
  list.InsertColumn(1, QStringLiteral("Value"), 100);
  list.InsertItem(0, QStringLiteral("p1"));
  ShowActive(&list);
  auto* edit = new CCoolEdit(&list, 0, 1);
  edit->setGeometry(list.visualRect(list.model()->index(0, 1)));
  edit->show();
  edit->setFocus();
  QTest::keyClicks(edit, QStringLiteral("typed"));
  list.setFocus();
  EXPECT_EQ(list.GetItemText(0, 1), QStringLiteral("typed"));
  DeleteLaterOnes();
  EXPECT_TRUE(list.findChildren<CCoolEdit*>().isEmpty());
}

namespace {

// The filter list of a dialog: a first row and an "OR" row over three columns of a source.
class FilterList : public ::testing::Test {
 protected:
  void SetUp() override {
    list_.resize(300, 160);
    for (const QString& heading : {QStringLiteral("Filter Joining"), QStringLiteral("Field Name"),
                                   QStringLiteral("Filter Operator"), QStringLiteral("Filter Value")}) {
      list_.InsertColumn(list_.columnCount(), heading, 100);
    }
    list_.SetColumns({QStringLiteral("\"Name\""), QStringLiteral("\"Born\""), QStringLiteral("\"Age\"")},
                     {QStringLiteral("12"), QStringLiteral("91"), QStringLiteral("4")});
    list_.SetFilterTarget({QStringLiteral("SQLite"), false});
    AddRow({QString(), QStringLiteral("\"Name\""), QStringLiteral("LIKE"), QStringLiteral("'A%'")}, Pack(0, 7, 0));
    AddRow({QStringLiteral("OR"), QStringLiteral("\"Age\""), QStringLiteral(">"), QStringLiteral("30")}, Pack(1, 3, 2));
    ShowActive(&list_);
    list_.setFocus();
    list_.SetSelectionMark(1);
  }

  void AddRow(const QStringList& texts, uint32_t data) {
    const int row = list_.InsertItem(list_.GetItemCount(), texts[0]);
    for (int column = 1; column < texts.size(); ++column) list_.SetItemText(row, column, texts[column]);
    list_.SetItemData(row, data);
  }

  void FocusColumn(int column) {
    while (list_.GetFocusedColumn() > column) QTest::keyClick(&list_, Qt::Key_Left);
    while (list_.GetFocusedColumn() < column) QTest::keyClick(&list_, Qt::Key_Right);
  }

  CInPlaceCombo* OpenCombo(int row, int column) {
    list_.SetSelectionMark(row);
    FocusColumn(column);
    QTest::keyClick(&list_, Qt::Key_F2);
    return qobject_cast<CInPlaceCombo*>(list_.GetOpenEditor());
  }

  void LeaveEditor() {
    list_.setFocus();
    DeleteLaterOnes();
  }

  CGridListCtrl list_;
};

}  // namespace

TEST_F(FilterList, ArrowsChooseTheColumnWithinTheRow) {
  EXPECT_EQ(list_.GetFocusedColumn(), -1);
  QTest::keyClick(&list_, Qt::Key_Left);
  EXPECT_EQ(list_.GetFocusedColumn(), -1) << "without a column Left does nothing";
  for (int i = 0; i < 6; ++i) QTest::keyClick(&list_, Qt::Key_Right);
  EXPECT_EQ(list_.GetFocusedColumn(), 3) << "Right stops at the last column";
  EXPECT_GT(list_.horizontalScrollBar()->value(), 0) << "the column was scrolled into view";
  FocusColumn(0);
  QTest::keyClick(&list_, Qt::Key_Left);
  EXPECT_EQ(list_.GetFocusedColumn(), -1);
  QTest::keyClick(&list_, Qt::Key_F2);
  EXPECT_EQ(list_.GetOpenEditor(), nullptr);
}

TEST_F(FilterList, TheFirstConjunctionIsNotEditableTheOthersOpenOnTheStoredChoice) {
  EXPECT_EQ(OpenCombo(0, 0), nullptr);
  CInPlaceCombo* combo = OpenCombo(1, 0);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->objectName(), QStringLiteral("103"));
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->itemText(0), QStringLiteral("AND"));
  EXPECT_EQ(combo->currentText(), QStringLiteral("OR"));
  EXPECT_TRUE(combo->hasFocus());
  EXPECT_EQ(combo->font().family(), QStringLiteral("Verdana"));
  const QRect cell = list_.visualRect(list_.model()->index(1, 0));
  EXPECT_EQ(combo->geometry().left(), cell.left() + 20) << "column 0 shifts its combo";
  EXPECT_EQ(combo->geometry().right(), cell.right());
}

TEST_F(FilterList, PickingAndLeavingStoresTheTextAndThePackedChoice) {
  struct Case {
    int column;
    int pick;
    QString text;
    uint32_t data;
  };
  for (const Case& c : {Case{0, 0, QStringLiteral("AND"), Pack(0, 3, 2)}, Case{1, 1, QStringLiteral("\"Born\""), Pack(0, 3, 1)},
                        Case{2, 5, QStringLiteral(">="), Pack(0, 5, 1)}}) {
    SCOPED_TRACE(c.column);
    CInPlaceCombo* combo = OpenCombo(1, c.column);
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(c.pick);
    LeaveEditor();
    EXPECT_EQ(list_.GetItemText(1, c.column), c.text);
    EXPECT_EQ(list_.GetItemData(1), c.data);
    EXPECT_EQ(list_.GetOpenEditor(), nullptr);
    EXPECT_TRUE(list_.findChildren<CInPlaceCombo*>().isEmpty()) << "no editor stays over the list";
  }
}

TEST_F(FilterList, AStoredIndexOutOfRangeDeliversTheFirstEntryWithItsIndex) {
  list_.SetItemData(1, Pack(1, 3, 0xFFFF));
  CInPlaceCombo* combo = OpenCombo(1, 1);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->currentIndex(), -1);
  LeaveEditor();
  EXPECT_EQ(list_.GetItemText(1, 1), QStringLiteral("\"Name\""));
  EXPECT_EQ(list_.GetItemData(1), Pack(1, 3, 0));
}

TEST_F(FilterList, AScrollEndsTheOpenEditor) {
  CInPlaceCombo* combo = OpenCombo(1, 2);
  ASSERT_NE(combo, nullptr);
  combo->setCurrentIndex(0);
  list_.horizontalScrollBar()->setValue(list_.horizontalScrollBar()->value() == 0 ? 20 : 0);
  DeleteLaterOnes();
  EXPECT_EQ(list_.GetOpenEditor(), nullptr);
  EXPECT_EQ(list_.GetItemText(1, 2), QStringLiteral("="));
}

TEST_F(FilterList, TheValueColumnAsksThePromptAndStoresItsQuotedAnswer) {
  struct Case {
    FilterValueAnswer answer;
    QString stored;
  };
  for (const Case& c : {Case{{true, QStringLiteral("O'Brien"), true}, QStringLiteral("'O''Brien'")},
                        Case{{false, QStringLiteral("ignored"), true}, QString()},
                        Case{{true, QStringLiteral("\"Age\""), false}, QStringLiteral("\"Age\"")}}) {
    SCOPED_TRACE(qPrintable(c.answer.value));
    list_.SetItemText(1, 1, QStringLiteral("\"Name\""));
    list_.SetItemText(1, 3, QStringLiteral("30"));
    QString askedText;
    QStringList askedNames;
    int askedType = 0;
    list_.SetFilterValuePrompt([&](const QString& text, const QStringList& names, int type) {
      askedText = text;
      askedNames = names;
      askedType = type;
      return c.answer;
    });
    list_.SetSelectionMark(1);
    FocusColumn(3);
    QTest::keyClick(&list_, Qt::Key_F2);
    DeleteLaterOnes();
    EXPECT_EQ(askedText, QStringLiteral("30"));
    EXPECT_EQ(askedNames.size(), 3);
    EXPECT_EQ(askedType, 12);
    EXPECT_EQ(list_.GetItemText(1, 3), c.stored);
    EXPECT_EQ(list_.GetOpenEditor(), nullptr);
    EXPECT_TRUE(list_.findChildren<CInPlaceEdit*>().isEmpty());
    EXPECT_TRUE(list_.hasFocus());
  }
}

TEST_F(FilterList, DrawsTheFocusedCellAsARaisedBox) {
  FocusColumn(1);
  list_.setCurrentCell(1, 1);
  const QImage shown = RenderViewport(list_);
  const QRect cell = list_.visualRect(list_.model()->index(1, 1));
  const QPalette& colours = list_.palette();
  const auto at = [&](const QPoint& point) { return shown.pixel(point); };
  EXPECT_EQ(at(cell.topLeft()), colours.color(QPalette::Dark).rgb());
  EXPECT_EQ(at(cell.topLeft() + QPoint(1, 1)), colours.color(QPalette::Shadow).rgb());
  EXPECT_EQ(at(cell.bottomRight()), colours.color(QPalette::Button).rgb());
  EXPECT_EQ(at(cell.bottomRight() - QPoint(1, 1)), colours.color(QPalette::Light).rgb());
  EXPECT_EQ(at(QPoint(cell.right() - 4, cell.center().y())), colours.color(QPalette::Button).rgb());
  const QRect above = list_.visualRect(list_.model()->index(0, 1));
  EXPECT_EQ(shown.pixelColor(above.right() - 4, above.center().y()), kEven) << "only the focused cell";
}
