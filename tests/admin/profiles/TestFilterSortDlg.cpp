#include "admin/foundation/AppLog.h"
#include "admin/profiles/DroppedEntriesNotice.h"
#include "admin/profiles/FilterSortDlg.h"
#include "admin/profiles/FilterSortItemData.h"
#include "admin/profiles/FilterSortText.h"
#include "admin/profiles/FilterValue.h"
#include "admin/shell/GridListCtrl.h"
#include "admin/shell/HelpBalloon.h"
#include "shared/data/ProfileRecord.h"
#include "tests/support/DialogScreenshot.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

using testsupport::MessageBoxRecorder;

constexpr uint8_t kGreater = 3;
constexpr uint8_t kLike = 7;

const QString kName = QStringLiteral("\"Name\"");
const QString kBorn = QStringLiteral("\"Born\"");
const QString kAge = QStringLiteral("\"Age\"");

// The page's lists: Name LIKE 'A%', then OR Age > 30; sorted by Name ascending.
FilterSortLists PageLists() {
  FilterSortLists lists;
  lists.columns = {kName, kBorn, kAge};
  lists.filters = {FilterEntry{0, kLike, 0}, FilterEntry{1, kGreater, 2}};
  lists.filterValues = {QStringLiteral("'A%'"), QStringLiteral("30")};
  lists.sorts = {SortEntry{0, 0}};
  return lists;
}

FilterSortSource PageSource(bool accessFile = false) {
  return FilterSortSource{{QStringLiteral("12"), QStringLiteral("91"), QStringLiteral("4")},
                          {kName, kAge},
                          {accessFile ? QStringLiteral("ACCESS") : QStringLiteral("SQLite"), accessFile}};
}

QStringList RowTexts(const CGridListCtrl& list, int row) {
  QStringList texts;
  for (int column = 0; column < list.columnCount(); ++column) texts << list.GetItemText(row, column);
  return texts;
}

// A dialog over the page's lists, shown, with its boxes and balloons recorded.
class FilterSortDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxRecorder::Global().Clear();
    SetHelpBalloonOpener([this](int topic, QPoint) { balloons_.append(topic); });
  }
  void TearDown() override { SetHelpBalloonOpener({}); }

  CFilterSortDlg& Open(int mode, FilterSortSource source = PageSource()) {
    dialog_ = std::make_unique<CFilterSortDlg>(mode, &lists_, std::move(source));
    dialog_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    return *dialog_;
  }

  template <typename T>
  T* Control(const char* id) const {
    T* control = dialog_->findChild<T*>(QString::fromLatin1(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
  }
  void Click(const char* id) const { QTest::mouseClick(Control<QPushButton>(id), Qt::LeftButton); }
  CGridListCtrl& List() const { return *dialog_->GetList(); }
  bool Shown(const char* id) const { return Control<QWidget>(id)->isVisibleTo(dialog_.get()); }

  // Fills the filter editor and commits it with OK.
  void CommitFilter(int field, int op, const QString& value, bool orJoined) const {
    Control<QComboBox>("1201")->setCurrentIndex(field);
    Control<QComboBox>("1202")->setCurrentIndex(op);
    Control<QLineEdit>("1055")->setText(value);
    if (orJoined) Control<QRadioButton>("1191")->setChecked(true);
    if (!orJoined) Control<QRadioButton>("1196")->setChecked(true);
    Click("1047");
  }

  QStringList Texts() const {
    QStringList texts;
    for (const platform::MessageBoxRequest& shown : MessageBoxRecorder::Global().shown()) texts << shown.text;
    return texts;
  }

  FilterSortLists lists_ = PageLists();
  std::unique_ptr<CFilterSortDlg> dialog_;
  QList<int> balloons_;
};

}  // namespace

