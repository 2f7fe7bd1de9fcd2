// The profile wizard's data-source page driven offscreen: files chosen through Browse, data
// source names on SQLite and the test servers, logins asked for, Next and Back between the
// pages, and the wizard in edit mode.
#include "admin/foundation/AppLog.h"
#include "admin/foundation/DBConnManager.h"
#include "admin/foundation/LogFile.h"
#include "admin/profiles/NewProfileWizard.h"
#include "admin/profiles/ProfileBuildQueryForProcPage.h"
#include "admin/profiles/ProfileBuildQueryPage.h"
#include "admin/profiles/ProfileDatabaseConnectionPage.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/HelpTopics.h"
#include "platform/odbc/OdbcConfig.h"
#include "platform/widgets/DocumentLauncher.h"
#include "platform/widgets/FileOpenDialog.h"
#include "shared/WorkbookFolder.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/LogReader.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestPaths.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using Button = CWizardSheet::Button;
using odbctest::Engine;

namespace {

const QString kSqliteDataSource = QStringLiteral("TarnwickWizardSQLite");

// Answers each modal dialog (login, workbook choice) as it appears, in order; a dialog with
// no answer left is cancelled.
class ModalAnswers {
 public:
  using Answer = std::function<void(QDialog*)>;

  explicit ModalAnswers(QList<Answer> answers = {}) : answers_(std::move(answers)) {
    timer_.callOnTimeout([this] { Look(); });
    timer_.start(5);
  }
  void Script(QList<Answer> answers) { answers_ = std::move(answers); }
  QStringList asked() const { return asked_; }

  static void Cancel(QDialog* dialog) { dialog->findChild<CBMButton*>(QStringLiteral("2"))->click(); }
  static Answer Login(const QString& user, const QString& password) {
    return [user, password](QDialog* dialog) {
      dialog->findChild<QLineEdit*>(QStringLiteral("1055"))->setText(user);
      dialog->findChild<QLineEdit*>(QStringLiteral("1003"))->setText(password);
      dialog->findChild<CBMButton*>(QStringLiteral("1"))->click();
    };
  }
  static void ViewAsWorksheet(QDialog* dialog) {
    dialog->findChild<QRadioButton*>(QStringLiteral("1073"))->click();
    dialog->findChild<CBMButton*>(QStringLiteral("1"))->click();
  }
  static void FirstRowAsHeader(QDialog* dialog) {
    dialog->findChild<QRadioButton*>(QStringLiteral("1072"))->click();
    dialog->findChild<CBMButton*>(QStringLiteral("1"))->click();
  }

 private:
  void Look() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    asked_.append(dialog->windowTitle());
    const Answer answer = answers_.isEmpty() ? Answer(&ModalAnswers::Cancel) : answers_.takeFirst();
    answer(dialog);
  }

  QList<Answer> answers_;
  QStringList asked_;
  QTimer timer_;
};

class DataSourcePage : public ::testing::Test {
 protected:
  void SetUp() override {
    log_ = std::make_unique<CLogFile>(testsupport::InstallAdmin(), QStringLiteral("DesktopLog.log"));
    SetAppLog(log_.get());
    Boxes().Clear();
    platform::SetFileOpenChooser([this](const platform::FileOpenRequest& request) {
      requests_.append(request);
      return chosen_;
    });
  }
  void TearDown() override {
    wizard_.reset();
    SetAppLog(nullptr);
    platform::SetFileOpenChooser({});
    platform::SetDocumentLauncher({});
    SetHelpBalloonOpener({});
  }

  static testsupport::MessageBoxRecorder& Boxes() { return testsupport::MessageBoxRecorder::Global(); }
  static QString Folder() { return testsupport::CurrentMachineRoot() + QStringLiteral("/sources/"); }

