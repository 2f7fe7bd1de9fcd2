#include "admin/profiles/ParameterDialog.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/ParameterListCtrl.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using testsupport::MessageBoxRecorder;

namespace {

void DeleteLaterOnes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class ParameterDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxRecorder::Global().Clear();
    SetHelpBalloonOpener([this](int topic, QPoint position) { balloons_.append({topic, position}); });
    records_ = {{u"p_customer"_s, u"SQL_INTEGER"_s, u"INPUT"_s, {}},
                {u"p_name"_s, u"SQL_VARCHAR"_s, u"INPUT_OUTPUT"_s, {}}};
  }
  void TearDown() override { SetHelpBalloonOpener({}); }

  // Opens the dialog as the page does, shown and active.
  CParameterDialog* Open(int mode = 1) {
    dialog_ = std::make_unique<CParameterDialog>(&records_, mode);
    dialog_->open();
    dialog_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
    return dialog_.get();
  }
  CParameterListCtrl* List() const { return dialog_->findChild<CParameterListCtrl*>(u"1052"_s); }
  QPushButton* Button(const QString& id) const { return dialog_->findChild<QPushButton*>(id); }
  void ClickCell(int row, int column) {
    const QRect cell = List()->visualRect(List()->model()->index(row, column));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, cell.center());
  }
  // Clicks the value of `row` and types `text` over the selected entry.
  void Type(int row, const QString& text) {
    ClickCell(row, CParameterDialog::kValueColumn);
    ASSERT_NE(List()->GetEditor(), nullptr);
    QTest::keyClicks(List()->GetEditor(), text);
  }
  static QStringList ShownTexts() {
    QStringList texts;
    for (const platform::MessageBoxRequest& request : MessageBoxRecorder::Global().shown()) texts.append(request.text);
    return texts;
  }

  QList<ParameterRecord> records_;
  std::unique_ptr<CParameterDialog> dialog_;
  QList<std::pair<int, QPoint>> balloons_;
};

}  // namespace

TEST_F(ParameterDialogTest, ListsTheRecordsUnderItsControls) {
  records_[0].value = u"7"_s;
  Open();
  EXPECT_EQ(dialog_->windowTitle(), u"Parameter Values"_s);
  ASSERT_EQ(List()->columnCount(), 4);
  QStringList headings;
  for (int column = 0; column < 4; ++column) headings.append(List()->horizontalHeaderItem(column)->text());
  EXPECT_EQ(headings, QStringList({u"Name"_s, u"Datatype"_s, u"Direction"_s, u"Value"_s}));
  ASSERT_EQ(List()->GetItemCount(), 2);
  EXPECT_EQ(List()->GetItemText(1, 0), u"p_name"_s);
  EXPECT_EQ(List()->GetItemText(1, 1), u"SQL_VARCHAR"_s);
  EXPECT_EQ(List()->GetItemText(1, 2), u"INPUT_OUTPUT"_s);
  EXPECT_EQ(List()->GetItemText(0, 3), u"7"_s);
  EXPECT_EQ(Button(u"1"_s)->text(), u"OK"_s);
  EXPECT_EQ(Button(u"1153"_s)->text(), u"Cancel"_s);
  EXPECT_EQ(Button(u"1175"_s)->text(), u"Help"_s);
  EXPECT_TRUE(dialog_->findChild<QLabel*>(u"1055"_s)->text().isEmpty());
  QTest::mouseClick(Button(u"1175"_s), Qt::LeftButton);
  ASSERT_EQ(balloons_.size(), 1);
  EXPECT_EQ(balloons_[0].first, 21);
  EXPECT_EQ(balloons_[0].second, HelpBalloonPosition(Button(u"1175"_s), BalloonAnchor::DialogHelpButton));
}

TEST_F(ParameterDialogTest, ModeTwoShowsTheAutoSyncNote) {
  Open(2);
  EXPECT_EQ(dialog_->findChild<QLabel*>(u"1055"_s)->text(),
            u"Note : These parameters will be used to call stored procedure on every autosync interval."_s);
}

TEST_F(ParameterDialogTest, OnlyTheValueColumnOpensAnEditor) {
  records_[1].value = QString(300, u'v');
  Open();
  ClickCell(0, 0);
  EXPECT_EQ(List()->GetEditor(), nullptr);
  ClickCell(1, 3);
  CCoolEdit* editor = List()->GetEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->objectName(), u"5656"_s);
  EXPECT_EQ(editor->text(), QString(255, u'v'));
  EXPECT_TRUE(editor->hasSelectedText());
  EXPECT_TRUE(editor->hasFocus());
  QTest::keyClicks(editor, u"Smith"_s);
  // A click elsewhere ends the edit: the entry holds the text, the editor goes.
  ClickCell(0, 1);
  DeleteLaterOnes();
  EXPECT_EQ(List()->GetItemText(1, 3), u"Smith"_s);
  EXPECT_EQ(List()->GetEditor(), nullptr);
  EXPECT_TRUE(List()->findChildren<CCoolEdit*>().isEmpty());
}

TEST_F(ParameterDialogTest, OkCommitsAnOpenEditorAndTakesTheValues) {
  Open();
  Type(0, u"42"_s);
  ClickCell(1, 3);
  QTest::keyClicks(List()->GetEditor(), u"O'Brien"_s);
  QTest::mouseClick(Button(u"1"_s), Qt::LeftButton);
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_TRUE(ShownTexts().isEmpty()) << qPrintable(ShownTexts().join(u'\n'));
  EXPECT_EQ(records_[0].value, u"42"_s);
  EXPECT_EQ(records_[1].value, u"O'Brien"_s);
}

TEST_F(ParameterDialogTest, OkRefusesMissingAndUntypedValues) {
  struct Case {
    const char* label;
    QString customer;
    QString name;
    QString message;  // empty: accepted
  } cases[] = {
      {"empty value", {}, u"x"_s, u"Please enter all paramater values"_s},
      {"text for an integer", u"1 or 1=1"_s, u"x"_s,
       u"The value of parameter p_customer (SQL_INTEGER) must be a number or null."_s},
      {"null for an integer", u"NULL"_s, u"x"_s, {}},
  };
  for (const Case& c : cases) {
    MessageBoxRecorder::Global().Clear();
    records_[0].value.clear();
    records_[1].value.clear();
    Open();
    if (!c.customer.isEmpty()) Type(0, c.customer);
    Type(1, c.name);
    QTest::mouseClick(Button(u"1"_s), Qt::LeftButton);
    if (c.message.isEmpty()) {
      EXPECT_EQ(dialog_->result(), QDialog::Accepted) << c.label;
      EXPECT_EQ(records_[0].value, c.customer) << c.label;
      continue;
    }
    EXPECT_EQ(ShownTexts(), QStringList({c.message})) << c.label;
    EXPECT_TRUE(dialog_->isVisible()) << c.label << ": the dialog stays";
    EXPECT_TRUE(records_[1].value.isEmpty()) << c.label << ": nothing taken";
  }
}

TEST_F(ParameterDialogTest, CloseBoxIgnoredEscAndCancelEndIt) {
  Open();
  Type(0, u"5"_s);
  EXPECT_FALSE(dialog_->close());
  EXPECT_TRUE(dialog_->isVisible());
  QTest::keyClick(List()->GetEditor(), Qt::Key_Escape);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->result(), QDialog::Rejected);
  EXPECT_TRUE(records_[0].value.isEmpty());
  Open();
  QTest::mouseClick(Button(u"1153"_s), Qt::LeftButton);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->result(), QDialog::Rejected);
}