TEST_F(FilterSortDialog, FilterModeListsThePagesFiltersWithTheirPackedEntries) {
  CFilterSortDlg& dialog = Open(CFilterSortDlg::kFilterMode);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Filters"));
  CGridListCtrl& list = List();
  EXPECT_EQ(list.objectName(), QStringLiteral("1052"));
  ASSERT_EQ(list.columnCount(), 4);
  const QStringList headings{QStringLiteral("Filter Joining"), QStringLiteral("Field Name"),
                             QStringLiteral("Filter Operator"), QStringLiteral("Filter Value")};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(list.horizontalHeaderItem(column)->text(), headings[column]);
    EXPECT_EQ(list.columnWidth(column), (list.width() - 2 * list.frameWidth()) / 4);
  }
  const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
  EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const QLabel* label) {
    return label->text() ==
           u"Please double click on particular row to get/change the Available Fields, Filter operator,  Filter value.";
  }));
  ASSERT_EQ(list.GetItemCount(), 2);
  EXPECT_EQ(RowTexts(list, 0), (QStringList{QString(), kName, QStringLiteral("LIKE"), QStringLiteral("'A%'")}));
  EXPECT_EQ(RowTexts(list, 1), (QStringList{QStringLiteral("OR"), kAge, QStringLiteral(">"), QStringLiteral("30")}));
  EXPECT_EQ(list.GetItemData(0), 0x0000'0700u);
  EXPECT_EQ(list.GetItemData(1), 0x0002'0301u);
  EXPECT_EQ(dialog.GetEditorState(), CFilterSortDlg::kListState);
  EXPECT_TRUE(Shown("1052") && Shown("1074") && Shown("1015"));
  for (const char* id : {"1201", "1202", "1055", "1191", "1196"}) EXPECT_FALSE(Shown(id)) << id;

  Click("1015");
  EXPECT_EQ(balloons_, QList<int>{12});
}

TEST_F(FilterSortDialog, AddModifyAndRemoveRowsThenOkWritesThemBack) {
  CFilterSortDlg& dialog = Open(CFilterSortDlg::kFilterMode);
  Click("1074");
  EXPECT_EQ(dialog.GetEditorState(), CFilterSortDlg::kFilterEditing);
  EXPECT_EQ(dialog.GetPendingAction(), CFilterSortDlg::kAddAction);
  EXPECT_FALSE(Shown("1052"));
  EXPECT_TRUE(Shown("1191") && Shown("1196") && Shown("1055"));
  auto* fields = Control<QComboBox>("1201");
  auto* operators = Control<QComboBox>("1202");
  EXPECT_EQ(fields->count(), 3);
  EXPECT_EQ(operators->count(), 8);
  EXPECT_EQ(operators->currentText(), QStringLiteral("="));
  CommitFilter(1, 5, QStringLiteral("2010-01-05"), true);
  EXPECT_EQ(dialog.GetEditorState(), CFilterSortDlg::kListState);
  EXPECT_EQ(dialog.GetPendingAction(), CFilterSortDlg::kNoAction);
  ASSERT_EQ(List().GetItemCount(), 3);
  EXPECT_EQ(RowTexts(List(), 2),
            (QStringList{QStringLiteral("OR"), kBorn, QStringLiteral(">="), QStringLiteral("'2010-01-05'")}));
  EXPECT_EQ(FilterEntryFromItemData(List().GetItemData(2)), (FilterEntry{1, 5, 1}));

  // Modify shows the row; the first row has no joining to show.
  List().SetSelectionMark(1);
  Click("1192");
  EXPECT_EQ(dialog.GetPendingAction(), CFilterSortDlg::kModifyAction);
  EXPECT_TRUE(Control<QRadioButton>("1191")->isChecked());
  EXPECT_EQ(fields->currentIndex(), 2);
  EXPECT_EQ(operators->currentText(), QStringLiteral(">"));
  EXPECT_EQ(Control<QLineEdit>("1055")->text(), QStringLiteral("30"));
  CommitFilter(2, 4, QStringLiteral("40"), false);
  EXPECT_EQ(RowTexts(List(), 1), (QStringList{QStringLiteral("AND"), kAge, QStringLiteral("<="), QStringLiteral("40")}));
  List().SetSelectionMark(0);
  Click("1192");
  EXPECT_FALSE(Control<QRadioButton>("1191")->isChecked());
  EXPECT_FALSE(Control<QRadioButton>("1196")->isChecked());
  EXPECT_EQ(Control<QLineEdit>("1055")->text(), QStringLiteral("'A%'"));
  Click("1047");
  EXPECT_EQ(RowTexts(List(), 0), (QStringList{QString(), kName, QStringLiteral("LIKE"), QStringLiteral("'A%'")}))
      << "confirming a quoted value again leaves it";

  // Remove asks; No keeps the row, Yes removes it and blanks the new first row's joining.
  MessageBoxRecorder::Global().ScriptAnswers({platform::IDNO, platform::IDYES});
  Click("1175");
  EXPECT_EQ(List().GetItemCount(), 3);
  List().SetSelectionMark(0);
  Click("1175");
  ASSERT_EQ(MessageBoxRecorder::Global().shown().size(), 2);
  const platform::MessageBoxRequest& question = MessageBoxRecorder::Global().shown().last();
  EXPECT_EQ(question.text, QStringLiteral("Are you sure to remove selected Filter ?"));
  EXPECT_EQ(question.caption, ProgramTitle());
  EXPECT_EQ(question.buttons(), platform::MB_YESNO);
  EXPECT_EQ(question.defaultButton(), platform::MB_DEFBUTTON2);
  ASSERT_EQ(List().GetItemCount(), 2);
  EXPECT_EQ(List().GetItemText(0, 0), QString());

  Click("1047");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(lists_.filters, (QList<FilterEntry>{FilterEntry{0, 4, 2}, FilterEntry{1, 5, 1}}));
  EXPECT_EQ(lists_.filterValues, (QStringList{QStringLiteral("40"), QStringLiteral("'2010-01-05'")}));
  ProfileRecord record;
  EXPECT_EQ(BuildWhereOrderBy(QStringLiteral("SELECT *"), lists_, &record),
            QStringLiteral("SELECT * Where \"Age\" <= 40 OR \"Born\" >= '2010-01-05' Order By \"Name\" ASC"));
  EXPECT_TRUE(record.FiltersInfo.startsWith(QStringLiteral("2#0#3#Age#"))) << "the new first filter stores joining 0";
}

TEST_F(FilterSortDialog, AnEmptyValueIsRefusedAndCancelThenLeavesThePagesListsAsTheyWere) {
  const FilterSortLists before = lists_;
  CFilterSortDlg& dialog = Open(CFilterSortDlg::kFilterMode);
  Click("1074");
  CommitFilter(0, 0, QString(), false);
  ASSERT_EQ(Texts(), QStringList{QStringLiteral("Please Specify Filter Value")});
  EXPECT_EQ(MessageBoxRecorder::Global().shown().last().caption, ProgramTitle());
  EXPECT_EQ(List().GetItemCount(), 2);

  // Cancelling the value prompt of row 2's value cell empties it, as the list's editor does.
  QTimer::singleShot(0, [] {
    auto* prompt = qobject_cast<CFilterValue*>(QApplication::activeModalWidget());
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->GetValue(), QStringLiteral("30"));
    prompt->reject();
  });
  List().BeginLabelEdit(1, 3);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(List().GetItemText(1, 3), QString());

  MessageBoxRecorder::Global().Clear();
  Click("1047");
  ASSERT_EQ(Texts(), QStringList{QStringLiteral("No. 2 filter is not valid, Please enter filter condition string.")});
  EXPECT_EQ(MessageBoxRecorder::Global().shown().last().icon(), platform::MB_ICONERROR);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(lists_.filters, before.filters) << "nothing is rebuilt before every row passed";
  EXPECT_EQ(lists_.filterValues, before.filterValues);

  Click("1014");
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(lists_.filters, before.filters);
  EXPECT_EQ(lists_.filterValues, before.filterValues);
}