  CNewProfileWizard& Open(int mode = CNewProfileWizard::kNewMode, int kind = CNewProfileWizard::kTableKind) {
    wizard_ = std::make_unique<CNewProfileWizard>(mode, kind);
    wizard_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(wizard_.get()));
    return *wizard_;
  }
  CProfileDatabaseConnectionPage& Page() const { return *wizard_->m_DatabaseConnectionPage; }
  const ProfileRecord& Record() const { return wizard_->GetProfileRecord(); }
  template <typename Control>
  Control* Find(const char* id) const {
    return Page().findChild<Control*>(QString::fromLatin1(id));
  }
  void Click(const char* id) const { QTest::mouseClick(Find<QAbstractButton>(id), Qt::LeftButton); }
  void Press(Button button) const { QTest::mouseClick(wizard_->GetButton(button), Qt::LeftButton); }
  bool Shown(Button button) const { return wizard_->GetButton(button)->isVisible(); }

  void Browse(const QString& path) {
    chosen_ = path;
    Click("1056");
  }
  void ChooseDataSource(const QString& name) const {
    Click("1054");
    QComboBox* names = Find<QComboBox>("1259");
    const int index = names->findText(name);
    ASSERT_GE(index, 0) << qPrintable(name);
    names->setCurrentIndex(index);
    Q_EMIT names->activated(index);
  }
  bool Connected() const { return Page().GetConnManager()->IsConnected(); }
  QStringList ListedDataSources() const {
    QStringList names;
    const QComboBox* combo = Find<QComboBox>("1259");
    for (int index = 0; index < combo->count(); ++index) names.append(combo->itemText(index));
    return names;
  }

  // An SQLite database with one table, copied to `fileName` in the sources folder.
  static QString MakeSqliteFile(const QString& fileName) {
    {
      admin::CDatabseConnection preparation;
      QString unavailable;
      EXPECT_TRUE(odbctest::ConnectEngine(Engine::Sqlite, &preparation, &unavailable)) << qPrintable(unavailable);
      EXPECT_TRUE(SQL_SUCCEEDED(
          preparation.ExecuteStatement(QStringLiteral("CREATE TABLE IF NOT EXISTS orders (id INTEGER PRIMARY KEY, customer TEXT)"))));
      EXPECT_TRUE(SQL_SUCCEEDED(preparation.ExecuteStatement(QStringLiteral("INSERT OR REPLACE INTO orders VALUES (1, 'Alder')"))));
    }
    EXPECT_TRUE(QDir().mkpath(Folder()));
    const QString path = Folder() + fileName;
    EXPECT_TRUE(QFile::copy(odbctest::SqliteTestFile(), path));
    return path;
  }
  static void RegisterSqliteDataSource() {
    const QString path = MakeSqliteFile(QStringLiteral("named.mdb"));
    QString error;
    ASSERT_TRUE(platform::RegisterFileDataSource(kSqliteDataSource, QStringLiteral("Microsoft Access Driver (*.mdb)"),
                                                 path, platform::FileSharing::Single, &error))
        << qPrintable(error);
  }
  QList<testsupport::LogEntry> LogEntries() const { return testsupport::ReadLogEntries(log_->FilePath()); }

  QString chosen_;
  QList<platform::FileOpenRequest> requests_;
  std::unique_ptr<CLogFile> log_;
  std::unique_ptr<CNewProfileWizard> wizard_;
};

}  // namespace

TEST_F(DataSourcePage, RadioChoiceEnablesItsControlsAndAlwaysUnticksStoredProcedure) {
  Open();
  EXPECT_EQ(wizard_->windowTitle(), QStringLiteral("New Profile : Database Connection"));
  const struct {
    const char* click;
    bool file;
  } steps[] = {{nullptr, true}, {"1054", false}, {"1053", true}, {"1054", false}};
  for (const auto& step : steps) {
    if (step.click != nullptr) Click(step.click);
    SCOPED_TRACE(step.click == nullptr ? "start" : step.click);
    EXPECT_EQ(Find<QRadioButton>("1053")->isChecked(), step.file);
    EXPECT_EQ(Find<QLineEdit>("1055")->isEnabled(), step.file);
    EXPECT_EQ(Find<QAbstractButton>("1056")->isEnabled(), step.file);
    EXPECT_EQ(Find<QComboBox>("1259")->isEnabled(), !step.file);
    EXPECT_EQ(Find<QCheckBox>("1260")->isVisible(), !step.file);
    if (!step.file) {
      EXPECT_FALSE(Find<QCheckBox>("1260")->isChecked());
    }
    Find<QCheckBox>("1260")->setChecked(true);  // ticked before the next choice
  }
}

