// The table and view page of the profile wizard, driven offscreen through the real wizard on a
// copy of the settings database with the application object's settings connection: the column
// list's refusals, the table change, Filter, Sort, Arrange and the preview, and Finish storing a
// table and a view profile.
#include "admin/profiles/PopupDlg.h"
#include "admin/shell/BMButton.h"
#include "tests/admin/profiles/TablePageFixture.h"
#include "tests/support/DialogScreenshot.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

using Button = CWizardSheet::Button;
using odbctest::Engine;
using testsupport::MessageBoxRecorder;

namespace {

const QString kPrimaryKeyQuestionStart = QStringLiteral("You are trying to uncheck primary key column.");

}  // namespace

TEST_F(TablePageTest, ChoosingATableTicksEveryColumnTheDevicesTakeAndBuildsTheSelect) {
  CProfileBuildQueryPage& page = OpenNewOnSqlite();
  EXPECT_EQ(m_wizard->windowTitle(), QStringLiteral("New Profile : Build Query"));
  EXPECT_FALSE(m_wizard->GetButton(Button::Apply)->isEnabled());
  for (const char* id : {"1065", "1066", "1153", "1067"}) EXPECT_FALSE(Find<QWidget>(id)->isEnabled()) << id;
  for (const char* id : {"1261", "1191", "1203", "1219"}) EXPECT_FALSE(Find<QWidget>(id)->isVisibleTo(&page)) << id;
  EXPECT_TRUE(Find<QRadioButton>("1268")->isChecked());
  ChooseTable(QStringLiteral("items"));
  ASSERT_EQ(Columns().GetItemCount(), 5);
  EXPECT_EQ(Columns().GetItemText(0, 2), QStringLiteral("Primary Key"));
  EXPECT_EQ(Columns().GetItemText(4, 1), QStringLiteral("SQL_UNKNOWN_TYPE")) << "a BIGINT does not refuse the table";
  EXPECT_FALSE(Ticked(QStringLiteral("`big`")));
  EXPECT_TRUE(Find<QCheckBox>("1218")->isChecked());
  EXPECT_EQ(Query(), QStringLiteral("Select `id`, `name`, `city`, `qty` from items"));
  EXPECT_TRUE(m_wizard->GetButton(Button::Apply)->isEnabled());
  for (const char* id : {"1065", "1066", "1153", "1067"}) EXPECT_TRUE(Find<QWidget>(id)->isEnabled()) << id;
  m_wizard->PressHelp();
  EXPECT_EQ(m_balloons, QList<int>{CProfileBuildQueryPage::kHelpTopic});
  EXPECT_TRUE(BoxTexts().isEmpty()) << qPrintable(BoxTexts().join(u'\n'));
}

// Each row: what is done to a column, the answers given, the boxes shown and whether it ends
// ticked.
TEST_F(TablePageTest, ColumnClicksAreRefusedWhereTheyMust) {
  OpenNewOnSqlite();
  ChooseTable(QStringLiteral("items"));
  AddSort(1, false);  // by name
  const QString sortRefusal = QStringLiteral("You are not allow to deselect Sort Column.");
  const QString unknownRefusal = QStringLiteral("You are not allow to select column having type SQL_UNKNOWN_TYPE.");
  const struct {
    const char* column;
    QList<int> answers;
    QString box;  // the start of the one box shown; empty for none
    bool ticked;
  } cases[] = {
      {"`id`", {platform::IDNO}, kPrimaryKeyQuestionStart, true},
      {"`id`", {platform::IDYES}, kPrimaryKeyQuestionStart, false},
      {"`id`", {}, QString(), true},
      {"`name`", {}, sortRefusal, true},
      {"`big`", {}, unknownRefusal, false},
      {"`city`", {}, QString(), false},
  };
  for (const auto& step : cases) {
    SCOPED_TRACE(step.column);
    MessageBoxRecorder::Global().Clear();
    MessageBoxRecorder::Global().ScriptAnswers(step.answers);
    ClickTick(QString::fromLatin1(step.column));
    const QStringList shown = BoxTexts();
    if (step.box.isEmpty()) {
      EXPECT_TRUE(shown.isEmpty()) << qPrintable(shown.join(u'\n'));
    } else {
      ASSERT_EQ(shown.size(), 1);
      EXPECT_TRUE(shown.first().startsWith(step.box)) << qPrintable(shown.first());
    }
    EXPECT_EQ(Ticked(QString::fromLatin1(step.column)), step.ticked);
  }
  EXPECT_EQ(Query(), QStringLiteral("Select `id`, `name`, `qty` from items Order By `name` ASC"));

  // Select All: off keeps the key and the sort's column aside from the box, on never ticks the BIGINT.
  Find<QCheckBox>("1218")->click();
  SettleRebuild();
  EXPECT_TRUE(Ticked(QStringLiteral("`id`")));
  EXPECT_FALSE(Ticked(QStringLiteral("`city`")));
  Find<QCheckBox>("1218")->click();
  SettleRebuild();
  EXPECT_TRUE(Ticked(QStringLiteral("`city`")));
  EXPECT_FALSE(Ticked(QStringLiteral("`big`")));
}

