// The table and view page of the profile wizard, driven offscreen through the real wizard on a
// copy of the settings database with the application object's settings connection: the column
// list's refusals, the table change, Filter, Sort, Arrange and the preview, and Finish storing a
// profile on each engine.
#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/DBConnManager.h"
#include "admin/foundation/FormStatements.h"
#include "admin/foundation/ProfileStatements.h"
#include "admin/profiles/NewProfileWizard.h"
#include "admin/profiles/PopupDlg.h"
#include "admin/profiles/ProfileBuildQueryPage.h"
#include "admin/profiles/ProfileDatabaseConnectionPage.h"
#include "admin/profiles/SelectQueryBuilder.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "platform/OdbcConfig.h"
#include "platform/widgets/FileOpenDialog.h"
#include "shared/formtext/FormTextWriter.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"
#include "tests/admin/profiles/PageModalPlayer.h"
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

class MainDialogClosesAtOnce : public ::testing::Environment {
 public:
  void SetUp() override { CTarnwickApp::SetMainDialogRunner([](CTarnwickDlg&) {}); }
};

const ::testing::Environment* const kMainDialogClosesAtOnce =
    ::testing::AddGlobalTestEnvironment(new MainDialogClosesAtOnce);

const QString kPrimaryKeyQuestionStart = QStringLiteral("You are trying to uncheck primary key column.");

QStringList BoxTexts() {
  QStringList texts;
  for (const platform::MessageBoxRequest& shown : MessageBoxRecorder::Global().shown()) texts << shown.text;
  return texts;
}

// A page over the SQLite file "page.mdb" with the tables "items" (a key, two texts, a number and
// a BIGINT the devices cannot take) and "other", and the view "item_names".
class TablePageTest : public SettingsDatabaseTest {
 protected:
  void SetUp() override {
    SettingsDatabaseTest::SetUp();
    testsupport::RegisterDesktop(2);
    ASSERT_EQ(SetNextProfileID(1), 1);  // as the installer leaves it
    m_app = std::make_unique<CTarnwickApp>();
    m_app->InitInstance();
    ASSERT_TRUE(m_app->GetSettingsConnection().IsConnected());
    SetHelpBalloonOpener([this](int topic, QPoint) { m_balloons.append(topic); });
    MessageBoxRecorder::Global().Clear();
  }
  void TearDown() override {
    m_wizard.reset();
    m_app.reset();
    platform::SetFileOpenChooser({});
    SetHelpBalloonOpener({});
    SettingsDatabaseTest::TearDown();
  }

  QString MakeSqliteSource() {
    CDatabseConnection source;
    QString unavailable;
    EXPECT_TRUE(odbctest::ConnectEngine(Engine::Sqlite, &source, &unavailable)) << qPrintable(unavailable);
    for (const char* sql : {"CREATE TABLE items (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40), "
                            "qty INTEGER, big BIGINT)",
                            "INSERT INTO items VALUES (1, 'Alder', 'Oslo', 5, 1)",
                            "INSERT INTO items VALUES (2, 'O''Brien', 'Cork', 7, 2)",
                            "CREATE TABLE other (x INTEGER)", "CREATE VIEW item_names AS SELECT id, name FROM items"}) {
      EXPECT_TRUE(SQL_SUCCEEDED(source.ExecuteStatement(QString::fromLatin1(sql)))) << sql;
    }
    source.DisconnectDataSource();
    const QString folder = testsupport::CurrentMachineRoot() + QStringLiteral("/sources/");
    EXPECT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("page.mdb");
    QFile::remove(path);
    EXPECT_TRUE(QFile::copy(odbctest::SqliteTestFile(), path));
    return path;
  }