TEST_F(DataSourcePage, BrowseConnectsAnSqliteFileAndRecordsItsFields) {
  const QString path = MakeSqliteFile(QStringLiteral("MyData.MDB"));
  Open();
  Browse(path);
  ASSERT_TRUE(Connected()) << (Boxes().shown().isEmpty() ? "" : qPrintable(Boxes().shown().first().text));
  ASSERT_EQ(requests_.size(), 1);
  EXPECT_TRUE(requests_[0].nameFilters.startsWith(
      QStringLiteral("All Files (*.mdb *.accdb *.xls *.xlsx *.xlsm *.xlsb *.dbf *.txt *.csv *.fp7);;")));
  EXPECT_EQ(requests_[0].defaultSuffix, QStringLiteral("mdb"));
  EXPECT_EQ(Record().DBType, QStringLiteral("1"));
  EXPECT_EQ(Record().DB_DSN, QStringLiteral("MyData.MDB"));
  EXPECT_EQ(Record().Path, Folder());
  EXPECT_EQ(Record().tempPath, Folder());
  EXPECT_TRUE(Record().UserName.isEmpty() && Record().Password.isEmpty());
  EXPECT_EQ(Find<QLineEdit>("1055")->text(), path);
  EXPECT_TRUE(Boxes().shown().isEmpty());
  QString error;
  EXPECT_EQ(Page().GetConnManager()->FetchContents(&error, QStringLiteral("SELECT customer FROM orders")), 1)
      << qPrintable(error);
  const QList<testsupport::LogEntry> entries = LogEntries();
  for (const char* line : {"Click Browse Button to select Database.", "Database Type : 1.", "Database is Connected.",
                           "End Browse button call."}) {
    EXPECT_EQ(testsupport::EntriesContaining(entries, QString::fromLatin1(line)).size(), 1) << line;
  }

  const QString folder = testsupport::BinaryDir() + QStringLiteral("/screenshots/");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QImage picture = wizard_->grab().toImage();
  EXPECT_TRUE(picture.save(folder + QStringLiteral("profile-wizard-data-source.png")));
  EXPECT_EQ(picture.size(), wizard_->size());
  EXPECT_EQ(picture.pixelColor(3, 3), QColor(210, 210, 255)) << "the dialog brush";
}

TEST_F(DataSourcePage, ATextFileConnectsItsFolder) {
  ASSERT_TRUE(QDir().mkpath(Folder()));
  QFile text(Folder() + QStringLiteral("notes.TXT"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("Name,Amount\r\nAlder,3\r\n");
  text.close();
  Open();
  Browse(text.fileName());
  ASSERT_TRUE(Connected()) << (Boxes().shown().isEmpty() ? "" : qPrintable(Boxes().shown().first().text));
  EXPECT_EQ(Record().DBType, QStringLiteral("4"));
  EXPECT_EQ(Record().DB_DSN, QStringLiteral("notes.TXT"));
  EXPECT_EQ(Record().tempPath, Folder());
  EXPECT_EQ(Record().Path, Folder());
}

// A refused file is refused before any connection, and nothing of it is recorded.
TEST_F(DataSourcePage, RefusesFilesItCannotOpenAndRecordsNothing) {
  const QString workbook = Folder() + QStringLiteral("book.xlsx");
  ASSERT_TRUE(QDir().mkpath(Folder()));
  {
    testsupport::XlsxFixture fixture(workbook);
    worksheet_write_string(fixture.AddSheet("Orders"), 0, 0, "Customer", nullptr);
    ASSERT_TRUE(fixture.Close());
  }
  // A workbook package under the binary workbook's extension: the extension decides.
  ASSERT_TRUE(QFile::copy(workbook, Folder() + QStringLiteral("binary.xlsb")));
  QFile other(Folder() + QStringLiteral("picture.foo"));
  ASSERT_TRUE(other.open(QIODevice::WriteOnly));
  other.close();
  const struct {
    const char* file;
    const char* box;
  } cases[] = {{"picture.foo", "Unable to Connect to Source Database."}, {"binary.xlsb", "Unable To Connect"}};
  Open();
  ModalAnswers prompts;
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.file);
    Boxes().Clear();
    Browse(Folder() + QString::fromLatin1(entry.file));
    ASSERT_EQ(Boxes().shown().size(), 1);
    EXPECT_EQ(Boxes().shown()[0].text, QString::fromLatin1(entry.box));
    EXPECT_EQ(Boxes().shown()[0].caption, ProgramTitle());
    EXPECT_EQ(Boxes().shown()[0].icon(), platform::MB_ICONERROR);
    EXPECT_FALSE(Connected());
    EXPECT_TRUE(Record().DBType.isEmpty());
    EXPECT_TRUE(Record().DB_DSN.isEmpty());
    EXPECT_TRUE(Find<QLineEdit>("1055")->text().isEmpty());
  }
  EXPECT_TRUE(prompts.asked().isEmpty()) << "no workbook question for a file that is refused";
}

