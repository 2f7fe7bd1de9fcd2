// The table and view page of the profile wizard, driven offscreen through the real wizard on a
// copy of the settings database with the application object's settings connection: the column
// list's refusals, the table change, Filter, Sort, Arrange and the preview, and Finish storing a
// table and a view profile.
#include "admin/foundation/FormStatements.h"
#include "admin/profiles/PopupDlg.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/HelpTopics.h"
#include "shared/data/SourceKinds.h"
#include "shared/formtext/FormTextWriter.h"
#include "tests/admin/profiles/TablePageFixture.h"
#include "tests/support/DialogScreenshot.h"
#include "tests/support/XlsxFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
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
  // The arrangement's own SQL text continues the page's after its column list.
  QString shown;
  {
    PageModalPlayer player({[&shown](QDialog* dialog) {
      auto* list = Child<CColoredListCtrl>(dialog, "1062");
      const QPoint point(list->columnViewportPosition(1) + 5, list->rowViewportPosition(1) + 4);
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
      shown = Child<QPlainTextEdit>(dialog, "1064")->toPlainText();
      dialog->reject();
    }});
    Find<QAbstractButton>("1153")->click();
  }
  EXPECT_EQ(shown, QStringLiteral("Select  `name` from items Where `name` <> 'O''Brien' Order By `qty` DESC"));
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

  // The count belongs to the query it counted: a filter takes it away, the next preview counts
  // the filtered rows.
  Find<QAbstractButton>("1067")->click();
  EXPECT_EQ(Find<QLabel>("1081")->text(), QStringLiteral("Number of Records : 2"));
  AddNameFilter();
  EXPECT_EQ(Find<QLabel>("1081")->text(), QString());
  Find<QAbstractButton>("1067")->click();
  EXPECT_EQ(Find<QLabel>("1081")->text(), QStringLiteral("Number of Records : 1"));
  Find<QAbstractButton>("1067")->click();  // Hide Preview

  // Back closes it too and empties the count.
  Find<QAbstractButton>("1067")->click();
  ASSERT_TRUE(preview->isVisible());
  m_wizard->PressBack();
  EXPECT_FALSE(preview->isVisible());
  EXPECT_TRUE(Find<QLabel>("1081")->text().isEmpty());
  EXPECT_EQ(m_wizard->GetActivePage(), m_wizard->m_DatabaseConnectionPage);
}

// The shipped .mdb files are SQLite databases: a date typed as the filter help shows it is written
// in the SQLite driver's quotes, so the preview and Finish run it.
TEST_F(TablePageTest, ADateFilterTypedAsTheHelpShowsRunsOnAnSqliteMdb) {
  OpenNewOnSqlite({QStringLiteral("CREATE TABLE people (id INTEGER PRIMARY KEY, born DATE)"),
                   QStringLiteral("INSERT INTO people VALUES (1, '1975-06-01')"),
                   QStringLiteral("INSERT INTO people VALUES (2, '1978-01-01')"),
                   QStringLiteral("INSERT INTO people VALUES (3, '1990-02-03')")});
  const QRegularExpression example(QStringLiteral("birthdate = (\\S+)"));
  const QRegularExpressionMatch shown = example.match(HelpTopicText(12));
  ASSERT_TRUE(shown.hasMatch()) << qPrintable(HelpTopicText(12));
  Find<QLineEdit>("1050")->setText(QStringLiteral("People"));
  ChooseTable(QStringLiteral("people"));
  MessageBoxRecorder::Global().Clear();
  AddFilter(1, 0, shown.captured(1));
  EXPECT_EQ(Query(), QStringLiteral("Select `id`, `born` from people Where `born` = '1978-01-01'"));
  Find<QAbstractButton>("1067")->click();
  EXPECT_EQ(BoxTexts(), QStringList());
  EXPECT_EQ(Find<QLabel>("1081")->text(), QStringLiteral("Number of Records : 1"));
  m_wizard->PressFinish();
  EXPECT_EQ(m_wizard->result(), CWizardSheet::kFinishResult) << qPrintable(BoxTexts().join(u'\n'));
  const QList<QStringList> rows = ProfileRows(QStringLiteral("People"));
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0][6], QStringLiteral("1#0#4#born#1#=#12#'1978-01-01'#"));
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

