#include "admin/foundation/AppLog.h"
#include "admin/profiles/FilterValue.h"
#include "admin/shell/HelpBalloon.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using testsupport::MessageBoxRecorder;

const QStringList kNames{QStringLiteral("\"Name\""), QStringLiteral("\"Price\""), QStringLiteral("\"Count\""),
                         QStringLiteral("\"Born\"")};
const QStringList kTypes{QStringLiteral("12"), QStringLiteral("2"), QStringLiteral("-5"), QStringLiteral("91")};

}  // namespace

TEST(FilterValueGroups, NumbersMapOntoNumbersCharactersOntoCharactersOtherTypesOnlyOntoThemselves) {
  struct Case {
    int filtered;
    int chosen;
    bool valid;
  };
  for (const Case& c : {Case{2, 4, true}, Case{3, -5, true}, Case{-5, 8, true}, Case{4, 2, true}, Case{-6, 3, true},
                        Case{2, 12, false}, Case{1, 2, false}, Case{12, -9, true}, Case{-1, -11, true},
                        Case{91, 91, true}, Case{91, 93, false}, Case{12, 91, false}, Case{4, 12, false}}) {
    EXPECT_EQ(CFilterValue::IsValidFieldMapping(c.filtered, c.chosen), c.valid) << c.filtered << " " << c.chosen;
  }
}

TEST(FilterValueDialog, ChoosesATypedValueOrAColumnOfTheSameKind) {
  MessageBoxRecorder::Global().Clear();
  QList<int> balloons;
  SetHelpBalloonOpener([&](int topic, QPoint) { balloons.append(topic); });
  CFilterValue dialog(QStringLiteral("\"Count\""), kNames, kTypes, 4);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set Filter Value As"));
  auto* arbitrary = dialog.findChild<QRadioButton*>(QStringLiteral("1076"));
  auto* column = dialog.findChild<QRadioButton*>(QStringLiteral("1077"));
  auto* columns = dialog.findChild<QComboBox*>(QStringLiteral("1078"));
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("1055"));
  ASSERT_TRUE(arbitrary && column && columns && edit);
  EXPECT_EQ(arbitrary->text(), QStringLiteral("Arbitrary Value"));
  EXPECT_EQ(column->text(), QStringLiteral("Database Column"));
  EXPECT_TRUE(arbitrary->isChecked());
  EXPECT_FALSE(columns->isVisible());
  EXPECT_EQ(columns->count(), 4);
  EXPECT_EQ(columns->currentText(), QStringLiteral("\"Count\""));
  EXPECT_EQ(edit->text(), QStringLiteral("\"Count\""));

  edit->setText(QStringLiteral("17"));
  EXPECT_EQ(dialog.GetValue(), QStringLiteral("17"));
  EXPECT_TRUE(dialog.IsArbitraryValue());

  QTest::mouseClick(column, Qt::LeftButton);
  EXPECT_TRUE(columns->isVisible());
  EXPECT_FALSE(edit->isVisible());
  EXPECT_FALSE(dialog.IsArbitraryValue());
  columns->setFocus();
  QTest::keyClick(columns, Qt::Key_Down);  // "Born", a date: no number
  EXPECT_EQ(dialog.GetValue(), QString());
  ASSERT_EQ(MessageBoxRecorder::Global().shown().size(), 1);
  EXPECT_EQ(MessageBoxRecorder::Global().shown().front().text, QStringLiteral("Not a Valid Field Mapping"));
  EXPECT_EQ(MessageBoxRecorder::Global().shown().front().caption, ProgramTitle());
  QTest::keyClick(columns, Qt::Key_Up);
  QTest::keyClick(columns, Qt::Key_Up);  // "Price", NUMERIC
  EXPECT_EQ(dialog.GetValue(), QStringLiteral("\"Price\""));
  EXPECT_EQ(MessageBoxRecorder::Global().shown().size(), 1);

  QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1015")), Qt::LeftButton);
  EXPECT_EQ(balloons, QList<int>{12});
  QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  SetHelpBalloonOpener({});
}