TEST_F(DataSourcePage, WorkbookReadWithAHeaderRowConnectsTheExportFolderAndKeepsItsCode) {
  ASSERT_TRUE(QDir().mkpath(Folder()));
  const QString path = Folder() + QStringLiteral("book.xlsx");
  {
    testsupport::XlsxFixture fixture(path);
    lxw_worksheet* orders = fixture.AddSheet("Orders");
    worksheet_write_string(orders, 0, 0, "Customer", nullptr);
    worksheet_write_string(orders, 0, 1, "Amount", nullptr);
    worksheet_write_string(orders, 1, 0, "Alder Outfitters", nullptr);
    worksheet_write_number(orders, 1, 1, 12, nullptr);
    worksheet_write_string(fixture.AddSheet("Items"), 0, 0, "Item", nullptr);
    ASSERT_TRUE(fixture.Close());
  }
  Open();
  ModalAnswers prompts({&ModalAnswers::FirstRowAsHeader});
  Browse(path);
  ASSERT_TRUE(Connected()) << (Boxes().shown().isEmpty() ? "" : qPrintable(Boxes().shown().first().text));
  EXPECT_EQ(prompts.asked(), QStringList({QStringLiteral("Excel Database Connection")}));
  const QString exportFolder = WorkbookTempFolder();
  EXPECT_FALSE(Page().GetConnManager()->IsWorkbook()) << "the text driver reads the export";
  EXPECT_TRUE(Page().IsExcel());
  EXPECT_EQ(Page().GetSheetCount(), 2);
  EXPECT_EQ(Record().DBType, QStringLiteral("7"));
  EXPECT_EQ(Record().DB_DSN, QStringLiteral("book.xlsx"));
  EXPECT_EQ(Record().Path, Folder());
  EXPECT_EQ(Record().tempPath, exportFolder + u'/');
  EXPECT_EQ(Find<QLineEdit>("1055")->text(), exportFolder + QStringLiteral("/*.txt"));
}