TEST_F(FilterSortDialog, CancelWhileEditingOnlyLeavesTheEditor) {
  CFilterSortDlg& dialog = Open(CFilterSortDlg::kFilterMode);
  Click("1074");
  Control<QLineEdit>("1055")->setText(QStringLiteral("x"));
  Click("1014");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.GetEditorState(), CFilterSortDlg::kListState);
  EXPECT_EQ(dialog.GetPendingAction(), CFilterSortDlg::kNoAction);
  EXPECT_TRUE(Shown("1052") && Shown("1074") && Shown("1192") && Shown("1175"));
  EXPECT_EQ(List().GetItemCount(), 2);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(FilterSortDialog, SortModeOffersOnlyTheSelectedColumnsAndStoresFullListIndexes) {
  CFilterSortDlg& dialog = Open(CFilterSortDlg::kSortMode);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sort Order"));
  ASSERT_EQ(List().columnCount(), 2);
  EXPECT_EQ(List().horizontalHeaderItem(0)->text(), QStringLiteral("Sort Order"));
  EXPECT_EQ(List().horizontalHeaderItem(1)->text(), QStringLiteral("Field Name"));
  EXPECT_EQ(RowTexts(List(), 0), (QStringList{QStringLiteral("Ascending"), kName}));

  Click("1074");
  EXPECT_EQ(dialog.GetEditorState(), CFilterSortDlg::kSortEditing);
  auto* fields = Control<QComboBox>("1201");
  auto* directions = Control<QComboBox>("1202");
  EXPECT_EQ(fields->count(), 2);
  EXPECT_EQ(fields->itemText(0), kName);
  EXPECT_EQ(fields->itemText(1), kAge);
  EXPECT_EQ(directions->currentText(), QStringLiteral("Ascending"));
  EXPECT_EQ(directions->count(), 2);
  for (const char* id : {"1055", "1191", "1196"}) EXPECT_FALSE(Shown(id)) << id;
  fields->setCurrentIndex(1);
  directions->setCurrentIndex(1);
  Click("1047");
  ASSERT_EQ(List().GetItemCount(), 2);
  EXPECT_EQ(RowTexts(List(), 1), (QStringList{QStringLiteral("Descending"), kAge}));
  EXPECT_EQ(SortEntryFromItemData(List().GetItemData(1)), (SortEntry{1, 2})) << "Age is column 2 of the page";

  List().SetSelectionMark(1);
  Click("1192");
  EXPECT_EQ(fields->currentIndex(), 1);
  EXPECT_EQ(directions->currentIndex(), 1);
  directions->setCurrentIndex(0);
  Click("1047");
  MessageBoxRecorder::Global().ScriptAnswers({platform::IDYES});
  List().SetSelectionMark(0);
  Click("1175");
  EXPECT_EQ(Texts(), QStringList{QStringLiteral("Are you sure to remove selected Sort Order ?")});
  Click("1015");
  EXPECT_EQ(balloons_, QList<int>{13});
  Click("1047");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(lists_.sorts, QList<SortEntry>{(SortEntry{0, 2})});
  EXPECT_EQ(lists_.filters.size(), 2) << "sort mode leaves the filters";
}

