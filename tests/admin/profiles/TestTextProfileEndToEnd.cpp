// Profiles over sources the text driver reads with a header row (a folder of comma-separated
// text, a .csv file, and a workbook exported sheet by sheet) made through the real wizard, read
// by the form designer, sent by the running sync program to the web-service double's device,
// then opened by Profile Manager > Edit, applied unchanged and sent again.
#include "admin/forms/DesignerProfile.h"
#include "admin/profiles/ProfileManagerActions.h"
#include "admin/profiles/ProfileManagerDlg.h"
#include "shared/WorkbookFolder.h"
#include "tests/admin/profiles/TablePageSyncFixture.h"
#include "tests/support/XlsxFixture.h"

#include <QFileInfo>

namespace {

struct TextSource {
  const char* profile;
  const char* file;  // under the machine root's "sources" folder
  const char* table;  // as the table page lists it
  const char* dbType;
  bool workbook;
};

const TextSource kSources[] = {
    {"Stock", "text/stock.txt", "stock.txt", "4", false},
    {"Sales", "csv/sales.csv", "sales.csv", "5", false},
    {"Orders", "book/orders.xlsx", "Orders", "4", true},
};

const QStringList kHeader = {QStringLiteral("Name"), QStringLiteral("Qty")};
const QStringList kDeviceRows = {QStringLiteral("Alder:5"), QStringLiteral("Birch:9")};

class TextProfileEndToEnd : public TablePageSyncTest {
 protected:
  static QString PathOf(const TextSource& source) {
    return testsupport::CurrentMachineRoot() + QStringLiteral("/sources/") + QString::fromLatin1(source.file);
  }
  static QString FolderOf(const TextSource& source) { return QFileInfo(PathOf(source)).path() + u'/'; }

  static void WriteSource(const TextSource& source) {
    const QString path = PathOf(source);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    if (!source.workbook) {
      QFile text(path);
      ASSERT_TRUE(text.open(QIODevice::WriteOnly));
      text.write("Name,Qty\r\nAlder,5\r\nBirch,9\r\n");
      return;
    }
    testsupport::XlsxFixture book(path);
    lxw_worksheet* orders = book.AddSheet("Orders");
    worksheet_write_string(orders, 0, 0, "Name", nullptr);
    worksheet_write_string(orders, 0, 1, "Qty", nullptr);
    worksheet_write_string(orders, 1, 0, "Alder", nullptr);
    worksheet_write_number(orders, 1, 1, 5, nullptr);
    worksheet_write_string(orders, 2, 0, "Birch", nullptr);
    worksheet_write_number(orders, 2, 1, 9, nullptr);
    ASSERT_TRUE(book.Close());
  }

  // Browse, "Use first row as a field header" for a workbook, every column of the table, Finish.
  void CreateProfile(const TextSource& source) {
    const QString path = PathOf(source);
    platform::SetFileOpenChooser([path](const platform::FileOpenRequest&) { return path; });
    OpenNewWizard();
    {
      PageModalPlayer player({[](QDialog* dialog) {
        Click(dialog, "1072");
        Click(dialog, "1");
      }});
      QTest::mouseClick(Child<QAbstractButton>(m_wizard->m_DatabaseConnectionPage, "1056"), Qt::LeftButton);
    }
    EnterTablePage();
    Find<QLineEdit>("1050")->setText(QString::fromLatin1(source.profile));
    ChooseTable(QString::fromLatin1(source.table));
    testsupport::MessageBoxRecorder::Global().Clear();
    m_wizard->PressFinish();
    ASSERT_EQ(m_wizard->result(), CWizardSheet::kFinishResult) << qPrintable(BoxTexts().join(u'\n'));
    m_wizard.reset();
  }