// Viewed as a worksheet, the workbook opens as a workbook; one that cannot be read is shown as
// such, and no login is asked for, since no driver was asked.
TEST_F(DataSourcePage, WorkbookViewedAsWorksheetOpensAsAWorkbook) {
  ASSERT_TRUE(QDir().mkpath(Folder()));
  const QString good = Folder() + QStringLiteral("book.xlsx");
  {
    testsupport::XlsxFixture fixture(good);
    worksheet_write_string(fixture.AddSheet("Orders"), 0, 0, "Customer", nullptr);
    ASSERT_TRUE(fixture.Close());
  }
  const QString broken = Folder() + QStringLiteral("broken.xlsx");
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a workbook");
  file.close();
  Open();
  ModalAnswers prompts({&ModalAnswers::ViewAsWorksheet});
  Browse(good);
  ASSERT_TRUE(Connected()) << (Boxes().shown().isEmpty() ? "" : qPrintable(Boxes().shown().first().text));
  EXPECT_TRUE(Page().GetConnManager()->IsWorkbook());
  EXPECT_FALSE(Page().IsExcel());
  EXPECT_EQ(Record().DBType, QStringLiteral("7"));
  EXPECT_EQ(Record().tempPath, Folder());

  prompts.Script({&ModalAnswers::ViewAsWorksheet});
  Browse(broken);
  EXPECT_EQ(prompts.asked(), QStringList(2, QStringLiteral("Excel Database Connection")));
  EXPECT_FALSE(Connected());
  ASSERT_EQ(Boxes().shown().size(), 1);
  EXPECT_EQ(Boxes().shown()[0].text, QStringLiteral("Unable To Connect"));
  EXPECT_EQ(Record().DB_DSN, QStringLiteral("book.xlsx")) << "the fields of the last connection stay";
}

TEST_F(DataSourcePage, DataSourceNameOnSqliteIsStoredAsZero) {
  RegisterSqliteDataSource();
  Open();
  EXPECT_EQ(ListedDataSources(), QStringList({kSqliteDataSource}));
  EXPECT_EQ(Find<QComboBox>("1259")->currentIndex(), -1) << "no name is chosen at the start";
  ChooseDataSource(kSqliteDataSource);
  ASSERT_TRUE(Connected()) << (Boxes().shown().isEmpty() ? "" : qPrintable(Boxes().shown().first().text));
  EXPECT_EQ(Record().DBType, QStringLiteral("0"));
  EXPECT_EQ(Record().DB_DSN, kSqliteDataSource);
  EXPECT_TRUE(Record().Path.isEmpty() && Record().tempPath.isEmpty());
  EXPECT_FALSE(Page().GetDriverDescription().isEmpty());
  EXPECT_EQ(testsupport::EntriesContaining(LogEntries(), QStringLiteral("DSN Combo List Changed End.")).size(), 1);
}

// The names the programs register for their settings databases and the files they open are
// theirs, not the user's, whether the driver manager lists them whole or shortened.
TEST_F(DataSourcePage, ListsTheNamesAUserRegisteredAndNoneOfTheProgramsOwn) {
  const QString settings = MakeSqliteFile(QStringLiteral("UserProfileDB.mdb"));
  for (const char* own : {"UserProfileDSN_4_TarnwickPLite_AD", "UserProfileDSN_FOR_TarnwickPLite",
                          "TempTarnwickPlusWPDSN", "TarnwickPDSN_4_TarnwickPLite_AD",
                          "TarnwickPDSN_4_TarnwickPLite_AD_FP", "TarnwickPDSN_4_TarnwickPLite",
                          "TarnwickPDSN_4_TarnwickPLite_BS"}) {
    QString error;
    ASSERT_TRUE(platform::RegisterFileDataSource(QString::fromLatin1(own), QStringLiteral("Microsoft Access Driver (*.mdb)"),
                                                 settings, platform::FileSharing::Single, &error))
        << own << qPrintable(error);
  }
  RegisterSqliteDataSource();
  Open();
  EXPECT_EQ(ListedDataSources(), QStringList({kSqliteDataSource}));
}

// The PostgreSQL name carries no password: the login is asked for. Cancel leaves the page
// unconnected without a box; OK connects with what was typed.
TEST_F(DataSourcePage, PostgreSqlNameAsksForTheLoginAndIsStoredAsZero) {
  odbctest::ServerLogin login;
  QString unavailable;
  if (!odbctest::RegisterServerDataSource(Engine::PostgreSql, &login, &unavailable)) {
    GTEST_SKIP() << qPrintable(unavailable);
  }
  Open();
  ModalAnswers prompts({&ModalAnswers::Cancel});
  ChooseDataSource(login.dataSourceName);
  EXPECT_EQ(prompts.asked(), QStringList({QStringLiteral("Database Authentication")}));
  EXPECT_FALSE(Connected());
  EXPECT_TRUE(Boxes().shown().isEmpty());
  EXPECT_TRUE(Record().DBType.isEmpty());
  EXPECT_EQ(wizard_->GetActivePage(), &Page());

  prompts.Script({ModalAnswers::Login(login.user, login.password)});
  ChooseDataSource(login.dataSourceName);
  ASSERT_TRUE(Connected()) << (Boxes().shown().isEmpty() ? "" : qPrintable(Boxes().shown().first().text));
  EXPECT_EQ(prompts.asked().size(), 2);
  EXPECT_EQ(Record().DBType, QStringLiteral("0"));
  EXPECT_EQ(Record().DB_DSN, login.dataSourceName);
  EXPECT_EQ(Record().UserName, login.user);
  EXPECT_EQ(Record().Password, login.password);
}

