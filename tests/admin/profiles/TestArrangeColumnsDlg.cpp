#include "admin/foundation/AppLog.h"
#include "admin/profiles/ArrangeColumnsDlg.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/HelpBalloon.h"
#include "tests/support/DialogScreenshot.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

using testsupport::MessageBoxRecorder;

// Id is the key; the profile sorts by Name; a form maps Age and uses Town as a lookup column.
ArrangeColumnsInput PeopleColumns() {
  ArrangeColumnsInput input;
  input.columns = {QStringLiteral("\"Id\""), QStringLiteral("\"Name\""), QStringLiteral("\"Na\""),
                   QStringLiteral("\"Age\""), QStringLiteral("\"Town\"")};
  input.types = {QStringLiteral("4"), QStringLiteral("12"), QStringLiteral("12"), QStringLiteral("4"), QStringLiteral("12")};
  input.primaryKeys = {QStringLiteral("Primary Key"), QString(), QString(), QString(), QString()};
  input.sortColumnsInfo = QStringLiteral("1#4#Name#0#12#");
  input.formColumns = {QStringLiteral("Age")};
  input.lookupColumns = {QStringLiteral("Town")};
  input.fromText = QStringLiteral("\"People\"");
  return input;
}

class ArrangeDialog : public ::testing::Test {
 protected:
  void SetUp() override { MessageBoxRecorder::Global().Clear(); }

  CArrangeColumnsDlg& Open(ArrangeColumnsInput input = PeopleColumns()) {
    dialog_ = std::make_unique<CArrangeColumnsDlg>(std::move(input));
    dialog_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    return *dialog_;
  }

  CColoredListCtrl& List() const { return *dialog_->GetList(); }
  // A click on the row's name, or on its check box.
  void ClickRow(int row, bool onCheckBox = false) const {
    const QRect cell = List().visualRect(List().model()->index(row, 0));
    const QPoint point = onCheckBox ? QPoint(cell.left() + 8, cell.center().y()) : cell.center();
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, point);
  }
  void Click(const char* id) const {
    QTest::mouseClick(dialog_->findChild<QPushButton*>(QString::fromLatin1(id)), Qt::LeftButton);
  }
  QString SqlText() const { return dialog_->findChild<QPlainTextEdit*>(QStringLiteral("1064"))->toPlainText(); }
  QList<bool> Ticks() const {
    QList<bool> ticks;
    for (int row = 0; row < List().GetItemCount(); ++row) ticks << List().GetCheck(row);
    return ticks;
  }

  std::unique_ptr<CArrangeColumnsDlg> dialog_;
};

}  // namespace

TEST_F(ArrangeDialog, ListsTheColumnsWithTheirTypeNamesAndKeys) {
  CArrangeColumnsDlg& dialog = Open();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Arrange Columns"));
  EXPECT_EQ(List().objectName(), QStringLiteral("1062"));
  ASSERT_EQ(List().columnCount(), 3);
  const int width = List().width() - 2 * List().frameWidth();
  EXPECT_EQ(List().horizontalHeaderItem(0)->text(), QStringLiteral("Column Names"));
  EXPECT_EQ(List().horizontalHeaderItem(1)->text(), QStringLiteral("Datatypes"));
  EXPECT_EQ(List().horizontalHeaderItem(2)->text(), QStringLiteral("Primary Key"));
  EXPECT_EQ(List().columnWidth(0), width / 2);
  EXPECT_EQ(List().columnWidth(2), width / 3 + 1);
  ASSERT_EQ(List().GetItemCount(), 5);
  EXPECT_EQ(List().GetItemText(0, 2), QStringLiteral("Primary Key"));
  EXPECT_FALSE(List().GetItemText(1, 1).isEmpty());
  EXPECT_EQ(Ticks(), QList<bool>(5, false));
  EXPECT_TRUE(SqlText().isEmpty());
  EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("1220"))->property("text").toString(), QStringLiteral("SQL Query"));
  EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("1221"))->property("text").toString(),
            QStringLiteral("Select Column(s)"));

  QList<int> balloons;
  SetHelpBalloonOpener([&](int topic, QPoint) { balloons.append(topic); });
  Click("1015");
  SetHelpBalloonOpener({});
  EXPECT_EQ(balloons, QList<int>{23});
}