namespace {

QString TabText(const std::vector<StoredControl>& controls) {
  QString text;
  EXPECT_TRUE(FormTextWriter().WriteTab(controls, &text));
  return text;
}

QString FormLevelText() {
  FormLevelInfo form;
  form.Height = 500;
  form.Width = 324;
  form.FontSize = 12;
  QString text;
  EXPECT_TRUE(FormTextWriter().WriteFormLevel(form, &text));
  return text;
}

// A form of the profile with a text box on `mapped` and, unless `lookup` is empty, a combo box that
// looks up `lookup` of the same profile, shown by `shown`.
std::vector<StoredControl> FormControls(int32_t profileId, const QString& mapped, const QString& lookup,
                                        const QString& shown) {
  StoredControl text;
  text.Width = 80;
  text.Height = 25;
  text.Properties.Type = kTextBox;
  text.Properties.DataColumn = mapped;
  StoredControl combo = text;
  combo.Properties.Type = kComboBox;
  combo.Properties.DataColumn.clear();
  combo.Properties.SrcType = kSourceAnotherProfile;
  combo.Properties.LkProfileID = profileId;
  combo.Properties.LkCol = lookup;
  combo.Properties.LkViewCol = shown;
  if (lookup.isEmpty()) return {text};
  return {text, combo};
}


// An edit of a profile made through the wizard, with forms stored for it.
class TablePageEditTest : public TablePageTest {
 protected:
  ProfileRecord StoreItemsProfile() {
    m_path = MakeSqliteSource();
    const QString path = m_path;
    platform::SetFileOpenChooser([path](const platform::FileOpenRequest&) { return path; });
    OpenNewWizard();
    QTest::mouseClick(Child<QAbstractButton>(m_wizard->m_DatabaseConnectionPage, "1056"), Qt::LeftButton);
    EnterTablePage();
    Find<QLineEdit>("1050")->setText(QStringLiteral("Items"));
    ChooseTable(QStringLiteral("items"));
    ClickTick(QStringLiteral("`city`"));
    AddNameFilter();
    AddSort(2, false);  // qty
    Arrange({QStringLiteral("`qty`"), QStringLiteral("`name`"), QStringLiteral("`id`")});
    m_wizard->PressFinish();
    EXPECT_EQ(m_wizard->result(), CWizardSheet::kFinishResult) << qPrintable(BoxTexts().join(u'\n'));
    const ProfileRecord stored = m_wizard->GetProfileRecord();
    m_wizard.reset();
    return stored;
  }
  void StoreForm(int32_t profileId, const QString& tab) {
    ASSERT_EQ(SaveFormInfo(m_settings, 1, profileId, QStringLiteral("Orders"), FormLevelText()), 1);
    ASSERT_EQ(SaveFormDetails(m_settings, 1, 0, QStringLiteral("Main"), tab), 1);
  }
  // The edit wizard connected to the source as the Profile Manager leaves it, shown.
  void OpenEdit(const ProfileRecord& stored) {
    m_wizard = std::make_unique<CNewProfileWizard>(CNewProfileWizard::kEditMode, CNewProfileWizard::kTableKind);
    m_wizard->GetProfileRecord() = stored;
    QString error;
    ASSERT_EQ(m_wizard->m_DatabaseConnectionPage->GetConnManager()->ConnectByType(m_path, QString(), QString(), &error,
                                                                                  sourcekind::kMdb),
              1)
        << qPrintable(error);
    MessageBoxRecorder::Global().Clear();
    m_wizard->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_wizard.get()));
  }

  QString m_path;
};

}  // namespace