// A MariaDB name counts as MySQL; the login is given when the server asks for one.
TEST_F(DataSourcePage, MariaDbNameIsStoredAsNine) {
  odbctest::ServerLogin login;
  QString unavailable;
  if (!odbctest::RegisterServerDataSource(Engine::MariaDb, &login, &unavailable)) {
    GTEST_SKIP() << qPrintable(unavailable);
  }
  Open();
  ModalAnswers prompts({ModalAnswers::Login(login.user, login.password)});
  ChooseDataSource(login.dataSourceName);
  ASSERT_TRUE(Connected()) << (Boxes().shown().isEmpty() ? "" : qPrintable(Boxes().shown().first().text));
  EXPECT_EQ(Record().DBType, QStringLiteral("9"));
  EXPECT_EQ(Record().DB_DSN, login.dataSourceName);
  EXPECT_TRUE(Page().GetDriverDescription().contains(QStringLiteral("MariaDB")));
}

TEST_F(DataSourcePage, NextWithoutAConnectionKeepsThePage) {
  Open();
  Press(Button::Next);
  ASSERT_EQ(Boxes().shown().size(), 1);
  EXPECT_EQ(Boxes().shown()[0].text, QStringLiteral("No valid database connection established."));
  EXPECT_EQ(Boxes().shown()[0].icon(), platform::MB_ICONINFORMATION);
  EXPECT_EQ(wizard_->GetActivePage(), &Page());
  EXPECT_EQ(wizard_->GetPageCount(), 3);
}

TEST_F(DataSourcePage, NextBackAndNextAgainFollowTheChoice) {
  const QString path = MakeSqliteFile(QStringLiteral("orders.mdb"));
  RegisterSqliteDataSource();
  Open();
  EXPECT_TRUE(Shown(Button::Next));
  EXPECT_FALSE(Shown(Button::Back) || Shown(Button::Apply));
  Browse(path);
  ASSERT_TRUE(Connected());
  Press(Button::Next);
  EXPECT_EQ(wizard_->GetActivePage(), wizard_->GetBuildQueryPage());
  EXPECT_EQ(wizard_->windowTitle(), QStringLiteral("New Profile : Build Query"));
  EXPECT_EQ(wizard_->GetPageIndex(wizard_->GetBuildQueryForProcPage()), -1);
  EXPECT_TRUE(Shown(Button::Back) && Shown(Button::Apply));
  EXPECT_FALSE(Shown(Button::Next));

  Press(Button::Back);
  EXPECT_EQ(wizard_->GetActivePage(), &Page());
  EXPECT_EQ(wizard_->windowTitle(), QStringLiteral("New Profile : Database Connection"));
  EXPECT_EQ(wizard_->GetPageCount(), 3);
  EXPECT_TRUE(Shown(Button::Next));
  EXPECT_FALSE(Shown(Button::Back) || Shown(Button::Apply));

  Click("1054");
  EXPECT_FALSE(Connected()) << "a new choice drops the connection";
  EXPECT_TRUE(Find<QLineEdit>("1055")->text().isEmpty());
  ChooseDataSource(kSqliteDataSource);
  ASSERT_TRUE(Connected());
  Find<QCheckBox>("1260")->setChecked(true);
  Press(Button::Next);
  EXPECT_EQ(wizard_->GetActivePage(), wizard_->GetBuildQueryForProcPage());
  EXPECT_EQ(wizard_->GetPageIndex(wizard_->GetBuildQueryPage()), -1);
  const QList<testsupport::LogEntry> entries = LogEntries();
  const auto codeOf = [&entries](const QString& text) {
    const QList<testsupport::LogEntry> found = testsupport::EntriesContaining(entries, text);
    return found.isEmpty() ? 0 : found.last().code;
  };
  EXPECT_EQ(codeOf(QStringLiteral("Table/View Profile Type is selected.")), 245);
  EXPECT_EQ(codeOf(QStringLiteral("Stored Procedure Profile Type is selected.")), 255);
}

