#pragma once

// The table and view page's fixture: a copy of the settings database behind the application
// object, a desktop registered as device user "user01", a wizard driven through its real pages.
#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/DBConnManager.h"
#include "admin/profiles/NewProfileWizard.h"
#include "admin/profiles/ProfileBuildQueryPage.h"
#include "admin/profiles/ProfileDatabaseConnectionPage.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "platform/widgets/FileOpenDialog.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"
#include "tests/admin/profiles/PageModalPlayer.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <memory>

inline QStringList BoxTexts() {
  using testsupport::MessageBoxRecorder;
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
    CTarnwickApp::SetMainDialogRunner([](CTarnwickDlg&) {});  // start-up only
    m_app = std::make_unique<CTarnwickApp>();
    m_app->InitInstance();
    ASSERT_TRUE(m_app->GetSettingsConnection().IsConnected());
    SetHelpBalloonOpener([this](int topic, QPoint) { m_balloons.append(topic); });
    testsupport::MessageBoxRecorder::Global().Clear();
  }
  void TearDown() override {
    m_wizard.reset();
    m_app.reset();
    platform::SetFileOpenChooser({});
    SetHelpBalloonOpener({});
    SettingsDatabaseTest::TearDown();
  }

  // `extra` statements run on the file before it is copied.
  QString MakeSqliteSource(const QStringList& extra = {}) {
    admin::CDatabseConnection source;
    QString unavailable;
    EXPECT_TRUE(odbctest::ConnectEngine(odbctest::Engine::Sqlite, &source, &unavailable)) << qPrintable(unavailable);
    for (const char* sql : {"CREATE TABLE items (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40), "
                            "qty INTEGER, big BIGINT)",
                            "INSERT INTO items VALUES (1, 'Alder', 'Oslo', 5, 1)",
                            "INSERT INTO items VALUES (2, 'O''Brien', 'Cork', 7, 2)",
                            "CREATE TABLE other (x INTEGER)", "CREATE VIEW item_names AS SELECT id, name FROM items"}) {
      EXPECT_TRUE(SQL_SUCCEEDED(source.ExecuteStatement(QString::fromLatin1(sql)))) << sql;
    }
    for (const QString& sql : extra) EXPECT_TRUE(SQL_SUCCEEDED(source.ExecuteStatement(sql))) << qPrintable(sql);
    source.DisconnectDataSource();
    const QString folder = testsupport::CurrentMachineRoot() + QStringLiteral("/sources/");
    EXPECT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("page.mdb");
    QFile::remove(path);
    EXPECT_TRUE(QFile::copy(odbctest::SqliteTestFile(), path));
    return path;
  }

  // A new profile's wizard on the SQLite source, on the table page.
  CProfileBuildQueryPage& OpenNewOnSqlite(const QStringList& extra = {}) {
    const QString path = MakeSqliteSource(extra);
    platform::SetFileOpenChooser([path](const platform::FileOpenRequest&) { return path; });
    OpenNewWizard();
    QTest::mouseClick(Child<QAbstractButton>(m_wizard->m_DatabaseConnectionPage, "1056"), Qt::LeftButton);
    return EnterTablePage();
  }
  // A new profile's wizard on a server's data source name, the login typed when asked.
  CProfileBuildQueryPage& OpenNewOnServer(const odbctest::ServerLogin& login) {
    OpenNewWizard();
    CProfileDatabaseConnectionPage* sourcePage = m_wizard->m_DatabaseConnectionPage;
    Child<QAbstractButton>(sourcePage, "1054")->click();
    auto* names = Child<QComboBox>(sourcePage, "1259");
    const int index = names->findText(login.dataSourceName);
    EXPECT_GE(index, 0) << qPrintable(login.dataSourceName);
    PageModalPlayer player({[login](QDialog* dialog) {
      Child<QLineEdit>(dialog, "1055")->setText(login.user);
      Child<QLineEdit>(dialog, "1003")->setText(login.password);
      Click(dialog, "1");
    }});
    names->setCurrentIndex(index);
    Q_EMIT names->activated(index);
    return EnterTablePage();
  }
  void OpenNewWizard() {
    m_wizard = std::make_unique<CNewProfileWizard>(CNewProfileWizard::kNewMode, CNewProfileWizard::kTableKind);
    m_wizard->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_wizard.get()));
  }
  CProfileBuildQueryPage& EnterTablePage() {
    m_wizard->PressNext();
    EXPECT_EQ(m_wizard->GetActivePage(), m_wizard->GetBuildQueryPage()) << qPrintable(BoxTexts().join(u'\n'));
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
  void AddNameFilter() { AddFilter(1, 1, QStringLiteral("O'Brien")); }
  // A filter on the listed column `field` with the operator `op`, its value typed as a user
  // would; a later filter joins with AND.
  void AddFilter(int field, int op, const QString& typed) {
    PageModalPlayer player({[field, op, typed](QDialog* dialog) {
      Click(dialog, "1074");
      Child<QComboBox>(dialog, "1201")->setCurrentIndex(field);
      Child<QComboBox>(dialog, "1202")->setCurrentIndex(op);
      Child<QLineEdit>(dialog, "1055")->setText(typed);
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