// An edit restores ticks, order, filters and sorts; the columns its forms use stay; saving it
// unchanged stores the same texts under the same number.
TEST_F(TablePageEditTest, EditKeepsWhatFormsUseAndAnUnchangedSaveStoresTheSameProfile) {
  const ProfileRecord stored = StoreItemsProfile();
  StoreForm(stored.ProfileID, TabText(FormControls(stored.ProfileID, QStringLiteral("name"), QStringLiteral("id"),
                                                   QStringLiteral("qty"))));
  OpenEdit(stored);
  EXPECT_EQ(Find<QLineEdit>("1050")->text(), QStringLiteral("Items"));
  EXPECT_EQ(Query(), stored.Query);
  EXPECT_FALSE(Ticked(QStringLiteral("`city`")));
  EXPECT_TRUE(BoxTexts().isEmpty()) << qPrintable(BoxTexts().join(u'\n'));

  // Refusals that only an edit has.
  const struct {
    const char* column;
    QList<int> answers;
    QString box;
  } cases[] = {
      {"`name`", {},
       QStringLiteral("You can not remove selected column as it is already assigned in Form, Please remove this "
                      "column from form first, if you do not want to use this.")},
      {"`id`", {platform::IDYES},
       QStringLiteral("You can not remove the column: \"id\" as it is already assigned in Form Control as Lookup "
                      "Column, Please remove this column as Lookup Column from form First, if you do not want to use "
                      "this.")},
  };
  for (const auto& step : cases) {
    SCOPED_TRACE(step.column);
    MessageBoxRecorder::Global().Clear();
    MessageBoxRecorder::Global().ScriptAnswers(step.answers);
    ClickTick(QString::fromLatin1(step.column));
    ASSERT_FALSE(BoxTexts().isEmpty());
    EXPECT_EQ(BoxTexts().last(), step.box);
    EXPECT_TRUE(Ticked(QString::fromLatin1(step.column)));
  }
  MessageBoxRecorder::Global().Clear();
  ChooseTable(QStringLiteral("other"));
  ASSERT_EQ(BoxTexts().size(), 1);
  EXPECT_TRUE(BoxTexts().first().startsWith(QStringLiteral("The Column of Current profile has been assigned to form")));
  EXPECT_EQ(Page().GetTableList()->currentItem()->text(), QStringLiteral("items"));
  EXPECT_EQ(Query(), stored.Query);

  // Saved unchanged: the same number and texts, the old status row "D" and a new "A".
  MessageBoxRecorder::Global().Clear();
  MessageBoxRecorder::Global().ScriptAnswers({platform::IDYES});
  m_wizard->PressFinish();
  ASSERT_EQ(m_wizard->result(), CWizardSheet::kFinishResult) << qPrintable(BoxTexts().join(u'\n'));
  EXPECT_EQ(BoxTexts().first(), QStringLiteral("Current profile: Items has changed. Do you want to save the changes?"));
  const QList<QStringList> rows = ProfileRows(QStringLiteral("Items"));
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0][0].toInt(), stored.ProfileID);
  EXPECT_EQ(rows[0][2], stored.Query);
  EXPECT_EQ(rows[0][6], stored.FiltersInfo);
  EXPECT_EQ(rows[0][7], stored.SortColumnsInfo);
  EXPECT_EQ(Rows(QStringLiteral("Select StatusFlag From UserProfileStatus Where ProfileID = %1 Order By StatusFlag")
                     .arg(stored.ProfileID)),
            (QList<QStringList>{{QStringLiteral("A")}, {QStringLiteral("D")}}));
}