TEST_F(TablePageTest, SeveralClicksWithinTheDelayGiveOneRebuild) {
  CProfileBuildQueryPage& page = OpenNewOnSqlite();
  ChooseTable(QStringLiteral("items"));
  for (const char* column : {"`name`", "`city`"}) {
    const int row = Row(QString::fromLatin1(column));
    QTest::mouseClick(Columns().viewport(), Qt::LeftButton, {},
                      QPoint(Columns().columnViewportPosition(0) + 5, Columns().rowViewportPosition(row) + 4));
  }
  EXPECT_TRUE(page.GetRebuildTimer().isActive());
  EXPECT_TRUE(page.GetRebuildTimer().isSingleShot());
  EXPECT_EQ(page.GetRebuildTimer().objectName(), QStringLiteral("5002"));
  EXPECT_EQ(Query(), QStringLiteral("Select `id`, `name`, `city`, `qty` from items")) << "not yet rebuilt";
  SettleRebuild();
  EXPECT_EQ(Query(), QStringLiteral("Select `id`, `qty` from items"));
  // A click beyond the check area changes no tick.
  const int row = Row(QStringLiteral("`qty`"));
  QTest::mouseClick(Columns().viewport(), Qt::LeftButton, {},
                    QPoint(Columns().columnViewportPosition(1) + 5, Columns().rowViewportPosition(row) + 4));
  EXPECT_TRUE(Ticked(QStringLiteral("`qty`")));
}

TEST_F(TablePageTest, AnotherTableWithFiltersAskedNoLeavesEverything) {
  OpenNewOnSqlite();
  ChooseTable(QStringLiteral("items"));
  AddNameFilter();
  const QString before = Query();
  EXPECT_EQ(before, QStringLiteral("Select `id`, `name`, `city`, `qty` from items Where `name` <> 'O''Brien'"));
  MessageBoxRecorder::Global().ScriptAnswers({platform::IDNO});
  ChooseTable(QStringLiteral("other"));
  EXPECT_EQ(BoxTexts(),
            QStringList{QStringLiteral("This action will remove current Filters and Sort Orders\n\nDo you want to continue?")});
  EXPECT_EQ(Page().GetTableList()->currentItem()->text(), QStringLiteral("items"));
  EXPECT_EQ(Columns().GetItemCount(), 5);
  EXPECT_EQ(Page().GetFilterSortLists().filters.size(), 1);
  EXPECT_EQ(Query(), before);

  MessageBoxRecorder::Global().ScriptAnswers({platform::IDYES});
  ChooseTable(QStringLiteral("other"));
  EXPECT_TRUE(Page().GetFilterSortLists().filters.isEmpty());
  EXPECT_EQ(Query(), QStringLiteral("Select `x` from other"));
}

TEST_F(TablePageTest, ArrangementKeepsFiltersAndSortsOnTheirColumns) {
  OpenNewOnSqlite();
  ChooseTable(QStringLiteral("items"));
  AddNameFilter();
  AddSort(3, true);  // qty descending
  Arrange({QStringLiteral("`qty`"), QStringLiteral("`name`"), QStringLiteral("`id`")});
  EXPECT_EQ(Columns().GetItemText(0, 0), QStringLiteral("`qty`"));
  EXPECT_EQ(Query(), QStringLiteral("Select `qty`, `name`, `id` from items Where `name` <> 'O''Brien' Order By `qty` DESC"));
}