  // A new profile's wizard on the SQLite source, on the table page.
  CProfileBuildQueryPage& OpenNewOnSqlite() {
    const QString path = MakeSqliteSource();
    platform::SetFileOpenChooser([path](const platform::FileOpenRequest&) { return path; });
    m_wizard = std::make_unique<CNewProfileWizard>(CNewProfileWizard::kNewMode, CNewProfileWizard::kTableKind);
    m_wizard->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_wizard.get()));
    QTest::mouseClick(m_wizard->m_DatabaseConnectionPage->findChild<QAbstractButton*>(QStringLiteral("1056")),
                      Qt::LeftButton);
    m_wizard->PressNext();
    EXPECT_EQ(m_wizard->GetActivePage(), m_wizard->GetBuildQueryPage());
    return Page();
  }

  CProfileBuildQueryPage& Page() const { return *m_wizard->GetBuildQueryPage(); }
  template <typename Control>
  Control* Find(const char* id) const {
    return Page().findChild<Control*>(QString::fromLatin1(id));
  }
  CColoredListCtrl& Columns() const { return *Page().GetColumnList(); }
  QString Query() const { return Page().GetQueryText(); }

  void ChooseTable(const QString& name) {
    QListWidget* tables = Page().GetTableList();
    const QList<QListWidgetItem*> found = tables->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << qPrintable(name);
    tables->setCurrentItem(found.first());
  }
  int Row(const QString& listed) const {
    for (int row = 0; row < Columns().GetItemCount(); ++row)
      if (Columns().GetItemText(row, 0) == listed) return row;
    ADD_FAILURE() << qPrintable(listed);
    return -1;
  }
  // A click in the row's check area, then the rebuild.
  void ClickTick(const QString& listed) {
    const int row = Row(listed);
    const QPoint point(Columns().columnViewportPosition(0) + 5, Columns().rowViewportPosition(row) + 4);
    QTest::mouseClick(Columns().viewport(), Qt::LeftButton, {}, point);
    SettleRebuild();
  }
  void SettleRebuild() {
    EXPECT_TRUE(QTest::qWaitFor([this] { return !Page().GetRebuildTimer().isActive(); }));
  }
  bool Ticked(const QString& listed) const { return Columns().GetCheck(Row(listed)); }

  // Filter "name <> 'O'Brien'" through the filter dialog.
  void AddNameFilter() {
    PageModalPlayer player({[](QDialog* dialog) {
      Click(dialog, "1074");
      Child<QComboBox>(dialog, "1201")->setCurrentIndex(1);
      Child<QComboBox>(dialog, "1202")->setCurrentIndex(1);
      Child<QLineEdit>(dialog, "1055")->setText(QStringLiteral("O'Brien"));
      Click(dialog, "1047");
      Click(dialog, "1047");
    }});
    Find<QAbstractButton>("1065")->click();
  }
  // Sort by `field` (an index among the ticked columns), descending when asked.
  void AddSort(int field, bool descending) {
    PageModalPlayer player({[field, descending](QDialog* dialog) {
      Click(dialog, "1074");
      Child<QComboBox>(dialog, "1201")->setCurrentIndex(field);
      Child<QComboBox>(dialog, "1202")->setCurrentIndex(descending ? 1 : 0);
      Click(dialog, "1047");
      Click(dialog, "1047");
    }});
    Find<QAbstractButton>("1066")->click();
  }
  // Ticks the arrangement's rows in the given order and confirms.
  void Arrange(const QStringList& order) {
    PageModalPlayer player({[order](QDialog* dialog) {
      auto* list = Child<CColoredListCtrl>(dialog, "1062");
      for (const QString& name : order) {
        for (int row = 0; row < list->GetItemCount(); ++row) {
          if (list->GetItemText(row, 0) != name) continue;
          const QPoint point(list->columnViewportPosition(1) + 5, list->rowViewportPosition(row) + 4);
          QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
        }
      }
      Click(dialog, "1");
    }});
    Find<QAbstractButton>("1153")->click();
    SettleRebuild();
  }

  QList<QStringList> ProfileRows(const QString& name) {
    return Rows(QStringLiteral("Select ProfileID, DBType, Query, SyncDestination, IsPrimaryKeySelected, ProfileType, "
                               "FiltersInfo, SortColumnsInfo From ProfileInfo Where DBInfo = '%1'")
                    .arg(name));
  }

  std::unique_ptr<CTarnwickApp> m_app;
  std::unique_ptr<CNewProfileWizard> m_wizard;
  QList<int> m_balloons;
};

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
