// A table profile and a view profile made through the real wizard on each engine, then sent by
// the running sync program to the web-service double's device: the device holds exactly the
// filtered, sorted rows in the arranged column order.
#include "shared/data/SourceKinds.h"
#include "tests/admin/profiles/TablePageSyncFixture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QRadioButton>

using odbctest::Engine;

namespace {

class TablePageEndToEnd : public TablePageSyncTest, public ::testing::WithParamInterface<Engine> {
 protected:
  void SetUp() override {
    // Before the settings database registers its own name: the driver manager answers from what
    // it read of the data sources during the current second, which a later name would miss.
    QString unavailable;
    if (GetParam() != Engine::Sqlite && !odbctest::RegisterServerDataSource(GetParam(), &m_login, &unavailable))
      GTEST_SKIP() << qPrintable(unavailable);
    TablePageSyncTest::SetUp();
    if (HasFatalFailure()) return;
    const QString suffix = GetParam() == Engine::Sqlite ? QString() : QStringLiteral("_%1").arg(QCoreApplication::applicationPid());
    m_table = QStringLiteral("e2e_items") + suffix;
    m_view = QStringLiteral("e2e_names") + suffix;
    if (GetParam() == Engine::Sqlite) return;
    CONNECT_OR_SKIP(GetParam(), &m_server);
    RunOnServer(QStringLiteral("DROP VIEW IF EXISTS %1").arg(m_view));
    RunOnServer(QStringLiteral("DROP TABLE IF EXISTS %1").arg(m_table));
    for (const QString& sql : SourceStatements()) RunOnServer(sql);
  }
  void TearDown() override {
    if (m_server.IsConnected()) {
      m_server.ExecuteStatement(QStringLiteral("DROP VIEW IF EXISTS %1").arg(m_view));
      m_server.ExecuteStatement(QStringLiteral("DROP TABLE IF EXISTS %1").arg(m_table));
    }
    TablePageSyncTest::TearDown();
  }

  QStringList SourceStatements() const {
    return {QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40), qty INTEGER, "
                           "since DATE)")
                .arg(m_table),
            QStringLiteral("INSERT INTO %1 VALUES (1, 'Alder', 'Oslo', 5, '2024-03-01')").arg(m_table),
            QStringLiteral("INSERT INTO %1 VALUES (2, 'O''Brien', 'Cork', 7, '2024-05-05')").arg(m_table),
            QStringLiteral("INSERT INTO %1 VALUES (3, 'Birch', 'Rome', 9, '2024-02-02')").arg(m_table),
            QStringLiteral("INSERT INTO %1 VALUES (4, 'Cedar', 'Lund', 4, '2023-06-01')").arg(m_table),
            QStringLiteral("CREATE VIEW %1 AS SELECT id, name FROM %2").arg(m_view, m_table)};
  }
  void RunOnServer(const QString& sql) {
    ASSERT_TRUE(SQL_SUCCEEDED(m_server.ExecuteStatement(sql))) << qPrintable(sql);
  }

  CProfileBuildQueryPage& OpenNew() {
    if (GetParam() != Engine::Sqlite) return OpenNewOnServer(m_login);
    if (m_sqlitePath.isEmpty()) return OpenNewOnSqlite(SourceStatements());
    OpenNewWizard();
    const QString path = m_sqlitePath;
    platform::SetFileOpenChooser([path](const platform::FileOpenRequest&) { return path; });
    QTest::mouseClick(Child<QAbstractButton>(m_wizard->m_DatabaseConnectionPage, "1056"), Qt::LeftButton);
    return EnterTablePage();
  }

  // What the page writes for the engine: column quotes, the table part, the DBType.
  QString Listed(const QString& name) const {
    return GetParam() == Engine::PostgreSql ? u'"' + name + u'"' : u'`' + name + u'`';
  }
  QString TablePart() const {
    switch (GetParam()) {
      case Engine::PostgreSql:
        return QStringLiteral("\"public\".\"%1\"").arg(m_table);
      case Engine::MariaDb:
        return u'`' + m_table + u'`';
      case Engine::Sqlite:
        break;
    }
    return m_table;  // an Access-kind file takes the bare name
  }
  QString DbType() const {
    return GetParam() == Engine::Sqlite ? QStringLiteral("1")
           : GetParam() == Engine::MariaDb ? QStringLiteral("9")
                                           : QStringLiteral("0");
  }

  // Edits the stored profile through the wizard and applies it unchanged: the same texts under
  // the same number.
  void ApplyUnchangedEdit(const ProfileRecord& stored, const QStringList& storedRow) {
    m_wizard = std::make_unique<CNewProfileWizard>(CNewProfileWizard::kEditMode, CNewProfileWizard::kTableKind);
    m_wizard->GetProfileRecord() = stored;
    QString error;
    const bool file = GetParam() == Engine::Sqlite;
    ASSERT_EQ(m_wizard->m_DatabaseConnectionPage->GetConnManager()->ConnectByType(
                  file ? stored.Path + stored.DB_DSN : stored.DB_DSN, stored.UserName, stored.Password, &error,
                  file ? sourcekind::kMdb : sourcekind::kNamedDataSource),
              1)
        << qPrintable(error);
    m_wizard->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_wizard.get()));
    EXPECT_EQ(Query(), stored.Query);
    testsupport::MessageBoxRecorder::Global().Clear();
    testsupport::MessageBoxRecorder::Global().ScriptAnswers({platform::IDYES});
    m_wizard->PressFinish();
    ASSERT_EQ(m_wizard->result(), CWizardSheet::kFinishResult) << qPrintable(BoxTexts().join(u'\n'));
    const QList<QStringList> edited = ProfileRows(stored.DBInfo);
    ASSERT_EQ(edited.size(), 1);
    EXPECT_EQ(edited[0], storedRow);
    m_wizard.reset();
  }

  odbctest::ServerLogin m_login;
  admin::CDatabseConnection m_server;
  QString m_table;
  QString m_view;
  QString m_sqlitePath;
};

}  // namespace