TEST_F(TablePageTest, PreviewShowsTheRowsUnderTheWizardAndFollowsIt) {
  CProfileBuildQueryPage& page = OpenNewOnSqlite();
  ChooseTable(QStringLiteral("items"));
  Find<QAbstractButton>("1067")->click();
  CPopupDlg* preview = page.GetPreview();
  ASSERT_TRUE(preview->isVisible()) << qPrintable(BoxTexts().join(u'\n'));
  EXPECT_EQ(Find<QAbstractButton>("1067")->text(), QStringLiteral("Hide Preview"));
  EXPECT_EQ(Find<QLabel>("1081")->text(), QStringLiteral("Number of Records : 2"));
  EXPECT_EQ(preview->Grid().GetCellText(2, 2), QStringLiteral("O'Brien"));
  EXPECT_EQ(preview->geometry().top(), m_wizard->frameGeometry().bottom() + 1);
  m_wizard->move(m_wizard->pos() + QPoint(30, 20));
  QApplication::processEvents();
  EXPECT_EQ(preview->geometry().left(), m_wizard->frameGeometry().left());
  EXPECT_EQ(preview->geometry().top(), m_wizard->frameGeometry().bottom() + 1);

  // A picture of the page with its preview beneath.
  QPixmap picture(m_wizard->width(), m_wizard->frameGeometry().height() + preview->height());
  picture.fill(Qt::white);
  m_wizard->render(&picture);
  preview->render(&picture, QPoint(0, m_wizard->height()));
  const QString folder = testsupport::BinaryDir() + QStringLiteral("/screenshots/");
  ASSERT_TRUE(QDir().mkpath(folder));
  EXPECT_TRUE(picture.save(folder + QStringLiteral("profile-table-page.png")));

  // A changed tick re-runs nothing: the preview is closed and detached first.
  ClickTick(QStringLiteral("`city`"));
  EXPECT_FALSE(preview->isVisible());
  EXPECT_EQ(preview->Grid().GetHandler(), nullptr);
  EXPECT_EQ(Find<QAbstractButton>("1067")->text(), QStringLiteral("Show Preview"));
}

TEST_F(TablePageTest, FinishStoresTheTableProfileWithItsStatusRow) {
  OpenNewOnSqlite();
  Find<QLineEdit>("1050")->setText(QStringLiteral("Items"));
  ChooseTable(QStringLiteral("items"));
  ClickTick(QStringLiteral("`city`"));
  AddNameFilter();
  AddSort(1, false);
  m_wizard->PressFinish();
  EXPECT_EQ(m_wizard->result(), CWizardSheet::kFinishResult) << qPrintable(BoxTexts().join(u'\n'));
  const QList<QStringList> rows = ProfileRows(QStringLiteral("Items"));
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0][1], QStringLiteral("1"));
  EXPECT_EQ(rows[0][2],
            QStringLiteral("Select `id`, `name`, `qty` from items Where `name` <> 'O''Brien' Order By `name` ASC"));
  EXPECT_EQ(rows[0][3], QStringLiteral("MainMemory"));
  EXPECT_EQ(rows[0][4], QStringLiteral("0"));
  EXPECT_EQ(rows[0][5], QStringLiteral("0"));
  EXPECT_FALSE(rows[0][6].isEmpty());
  EXPECT_FALSE(rows[0][7].isEmpty());
  EXPECT_EQ(Rows(QStringLiteral("Select UserID, StatusFlag From UserProfileStatus Where ProfileID = %1").arg(rows[0][0])),
            (QList<QStringList>{{QStringLiteral("user01"), QStringLiteral("A")}}));
  EXPECT_EQ(RecordIndex(rows[0][0].toInt()), DWORD{1});
}

TEST_F(TablePageTest, AViewAsksBeforeItIsStoredAsTypeOne) {
  OpenNewOnSqlite();
  Find<QRadioButton>("1269")->click();
  Find<QLineEdit>("1050")->setText(QStringLiteral("Names"));
  ChooseTable(QStringLiteral("item_names"));
  MessageBoxRecorder::Global().ScriptAnswers({platform::IDNO});
  m_wizard->PressFinish();
  EXPECT_TRUE(m_wizard->isVisible());
  ASSERT_EQ(MessageBoxRecorder::Global().shown().size(), 1);
  EXPECT_TRUE(BoxTexts().first().startsWith(QStringLiteral("You have selected \"View/Query\" for Profile.")));
  EXPECT_EQ(MessageBoxRecorder::Global().shown().first().defaultButton(), platform::MB_DEFBUTTON2);
  EXPECT_TRUE(ProfileRows(QStringLiteral("Names")).isEmpty());
  MessageBoxRecorder::Global().ScriptAnswers({platform::IDYES});
  m_wizard->PressFinish();
  EXPECT_EQ(m_wizard->result(), CWizardSheet::kFinishResult) << qPrintable(BoxTexts().join(u'\n'));
  const QList<QStringList> rows = ProfileRows(QStringLiteral("Names"));
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0][5], QStringLiteral("1"));
}