TEST_F(FilterSortDialog, TypedValuesAreQuotedForTheChosenColumnAndTheSource) {
  struct Case {
    int field;
    QString typed;
    bool accessFile;
    QString stored;
  };
  for (const Case& c : {Case{0, QStringLiteral("O'Brien"), false, QStringLiteral("'O''Brien'")},
                        Case{0, QStringLiteral("NULL"), false, QStringLiteral("NULL")},
                        Case{0, QStringLiteral("'x'"), false, QStringLiteral("'x'")},
                        Case{1, QStringLiteral("2010-01-05"), false, QStringLiteral("'2010-01-05'")},
                        Case{1, QStringLiteral("2010-01-05"), true, QStringLiteral("#2010-01-05#")},
                        Case{2, QStringLiteral("30"), false, QStringLiteral("30")}}) {
    SCOPED_TRACE(qPrintable(c.typed));
    lists_ = PageLists();
    Open(CFilterSortDlg::kFilterMode, PageSource(c.accessFile));
    Click("1074");
    CommitFilter(c.field, 0, c.typed, false);
    EXPECT_EQ(List().GetItemText(2, 3), c.stored);
  }
}

TEST_F(FilterSortDialog, TheListsValuePromptQuotesATypedValueButNotAChosenColumn) {
  Open(CFilterSortDlg::kFilterMode);
  struct Case {
    int row;
    bool chooseColumn;
    QString typed;
    QString stored;
  };
  for (const Case& c : {Case{0, false, QStringLiteral("O'Brien"), QStringLiteral("'O''Brien'")},
                        Case{1, true, QString(), kAge}}) {
    SCOPED_TRACE(c.row);
    QTimer::singleShot(0, [&c] {
      auto* prompt = qobject_cast<CFilterValue*>(QApplication::activeModalWidget());
      ASSERT_NE(prompt, nullptr);
      if (c.chooseColumn) {
        QTest::mouseClick(prompt->findChild<QRadioButton*>(QStringLiteral("1077")), Qt::LeftButton);
        auto* columns = prompt->findChild<QComboBox*>(QStringLiteral("1078"));
        columns->setCurrentIndex(2);
        Q_EMIT columns->activated(2);
      } else {
        prompt->findChild<QLineEdit*>(QStringLiteral("1055"))->setText(c.typed);
      }
      QTest::mouseClick(prompt->findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    });
    List().BeginLabelEdit(c.row, 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(List().GetItemText(c.row, 3), c.stored);
  }
  EXPECT_TRUE(MessageBoxRecorder::Global().shown().isEmpty());
}

TEST_F(FilterSortDialog, ScreenshotWithTwoRows) {
  testsupport::SaveDialogScreenshot(Open(CFilterSortDlg::kFilterMode), QStringLiteral("filter-dialog-two-rows.png"));
}

TEST(DroppedFilterSortEntries, AreNamedInOneInformationBox) {
  MessageBoxRecorder::Global().Clear();
  FilterSortLists lists;
  lists.columns = {kName};
  const QStringList sorts = SetSortColumnValueForEditProfile(QStringLiteral("2#4#Gone#0#12#4#Name#1#12#"), &lists);
  const QStringList filters =
      SetFilterValueForEditProfile(QStringLiteral("2#0#4#Name#2#~~#1#1#AND#3#Old#1#=#1#2#"), &lists);
  ShowDroppedFilterSortEntries(nullptr, sorts, filters);
  ASSERT_EQ(MessageBoxRecorder::Global().shown().size(), 1);
  const platform::MessageBoxRequest& box = MessageBoxRecorder::Global().shown().front();
  EXPECT_EQ(box.icon(), platform::MB_ICONINFORMATION);
  EXPECT_EQ(box.caption, ProgramTitle());
  for (const char* line : {"Sort Order on column \"Gone\"", "Filter on column \"Name\"", "Filter on column \"Old\""}) {
    EXPECT_TRUE(box.text.contains(QString::fromUtf8(line))) << line;
  }
  ShowDroppedFilterSortEntries(nullptr, {}, {});
  EXPECT_EQ(MessageBoxRecorder::Global().shown().size(), 1) << "nothing dropped, no box";
}