TEST_P(TablePageEndToEnd, TableAndViewProfilesAreStoredAndTheTablesRowsReachTheDevice) {
  // A view: No stores nothing, Yes stores it as type 1.
  OpenNew();
  if (GetParam() == Engine::Sqlite) m_sqlitePath = testsupport::CurrentMachineRoot() + QStringLiteral("/sources/page.mdb");
  Find<QRadioButton>("1269")->click();
  Find<QLineEdit>("1050")->setText(QStringLiteral("Names"));
  ChooseTable(m_view);
  testsupport::MessageBoxRecorder::Global().ScriptAnswers({platform::IDNO});
  m_wizard->PressFinish();
  EXPECT_TRUE(ProfileRows(QStringLiteral("Names")).isEmpty());
  testsupport::MessageBoxRecorder::Global().ScriptAnswers({platform::IDYES});
  m_wizard->PressFinish();
  const QList<QStringList> views = ProfileRows(QStringLiteral("Names"));
  ASSERT_EQ(views.size(), 1) << qPrintable(BoxTexts().join(u'\n'));
  EXPECT_EQ(views[0][5], QStringLiteral("1"));

  // A table: an unticked column, a filter value with a quote, a date filter typed as the help
  // shows it, a sort and an arrangement; the preview counts what the device will get.
  OpenNew();
  Find<QLineEdit>("1050")->setText(QStringLiteral("Items"));
  ChooseTable(m_table);
  ASSERT_EQ(Columns().GetItemCount(), 5);
  ClickTick(Listed(QStringLiteral("city")));
  AddNameFilter();
  AddFilter(4, 3, QStringLiteral("2024-01-01"));  // since > 2024-01-01
  AddSort(2, true);  // qty, descending
  Arrange({Listed(QStringLiteral("name")), Listed(QStringLiteral("qty")), Listed(QStringLiteral("id"))});
  testsupport::MessageBoxRecorder::Global().Clear();
  Find<QAbstractButton>("1067")->click();
  EXPECT_EQ(Find<QLabel>("1081")->text(), QStringLiteral("Number of Records : 2")) << qPrintable(BoxTexts().join(u'\n'));
  EXPECT_EQ(BoxTexts(), QStringList());
  m_wizard->PressFinish();
  ASSERT_EQ(m_wizard->result(), CWizardSheet::kFinishResult) << qPrintable(BoxTexts().join(u'\n'));
  const QList<QStringList> rows = ProfileRows(QStringLiteral("Items"));
  ASSERT_EQ(rows.size(), 1);
  const int32_t profileId = rows[0][0].toInt();
  EXPECT_EQ(rows[0][1], DbType());
  EXPECT_EQ(rows[0][2],
            QStringLiteral("Select %1, %2, %3 from %4 Where %1 <> 'O''Brien' AND %5 > '2024-01-01' Order By %2 DESC")
                .arg(Listed(QStringLiteral("name")), Listed(QStringLiteral("qty")), Listed(QStringLiteral("id")),
                     TablePart(), Listed(QStringLiteral("since"))));
  EXPECT_EQ(rows[0][3], QStringLiteral("MainMemory"));
  EXPECT_EQ(rows[0][4], QStringLiteral("0"));
  EXPECT_EQ(rows[0][5], QStringLiteral("0"));
  EXPECT_EQ(rows[0][6], QStringLiteral("2#0#4#name#2#<>#10#'O''Brien'#AND#5#since#1#>#12#'2024-01-01'#"));
  EXPECT_TRUE(rows[0][7].contains(QStringLiteral("#qty#"))) << qPrintable(rows[0][7]);
  EXPECT_EQ(Rows(QStringLiteral("Select UserID, StatusFlag From UserProfileStatus Where ProfileID = %1").arg(profileId)),
            (QList<QStringList>{{QStringLiteral("user01"), QStringLiteral("A")}}));
  EXPECT_EQ(RecordIndex(profileId), DWORD{1});
  const ProfileRecord stored = m_wizard->GetProfileRecord();
  m_wizard.reset();

  // Edited before the sync program's first turn: the device gets the profile once, as edited.
  ApplyUnchangedEdit(stored, rows[0]);
  if (HasFatalFailure()) return;
  EXPECT_EQ(Rows(QStringLiteral("Select UserID, StatusFlag From UserProfileStatus Where ProfileID = %1 "
                                "Order By StatusFlag")
                     .arg(profileId)),
            (QList<QStringList>{{QStringLiteral("user01"), QStringLiteral("A")},
                                {QStringLiteral("user01"), QStringLiteral("D")}}));
  EXPECT_EQ(RecordIndex(profileId), DWORD{1});
  StartSyncProgram();
  const QStringList expected = {QStringLiteral("Birch:9:3"), QStringLiteral("Alder:5:1")};
  ExpectDelivered(profileId, 1, expected);

  // Edited again while the sync program runs: the device's copy is replaced, not doubled.
  ApplyUnchangedEdit(stored, rows[0]);
  if (HasFatalFailure()) return;
  ExpectDelivered(profileId, 2, expected);
}

INSTANTIATE_TEST_SUITE_P(Engines, TablePageEndToEnd, ::testing::ValuesIn(odbctest::AllEngines()),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });
