// The login prompt of a data source, the workbook choice, the removal of a property value, and
// the synchronisation mode dialog's opening and help.
#include "admin/shell/BMButton.h"
#include "admin/shell/DBAuthDlg.h"
#include "admin/shell/DeletePropertyValue.h"
#include "admin/shell/ExcelConnDlg.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/ManageSynchronizationDlg.h"
#include "tests/admin/shell/RecordingSyncControl.h"
#include "tests/support/DialogControls.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

using testsupport::MessageBoxRecorder;

namespace {

using testsupport::Control;

using testsupport::OpenedBalloon;

// Records the balloons the dialogs open instead of showing them.
class SmallDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxRecorder::Global().Clear();
    SetHelpBalloonOpener([this](int topic, QPoint position) { balloons_.append({topic, position}); });
  }
  void TearDown() override { SetHelpBalloonOpener({}); }

  void ExpectHelp(QWidget& dialog, int topic) {
    dialog.show();
    auto* help = Control<CBMButton>(dialog, "1015");
    help->click();
    ASSERT_EQ(balloons_.size(), 1);
    EXPECT_EQ(balloons_[0].topic, topic);
    EXPECT_EQ(balloons_[0].position, help->mapToGlobal(QPoint(0, 0)) + QPoint(-150, 20));
  }

  QList<OpenedBalloon> balloons_;
};

}  // namespace

TEST_F(SmallDialogs, TheDatabaseLoginGivesBothTextsAndHelpsWithTopic20) {
  CDBAuthDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Database Authentication"));
  auto* user = Control<QLineEdit>(dialog, "1055");
  auto* password = Control<QLineEdit>(dialog, "1003");
  EXPECT_EQ(dialog.focusWidget(), user);
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  ExpectHelp(dialog, 20);
  QTest::keyClicks(user, QStringLiteral("scott"));
  QTest::keyClicks(password, QStringLiteral("tiger"));
  Control<CBMButton>(dialog, "1")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.GetUserName(), QStringLiteral("scott"));
  EXPECT_EQ(dialog.GetPassword(), QStringLiteral("tiger"));
}

TEST_F(SmallDialogs, TheWorkbookChoiceOpensOnTheFieldHeaderAndHelpsWithTopic10) {
  CExcelConnDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Excel Database Connection"));
  EXPECT_TRUE(Control<QRadioButton>(dialog, "1072")->isChecked());
  EXPECT_EQ(Control<QRadioButton>(dialog, "1072")->text(), QStringLiteral("Use first row as a field header"));
  ExpectHelp(dialog, 10);
  Control<QRadioButton>(dialog, "1073")->click();
  EXPECT_FALSE(Control<QRadioButton>(dialog, "1072")->isChecked());
  Control<CBMButton>(dialog, "1")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.GetChoice(), 1);

  CExcelConnDlg cancelled;
  Control<CBMButton>(cancelled, "2")->click();
  EXPECT_EQ(cancelled.result(), QDialog::Rejected);
  EXPECT_EQ(cancelled.GetChoice(), 0);
}

// No, the default of the question, keeps the dialog open with its selection; with nothing
// selected Delete does nothing; Yes gives the value.
TEST_F(SmallDialogs, ThePropertyValueIsRemovedOnlyAfterYes) {
  CDeletePropertyValue dialog({QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue")});
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Delete Property Value"));
  auto* list = Control<QListWidget>(dialog, "1052");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->currentRow(), 0);
  list->setCurrentRow(1);
  MessageBoxRecorder::Global().ScriptAnswers({platform::IDNO});
  Control<CBMButton>(dialog, "1")->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(list->currentRow(), 1);
  ASSERT_EQ(MessageBoxRecorder::Global().shown().size(), 1);
  const platform::MessageBoxRequest question = MessageBoxRecorder::Global().shown()[0];
  EXPECT_EQ(question.text, QStringLiteral("Are you sure to remove property value : Green ?"));
  EXPECT_EQ(question.caption, QStringLiteral("Tarnwick Plus Lite"));
  EXPECT_EQ(question.buttons(), platform::MB_YESNO);
  EXPECT_EQ(question.defaultButton(), platform::MB_DEFBUTTON2);

  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                    list->visualItemRect(list->item(1)).center());
  ASSERT_TRUE(list->selectedItems().isEmpty());
  Control<CBMButton>(dialog, "1")->click();
  EXPECT_EQ(MessageBoxRecorder::Global().shown().size(), 1) << "nothing selected: no question";
  EXPECT_TRUE(dialog.isVisible());

  list->setCurrentRow(2);
  Control<CBMButton>(dialog, "1")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.GetChosenValue(), QStringLiteral("Blue"));
}

TEST_F(SmallDialogs, TheModeDialogOpensOnTheCurrentModeAndHelpsWithTopic19) {
  for (const int mode : {0, 1}) {
    balloons_.clear();
    RecordingSyncControl control;
    control.startSyncStatus = mode;
    CManageSynchronizationDlg dialog(control);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Synchronization Settings"));
    EXPECT_EQ(Control<QRadioButton>(dialog, "1190")->isChecked(), mode == 1);
    EXPECT_EQ(Control<QRadioButton>(dialog, "1191")->isChecked(), mode == 0);
    ExpectHelp(dialog, 19);
    Control<CBMButton>(dialog, "1")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(control.steps.isEmpty()) << "OK on the current mode runs nothing";
  }
}