TEST_F(TablePageEditTest, AProfileWithFormsKeepsItsTableAndListType) {
  const ProfileRecord stored = StoreItemsProfile();
  StoreForm(stored.ProfileID, TabText(FormControls(stored.ProfileID, QStringLiteral("name"), QString(), QString())));
  OpenEdit(stored);
  const QString refusal = QStringLiteral(
      "Current profile has been assigned to form in Form Manager. You can not select another Table/Views/Stored "
      "procedure untll you delete form assigned to this profile.");
  ChooseTable(QStringLiteral("other"));
  EXPECT_EQ(BoxTexts(), QStringList{refusal});
  EXPECT_EQ(Page().GetTableList()->currentItem()->text(), QStringLiteral("items"));
  MessageBoxRecorder::Global().Clear();
  Find<QRadioButton>("1269")->click();
  EXPECT_EQ(BoxTexts(), QStringList{refusal});
  EXPECT_TRUE(Find<QRadioButton>("1268")->isChecked());
  EXPECT_EQ(Query(), stored.Query);
}

namespace {

// A workbook with the sheets "Orders" (a header row and one row) and "Items".
QString MakeWorkbook() {
  const QString folder = testsupport::CurrentMachineRoot() + QStringLiteral("/sources/");
  EXPECT_TRUE(QDir().mkpath(folder));
  const QString path = folder + QStringLiteral("book.xlsx");
  testsupport::XlsxFixture fixture(path);
  lxw_worksheet* orders = fixture.AddSheet("Orders");
  worksheet_write_string(orders, 0, 0, "Customer", nullptr);
  worksheet_write_string(orders, 0, 1, "Amount", nullptr);
  worksheet_write_string(orders, 1, 0, "Alder", nullptr);
  worksheet_write_number(orders, 1, 1, 12, nullptr);
  worksheet_write_string(fixture.AddSheet("Items"), 0, 0, "Item", nullptr);
  EXPECT_TRUE(fixture.Close());
  return path;
}

}  // namespace

// A workbook read as its exported text files: its sheets are listed by name and previewed from
// their export.
TEST_F(TablePageTest, WorkbookExportListsItsSheetsAndPreviewsThem) {
  const QString path = MakeWorkbook();
  platform::SetFileOpenChooser([path](const platform::FileOpenRequest&) { return path; });
  OpenNewWizard();
  {
    PageModalPlayer player({[](QDialog* dialog) {
      Child<QRadioButton>(dialog, "1072")->click();  // first row as field names
      Click(dialog, "1");
    }});
    QTest::mouseClick(Child<QAbstractButton>(m_wizard->m_DatabaseConnectionPage, "1056"), Qt::LeftButton);
  }
  EnterTablePage();
  QStringList listed;
  for (int row = 0; row < Page().GetTableList()->count(); ++row) listed << Page().GetTableList()->item(row)->text();
  EXPECT_EQ(listed, (QStringList{QStringLiteral("Items"), QStringLiteral("Orders")})) << qPrintable(listed.join(u' '));
  ChooseTable(QStringLiteral("Orders"));
  EXPECT_EQ(Query(), QStringLiteral("Select `Customer`, `Amount` from \"Orders.txt\""));
  EXPECT_FALSE(Find<QWidget>("1153")->isEnabled()) << "no arrangement for a workbook";
  Find<QAbstractButton>("1067")->click();
  EXPECT_EQ(Find<QLabel>("1081")->text(), QStringLiteral("Number of Records : 1")) << qPrintable(BoxTexts().join(u'\n'));
}

// A workbook viewed as worksheets: its sheets are listed, the profile reads a sheet whole, its
// header row among the rows.
TEST_F(TablePageTest, WorksheetProfileStoresItsSheet) {
  const QString path = MakeWorkbook();
  platform::SetFileOpenChooser([path](const platform::FileOpenRequest&) { return path; });
  OpenNewWizard();
  {
    PageModalPlayer player({[](QDialog* dialog) {
      Child<QRadioButton>(dialog, "1073")->click();  // view as worksheets
      Click(dialog, "1");
    }});
    QTest::mouseClick(Child<QAbstractButton>(m_wizard->m_DatabaseConnectionPage, "1056"), Qt::LeftButton);
  }
  EnterTablePage();
  ASSERT_EQ(Page().GetTableList()->count(), 2);
  Find<QLineEdit>("1050")->setText(QStringLiteral("Sheet"));
  ChooseTable(QStringLiteral("Orders"));
  ASSERT_EQ(Columns().GetItemCount(), 2);
  EXPECT_EQ(Columns().GetItemText(0, 0), QStringLiteral("`A`")) << "columns by letter: no header row";
  EXPECT_EQ(Query(), QStringLiteral("Orders"));
  for (const char* id : {"1065", "1066", "1153"}) EXPECT_FALSE(Find<QWidget>(id)->isEnabled()) << id;
  Find<QAbstractButton>("1067")->click();
  EXPECT_EQ(Find<QLabel>("1081")->text(), QStringLiteral("Number of Records : 2")) << qPrintable(BoxTexts().join(u'\n'));
  m_wizard->PressFinish();
  ASSERT_EQ(m_wizard->result(), CWizardSheet::kFinishResult) << qPrintable(BoxTexts().join(u'\n'));
  const QList<QStringList> rows = ProfileRows(QStringLiteral("Sheet"));
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0][2], QStringLiteral("Orders"));
}

// Finish refuses in its order, each refusal an information box that keeps the wizard open.
TEST_F(TablePageTest, FinishRefusesWhatCannotBeStored) {
  OpenNewOnSqlite();
  MessageBoxRecorder::Global().Clear();
  m_wizard->PressFinish();
  EXPECT_EQ(BoxTexts(), QStringList{QStringLiteral("Please, Select table/view from available tables/views list.")});
  ChooseTable(QStringLiteral("items"));
  const struct {
    const char* name;
    const char* box;
  } cases[] = {
      {"  ", "Please, Enter Profile Name."},
      {"select", "Please, Enter proper Profile Name other than SQL Keywords."},
      {"sampledb", "Profile with same name already exist at Device. Please, Enter another Profile Name."},
      {"1items", "Profile name must start with alphabetic character."},
  };
  for (const auto& step : cases) {
    SCOPED_TRACE(step.name);
    MessageBoxRecorder::Global().Clear();
    Find<QLineEdit>("1050")->setText(QString::fromLatin1(step.name));
    m_wizard->PressFinish();
    ASSERT_EQ(MessageBoxRecorder::Global().shown().size(), 1);
    EXPECT_EQ(BoxTexts().first(), QString::fromLatin1(step.box));
    EXPECT_EQ(MessageBoxRecorder::Global().shown().first().icon(), platform::MB_ICONINFORMATION);
    EXPECT_TRUE(m_wizard->isVisible());
  }
  EXPECT_TRUE(Rows(QStringLiteral("Select DBInfo From ProfileInfo Where DBInfo = 'items'")).isEmpty());
}

TEST_F(TablePageTest, FinishRefusesATableWithAnEmptyRow) {
  OpenNewOnSqlite({QStringLiteral("CREATE TABLE blanks (a VARCHAR(5), b VARCHAR(5))"),
                   QStringLiteral("INSERT INTO blanks VALUES ('x', 'y')"),
                   QStringLiteral("INSERT INTO blanks VALUES (NULL, NULL)")});
  Find<QLineEdit>("1050")->setText(QStringLiteral("Blanks"));
  ChooseTable(QStringLiteral("blanks"));
  MessageBoxRecorder::Global().Clear();
  m_wizard->PressFinish();
  EXPECT_EQ(BoxTexts(), QStringList{QStringLiteral("It seems that your selected table/file has some empty records, "
                                                   "please delete those records and try again.")});
  EXPECT_TRUE(ProfileRows(QStringLiteral("Blanks")).isEmpty());
}