  // ProfileID, DBType, DB_DSN, Path, tempPath, Query.
  QStringList StoredFields(const TextSource& source) {
    const QList<QStringList> rows = Rows(QStringLiteral("Select ProfileID, DBType, DB_DSN, Path, tempPath, Query From "
                                                        "ProfileInfo Where DBInfo = '%1'")
                                             .arg(QString::fromLatin1(source.profile)));
    EXPECT_EQ(rows.size(), 1);
    return rows.value(0);
  }

  bool Editable(const QString& name) {
    ProfileRecord record;
    return EditProfileRefusal(m_app->GetSettingsConnection(), name, &record).isEmpty();
  }

  // Edit in the Profile Manager: the tables and columns its page lists, then Apply with Yes to
  // the question.
  struct Listed {
    QStringList tables;
    QStringList columns;
  };
  Listed EditAndApply(CProfileManagerDlg& manager, const QString& name) {
    CColoredListCtrl& list = *manager.GetProfileList();
    for (int row = 0; row < list.GetItemCount(); ++row) {
      if (list.GetItemText(row, 0) == name) list.SetSelectionMark(row);
    }
    Listed listed;
    PageModalPlayer player({[&listed](QDialog* dialog) {
      auto* wizard = qobject_cast<CNewProfileWizard*>(dialog);
      const CProfileBuildQueryPage& page = *wizard->GetBuildQueryPage();
      for (int row = 0; row < page.GetTableList()->count(); ++row) listed.tables << page.GetTableList()->item(row)->text();
      const CColoredListCtrl& columns = *page.GetColumnList();
      for (int row = 0; row < columns.GetItemCount(); ++row) listed.columns << columns.GetItemText(row, 0);
      testsupport::MessageBoxRecorder::Global().ScriptAnswers({platform::IDYES});
      wizard->PressFinish();
    }});
    testsupport::MessageBoxRecorder::Global().Clear();
    Child<QAbstractButton>(&manager, "1029")->click();
    return listed;
  }
};

}  // namespace

TEST_F(TextProfileEndToEnd, HeaderRowSourcesAreStoredEditedAndReachTheDevice) {
  const QString exportFolder = WorkbookTempFolder() + u'/';
  QList<QStringList> stored;
  for (const TextSource& source : kSources) {
    SCOPED_TRACE(source.file);
    WriteSource(source);
    CreateProfile(source);
    if (HasFatalFailure()) return;
    stored << StoredFields(source);
    const QString folder = FolderOf(source);
    EXPECT_EQ(stored.last().mid(1, 4),
              QStringList({QString::fromLatin1(source.dbType), QFileInfo(PathOf(source)).fileName(), folder,
                           source.workbook ? exportFolder : folder}));
    DesignerProfile designer;
    ASSERT_EQ(LoadProfileForDesigner(m_app->GetSettingsConnection(), QString::fromLatin1(source.profile), &designer),
              1);
    EXPECT_EQ(designer.ColumnNames, kHeader);
  }

  StartSyncProgram();
  for (const QStringList& fields : stored) ExpectDelivered(fields[0].toInt(), 1, kDeviceRows);

  CProfileManagerDlg manager(*m_app);
  manager.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&manager));
  for (qsizetype i = 0; i < stored.size(); ++i) {
    const TextSource& source = kSources[i];
    SCOPED_TRACE(source.file);
    const QString name = QString::fromLatin1(source.profile);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Editable(name); }, kGenerousBoundMs));
    const Listed listed = EditAndApply(manager, name);
    EXPECT_EQ(listed.tables, QStringList(QString::fromLatin1(source.table))) << "the sync program's exports are not sheets";
    EXPECT_EQ(listed.columns, QStringList({QStringLiteral("`Name`"), QStringLiteral("`Qty`")}))
        << qPrintable(BoxTexts().join(u'\n'));
    EXPECT_EQ(StoredFields(source), stored[i]) << "an unchanged edit stores the same texts under the same number";
    ExpectDelivered(stored[i][0].toInt(), 2, kDeviceRows);
  }
}