TEST_F(DataSourcePage, EditModeShowsOnlyThePageOfItsKindWithApplyAndCancel) {
  const struct {
    int kind;
    const char* logged;
  } cases[] = {{CNewProfileWizard::kTableKind, "Type: Table/View Profile"},
               {CNewProfileWizard::kProcedureKind, "Type: Stored Procedure"}};
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.logged);
    Open(CNewProfileWizard::kEditMode, entry.kind);
    ASSERT_EQ(wizard_->GetPageCount(), 1);
    const CWizardSheetPage* expected = entry.kind == CNewProfileWizard::kTableKind
                                           ? static_cast<CWizardSheetPage*>(wizard_->GetBuildQueryPage())
                                           : wizard_->GetBuildQueryForProcPage();
    EXPECT_EQ(wizard_->GetActivePage(), expected);
    EXPECT_TRUE(Shown(Button::Apply) && Shown(Button::Cancel));
    EXPECT_FALSE(Shown(Button::Back) || Shown(Button::Next));
    EXPECT_FALSE(Page().IsInitialized()) << "the data-source page is never entered";
    const QList<testsupport::LogEntry> found =
        testsupport::EntriesContaining(LogEntries(), QString::fromLatin1(entry.logged));
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].code, -11);
  }
}

TEST_F(DataSourcePage, ConfigOpensTheOdbcFileOrSaysItFailed) {
  QFile::remove(platform::OdbcIniPath());
  QStringList opened;
  bool launches = true;
  platform::SetDocumentLauncher([&](const QString& path) {
    opened.append(path);
    return launches;
  });
  Open();
  Click("1057");
  EXPECT_EQ(opened, QStringList({platform::OdbcIniPath()}));
  EXPECT_TRUE(QFile::exists(platform::OdbcIniPath())) << "made empty when missing";
  EXPECT_TRUE(Boxes().shown().isEmpty());

  // Without a program for it the box names the file and says what to write there.
  launches = false;
  Click("1057");
  ASSERT_EQ(Boxes().shown().size(), 1);
  EXPECT_TRUE(Boxes().shown()[0].text.contains(u'\n' + platform::OdbcIniPath() + u'\n')) << qPrintable(Boxes().shown()[0].text);
  EXPECT_TRUE(Boxes().shown()[0].text.contains(QStringLiteral("\"Driver=\"")));
  EXPECT_EQ(Boxes().shown()[0].icon(), platform::MB_ICONWARNING);
}

TEST_F(DataSourcePage, HelpOpensItsBalloons) {
  QList<std::pair<int, QPoint>> balloons;
  SetHelpBalloonOpener([&](int topic, QPoint position) { balloons.append({topic, position}); });
  Open();
  Click("1222");
  Press(Button::Help);
  ASSERT_EQ(balloons.size(), 2);
  const QWidget* small = Find<QWidget>("1222");
  const QPoint corner = small->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(balloons[0].first, 24);
  EXPECT_EQ(balloons[0].second, QPoint(corner.x() - 50, corner.y() + small->height() - 20));
  EXPECT_EQ(balloons[1].first, 25);
  // The help on data source names leads to where they are defined here.
  EXPECT_TRUE(HelpTopicText(24).contains(QStringLiteral("odbc.ini"))) << qPrintable(HelpTopicText(24));
  EXPECT_FALSE(HelpTopicText(24).contains(QStringLiteral("Control Panel")));
}