TEST_F(ArrangeDialog, TheOrderOfTickingIsTheOrderOfTheSelect) {
  CArrangeColumnsDlg& dialog = Open();
  ClickRow(0);
  ClickRow(3, true);
  ClickRow(1);
  EXPECT_EQ(SqlText(), QStringLiteral("Select  \"Id\", \"Age\", \"Name\" from \"People\""));
  EXPECT_EQ(Ticks(), (QList<bool>{true, true, false, true, false}));
  EXPECT_TRUE(List().selectedItems().isEmpty());
  QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, QPoint(40, List().viewport()->height() - 3));
  EXPECT_EQ(Ticks(), (QList<bool>{true, true, false, true, false})) << "a click below the rows flips nothing";

  ClickRow(3);  // the middle one
  EXPECT_EQ(SqlText(), QStringLiteral("Select  \"Id\", \"Name\" from \"People\""));
  EXPECT_FALSE(List().GetCheck(3));
  ClickRow(2, true);
  Click("1175");  // Undo Select takes the last ticked
  EXPECT_FALSE(List().GetCheck(2));
  EXPECT_EQ(SqlText(), QStringLiteral("Select  \"Id\", \"Name\" from \"People\""));

  QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, List().visualRect(List().model()->index(4, 0)).center());
  EXPECT_FALSE(List().GetCheck(4)) << "a double click is two clicks";
  EXPECT_EQ(SqlText(), QStringLiteral("Select  \"Id\", \"Name\" from \"People\""));

  MessageBoxRecorder::Global().ScriptAnswers({platform::IDYES});
  for (int row : {2, 3, 4}) ClickRow(row);
  Click("1");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const ArrangedColumns& arranged = dialog.GetArrangedColumns();
  EXPECT_EQ(arranged.columns, (QStringList{QStringLiteral("\"Id\""), QStringLiteral("\"Name\""), QStringLiteral("\"Na\""),
                                           QStringLiteral("\"Age\""), QStringLiteral("\"Town\"")}));
  EXPECT_EQ(arranged.types.first(), QStringLiteral("4"));
  EXPECT_EQ(arranged.primaryKeys.first(), QStringLiteral("Primary Key"));
  EXPECT_TRUE(MessageBoxRecorder::Global().shown().isEmpty()) << "nothing was left out";

  Open();
  ClickRow(1);
  ClickRow(4);
  Click("1153");
  EXPECT_EQ(Ticks(), QList<bool>(5, false));
  EXPECT_TRUE(SqlText().isEmpty());
  EXPECT_TRUE(dialog_->GetArrangedColumns().columns.isEmpty());
}

TEST_F(ArrangeDialog, OkRefusesToLeaveOutWhatSortsFormsAndLookupsNeed) {
  const QString atLeastOne = QStringLiteral("Please, Select atleast one Column from available list.");
  const QString keyQuestion = QStringLiteral(
      "You are trying to uncheck primary key column. A database, which has primary key, does not allow adding new "
      "record until user has data for primary key column also. So you will not able to Add new record from device, "
      "only edit and delete will be possible. Are you sure to uncheck Primary Key column : \"Id\" ?");
  const QString sortRefusal =
      QStringLiteral("Does not allow to deselect Sort column, Please Select \"Name\" Column from available list.");
  const QString formRefusal = QStringLiteral(
      "You can not remove the column: \"Age\" as it is already assigned in Form, Please remove this column from form "
      "first, if you do not want to use this.");
  const QString lookupRefusal = QStringLiteral(
      "You can not remove the column: \"Town\" as it is already assigned in Form Control as Lookup Column, Please "
      "remove this column as Lookup Column from form First, if you do not want to use this.");
  struct Case {
    const char* what;
    QList<int> ticked;
    QList<int> answers;
    QStringList shown;
    bool accepted;
  };
  const QList<Case> cases{
      {"nothing ticked, the key kept", {}, {platform::IDNO}, {keyQuestion}, false},
      {"the key left out on Yes", {1, 2, 3, 4}, {platform::IDYES}, {keyQuestion}, true},
      {"Na is no sort though Name is", {0, 1, 3, 4}, {}, {}, true},
      {"the sorted Name", {0, 2, 3, 4}, {}, {sortRefusal}, false},
      {"the form's Age", {0, 1, 2, 4}, {}, {formRefusal}, false},
      {"the lookup Town", {0, 1, 2, 3}, {}, {lookupRefusal}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MessageBoxRecorder::Global().Clear();
    MessageBoxRecorder::Global().ScriptAnswers(c.answers);
    CArrangeColumnsDlg& dialog = Open();
    for (int row : c.ticked) ClickRow(row);
    Click("1");
    QStringList shown;
    for (const platform::MessageBoxRequest& box : MessageBoxRecorder::Global().shown()) {
      shown << box.text;
      EXPECT_EQ(box.caption, ProgramTitle());
      EXPECT_EQ(box.icon(), platform::MB_ICONINFORMATION);
    }
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
    EXPECT_EQ(dialog.isVisible(), !c.accepted);
  }

  MessageBoxRecorder::Global().Clear();
  ArrangeColumnsInput plain = PeopleColumns();
  plain.primaryKeys = QStringList(5, QString());
  plain.formColumns.clear();
  plain.lookupColumns.clear();
  plain.sortColumnsInfo = QStringLiteral("0#");
  Open(plain);
  Click("1");
  EXPECT_EQ(MessageBoxRecorder::Global().shown().last().text, atLeastOne) << "no ticked column";
  Open(ArrangeColumnsInput{});
  Click("1");
  EXPECT_EQ(MessageBoxRecorder::Global().shown().last().text, atLeastOne) << "an empty list";
  EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(ArrangeDialog, Screenshot) {
  CArrangeColumnsDlg& dialog = Open();
  ClickRow(1);
  ClickRow(0);
  testsupport::SaveDialogScreenshot(dialog, QStringLiteral("arrange-columns.png"));
}
