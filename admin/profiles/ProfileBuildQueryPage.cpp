#include "admin/profiles/ProfileBuildQueryPage.h"

#include "admin/forms/FormLayoutQueries.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/DBConnManager.h"
#include "admin/foundation/FormQueries.h"
#include "admin/foundation/OdbcUtilities.h"
#include "admin/foundation/ProfileInfoRows.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/foundation/ProfileQueryText.h"
#include "admin/foundation/SqlTypes.h"
#include "admin/profiles/ArrangeColumnsDlg.h"
#include "admin/profiles/DroppedEntriesNotice.h"
#include "admin/profiles/FilterSortDlg.h"
#include "admin/profiles/FilterSortText.h"
#include "admin/profiles/PopupDlg.h"
#include "admin/profiles/ProfileDraft.h"
#include "admin/profiles/ProfileNameCheck.h"
#include "admin/profiles/ProfilePageLook.h"
#include "admin/profiles/ProfileStore.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/WizardSheet.h"
#include "platform/odbc/OdbcConfig.h"
#include "platform/widgets/MessageBox.h"
#include "platform/widgets/WaitCursor.h"
#include "shared/data/SourceKinds.h"
#include "shared/odbc/OdbcConnect.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

constexpr int kSchemaRole = Qt::UserRole;
constexpr int kTypeRole = Qt::UserRole + 1;
constexpr int kPreviewHeight = 220;
const QString kPrimaryKey = QStringLiteral("Primary Key");
const QString kShowPreview = QStringLiteral("Show Preview");
const QString kHidePreview = QStringLiteral("Hide Preview");
const QString kLookupRefusal = QStringLiteral(
    "The Column of Current profile has been assigned to form in Form Manager as Lookup Column. You can not select "
    "another Table/Views/Stored procedure untll you remove the column as Lookup Column from form First.");
const QString kFormsRefusal = QStringLiteral(
    "Current profile has been assigned to form in Form Manager. You can not select another Table/Views/Stored "
    "procedure untll you delete form assigned to this profile.");
const QString kEmptyRecords = QStringLiteral(
    "It seems that your selected table/file has some empty records, please delete those records and try again.");
const QString kViewQuestion = QStringLiteral(
    "You have selected \"View/Query\" for Profile. Profile created for \"View/Query\" does not allow to change in "
    "database,\r\nSo you will not have Add/Edit/Delete Record option on Device. \r\n\nDo you want to continue to "
    "Create Profile ?");

void Log(const QString& text) { WriteAppLog(-1, text); }

int Ask(QWidget* parent, const QString& text, unsigned type) {
  return platform::MessageBox(parent, text, ProgramTitle(), type);
}

void Inform(QWidget* parent, const QString& text) {
  Ask(parent, text, platform::MB_OK | platform::MB_ICONINFORMATION);
}

admin::CDatabseConnection* SettingsConnection() {
  CTarnwickApp* app = GetTarnwickApp();
  return app != nullptr ? &app->GetSettingsConnection() : nullptr;
}

// A workbook's sheet by the name of its export file "New_<sheet>.txt"; empty for any other file
// of the export folder, such as the sync program's own exports "<sheet>.txt".
QString SheetOfExportFile(const QString& fileName) {
  const QString prefix = QStringLiteral("New_");
  const QString suffix = QStringLiteral(".txt");
  if (!fileName.startsWith(prefix) || !fileName.endsWith(suffix, Qt::CaseInsensitive)) return {};
  return fileName.mid(prefix.size(), fileName.size() - prefix.size() - suffix.size());
}

bool HasRowWithoutValues(admin::CDBHandler& rows) {
  const int16_t columns = rows.GetColumnCount();
  for (int32_t row = 0; row < rows.GetRowCount(); ++row) {
    if (!rows.MoveToRow(row)) break;
    bool empty = true;
    for (int16_t column = 0; column < columns && empty; ++column) empty = rows.GetFieldValue(row, column).isEmpty();
    if (empty && columns > 0) return true;
  }
  return false;
}

}  // namespace

CProfileBuildQueryPage::CProfileBuildQueryPage(CWizardSheet* wizard, ProfileDraft& draft)
    : CWizardSheetPage(wizard), m_pWizard(wizard), m_draft(draft), m_pPopup(new CPopupDlg(this)) {
  resize(kProfilePageSize);
  CreateControls();
  m_rebuildTimer.setObjectName(QString::number(kRebuildTimerId));
  m_rebuildTimer.setSingleShot(true);
  m_rebuildTimer.setInterval(kRebuildDelayMs);
  connect(&m_rebuildTimer, &QTimer::timeout, this, &CProfileBuildQueryPage::RebuildFromTimer);
  connect(m_pPopup, &CPopupDlg::Command, this, [this](int) { ClosePreview(); });
  m_pPopup->installEventFilter(this);
  m_pWizard->installEventFilter(this);
}

CProfileBuildQueryPage::~CProfileBuildQueryPage() = default;

void CProfileBuildQueryPage::CreateControls() {
  auto* nameLabel = new QLabel(QStringLiteral("Profile Name :"), this);
  nameLabel->setGeometry(10, 6, 90, 22);
  m_pNameEdit = new QLineEdit(this);
  m_pNameEdit->setObjectName(QStringLiteral("1050"));
  m_pNameEdit->setGeometry(100, 6, 200, 22);
  auto* listType = new QGroupBox(QStringLiteral("Select List Type"), this);
  listType->setGeometry(310, 0, 180, 34);
  m_pTables = new QRadioButton(QStringLiteral("Tables"), this);
  m_pTables->setObjectName(QStringLiteral("1268"));
  m_pTables->setGeometry(318, 14, 64, 18);
  m_pViews = new QRadioButton(QStringLiteral("Views / Queries"), this);
  m_pViews->setObjectName(QStringLiteral("1269"));
  m_pViews->setGeometry(384, 14, 104, 18);
  auto* listTypes = new QButtonGroup(this);
  listTypes->addButton(m_pTables);
  listTypes->addButton(m_pViews);
  m_pTables->setChecked(true);
  m_pTableList = new QListWidget(this);
  m_pTableList->setObjectName(QStringLiteral("1052"));
  m_pTableList->setGeometry(10, 38, 140, 150);
  auto* columnsLabel = new QLabel(QStringLiteral("Select Column(s) :"), this);
  columnsLabel->setGeometry(160, 38, 120, 18);
  m_pSelectAll = new QCheckBox(QStringLiteral("Select All"), this);
  m_pSelectAll->setObjectName(QStringLiteral("1218"));
  m_pSelectAll->setGeometry(400, 38, 90, 18);
  m_pColumnList = new CColoredListCtrl(this);
  m_pColumnList->setObjectName(QStringLiteral("1062"));
  m_pColumnList->setGeometry(160, 58, 330, 130);
  const int third = (m_pColumnList->width() - 2 * m_pColumnList->frameWidth()) / 3;
  m_pColumnList->InsertColumn(0, QStringLiteral("Column Names"), third);
  m_pColumnList->InsertColumn(1, QStringLiteral("Datatypes"), third);
  m_pColumnList->InsertColumn(2, kPrimaryKey, third);
  if (const CTarnwickApp* app = GetTarnwickApp()) m_pColumnList->horizontalHeader()->setFont(app->GetBoldFont());
  m_pColumnList->viewport()->installEventFilter(this);
  auto* queryLabel = new QLabel(QStringLiteral("SQL Query :"), this);
  queryLabel->setGeometry(10, 192, 90, 18);
  m_pQueryEdit = new QPlainTextEdit(this);
  m_pQueryEdit->setObjectName(QStringLiteral("1064"));
  m_pQueryEdit->setReadOnly(true);
  m_pQueryEdit->setGeometry(10, 210, 480, 44);
  m_pFilter = new CBMButton(QStringLiteral("Filter"), 1065, QRect(10, 260, 80, 24), this);
  m_pSort = new CBMButton(QStringLiteral("Sort"), 1066, QRect(96, 260, 80, 24), this);
  m_pArrange = new CBMButton(QStringLiteral("Arrange Columns"), 1153, QRect(182, 260, 120, 24), this);
  m_pPreviewButton = new CBMButton(kShowPreview, 1067, QRect(308, 260, 100, 24), this);
  m_pRecordCount = new QLabel(this);
  m_pRecordCount->setObjectName(QStringLiteral("1081"));
  m_pRecordCount->setGeometry(300, 192, 190, 18);
  CreateLocationGroup();
  connect(m_pTables, &QRadioButton::clicked, this, &CProfileBuildQueryPage::OnTablesListType);
  connect(m_pViews, &QRadioButton::clicked, this, &CProfileBuildQueryPage::OnViewsListType);
  connect(m_pTableList, &QListWidget::currentRowChanged, this, &CProfileBuildQueryPage::OnTableSelected);
  connect(m_pColumnList, &QTableWidget::itemChanged, this, &CProfileBuildQueryPage::OnColumnTickChanged);
  connect(m_pSelectAll, &QCheckBox::clicked, this, &CProfileBuildQueryPage::OnSelectAll);
  connect(m_pFilter, &QPushButton::clicked, this, &CProfileBuildQueryPage::OnFilter);
  connect(m_pSort, &QPushButton::clicked, this, &CProfileBuildQueryPage::OnSort);
  connect(m_pArrange, &QPushButton::clicked, this, &CProfileBuildQueryPage::OnArrangeColumns);
  connect(m_pPreviewButton, &QPushButton::clicked, this, &CProfileBuildQueryPage::OnPreview);
}

// Kept for the template's ids; the profile always goes to the device's main memory.
void CProfileBuildQueryPage::CreateLocationGroup() {
  auto* group = new QGroupBox(QStringLiteral("Select Location for Database on BlackBerry"), this);
  auto* mainMemory = new QRadioButton(QStringLiteral("Main Memory"), this);
  mainMemory->setObjectName(QStringLiteral("1261"));
  auto* sdCard = new QRadioButton(QStringLiteral("SD Card"), this);
  sdCard->setObjectName(QStringLiteral("1191"));
  auto* unnamed1 = new QPushButton(this);
  unnamed1->setObjectName(QStringLiteral("1203"));
  auto* unnamed2 = new QPushButton(this);
  unnamed2->setObjectName(QStringLiteral("1219"));
  for (QWidget* hidden : std::initializer_list<QWidget*>{group, mainMemory, sdCard, unnamed1, unnamed2}) hidden->hide();
}

CDBConnManager& CProfileBuildQueryPage::ConnManager() const {
  return m_draft.GetConnManager();
}

admin::CDatabseConnection& CProfileBuildQueryPage::Source() const { return ConnManager().GetConnection(); }

bool CProfileBuildQueryPage::IsWorkbookExport() const { return m_draft.IsExcel(); }

bool CProfileBuildQueryPage::IsExcelAutomation() const { return ConnManager().IsWorkbook(); }

SelectSource CProfileBuildQueryPage::SourceFacts() const {
  SelectSource source;
  source.productName = Source().GetProductName();
  source.sourceKind = Source().GetSourceKind();
  // By the name's driver: an edit connects without the data-source page's choice.
  source.mySql = source.sourceKind == sourcekind::kNamedDataSource &&
                 admin::CDatabseConnection::IsMySqlDataSource(m_draft.GetProfileRecord().DB_DSN);
  source.workbookExport = IsWorkbookExport();
  return source;
}

QString CProfileBuildQueryPage::GetQueryText() const { return m_pQueryEdit->toPlainText(); }

// ---- entering and leaving the page ----

bool CProfileBuildQueryPage::OnSetActive() {
  Log(QStringLiteral("<CProfileBuildQueryPage> On SetActive Page "));
  EnterLastProfilePage(*m_pWizard, m_draft);
  if (!m_draft.IsEditMode()) ResetLists();
  m_pNameEdit->clear();
  m_pNameEdit->setEnabled(true);
  m_pNameEdit->setFocus();
  m_pTableList->setEnabled(true);
  m_pColumnList->setEnabled(true);
  EnableQueryButtons(false);
  if (m_draft.IsEditMode()) {
    RestoreEditedProfile();
  } else {
    m_strEditedName.clear();
    m_forms = {};
    SetListType(kTablesListType);
  }
  return true;
}

int CProfileBuildQueryPage::OnWizardBack() {
  ClosePreview();
  m_pRecordCount->clear();
  return kMoveOn;
}

void CProfileBuildQueryPage::OnHelp() { ShowHelpBalloon(kHelpTopic, this, BalloonAnchor::WizardPage); }

void CProfileBuildQueryPage::ResetLists() {
  m_rebuildTimer.stop();
  m_columns.clear();
  m_lists = {};
  m_arranged.clear();
  m_selectedColumns.clear();
  m_positions.clear();
  m_nChosenRow = -1;
  {
    const QSignalBlocker blocker(m_pColumnList);
    m_pColumnList->DeleteAllItems();
  }
  m_pQueryEdit->clear();
  m_pRecordCount->clear();
  ClosePreview();
}

void CProfileBuildQueryPage::EnableQueryButtons(bool enabled) {
  const bool filterSort = enabled && !IsExcelAutomation();
  m_pFilter->setEnabled(filterSort);
  m_pSort->setEnabled(filterSort);
  m_pPreviewButton->setEnabled(enabled);
  m_pArrange->setEnabled(enabled && !IsExcelAutomation() && !IsWorkbookExport());
}

// ---- list type and tables ----

void CProfileBuildQueryPage::OnTablesListType() {
  Log(QStringLiteral("List Type : Tables"));
  ChangeListType(kTablesListType);
}

void CProfileBuildQueryPage::OnViewsListType() {
  Log(QStringLiteral("List Type : Views/Queries"));
  ChangeListType(kViewsListType);
}

bool CProfileBuildQueryPage::ChangeListType(int listType) {
  if (listType == m_nListType) return true;
  if (m_draft.IsEditMode()) {
    const admin::CDatabseConnection* settings = SettingsConnection();
    const int32_t profileId = m_draft.GetProfileRecord().ProfileID;
    const QString refusal = !m_forms.lookup.isEmpty() ? kLookupRefusal
                            : settings != nullptr && ProfileHasForms(*settings, profileId) == 1 ? kFormsRefusal
                                                                                               : QString();
    if (!refusal.isEmpty()) {
      Ask(this, refusal, platform::MB_OK);
      const QSignalBlocker tables(m_pTables);
      const QSignalBlocker views(m_pViews);
      (m_nListType == kTablesListType ? m_pTables : m_pViews)->setChecked(true);
      return false;
    }
  }
  SetListType(listType);
  return true;
}

void CProfileBuildQueryPage::SetListType(int listType) {
  m_nListType = listType;
  {
    const QSignalBlocker tables(m_pTables);
    const QSignalBlocker views(m_pViews);
    (listType == kTablesListType ? m_pTables : m_pViews)->setChecked(true);
  }
  ResetLists();
  EnableQueryButtons(false);
  FillTableList();
}

void CProfileBuildQueryPage::FillTableList() {
  const QSignalBlocker blocker(m_pTableList);
  m_pTableList->clear();
  QStringList names;
  QStringList schemas;
  QStringList types;
  const int request = m_nListType == kTablesListType ? 1 : 2;
  const int count = IsExcelAutomation() ? ConnManager().GetWorksheetList(&names, &schemas, &types)
                                        : Source().GetTableList(&names, &schemas, &types, request);
  for (qsizetype i = 0; i < names.size(); ++i) {
    const QString listed = IsWorkbookExport() ? SheetOfExportFile(names.at(i)) : names.at(i);
    if (listed.isEmpty()) continue;
    auto* item = new QListWidgetItem(listed, m_pTableList);
    item->setData(kSchemaRole, schemas.value(i));
    item->setData(kTypeRole, types.value(i));
  }
  Log(m_nListType == kTablesListType
          ? QStringLiteral("Number of Tables in Selected Database : %1.").arg(count)
          : QStringLiteral("Number of Views/Queries in Selected Database : %1.").arg(count));
  m_pTableList->setCurrentRow(-1);
}

QString CProfileBuildQueryPage::ChosenTable() const {
  const QListWidgetItem* item = m_pTableList->item(m_nChosenRow);
  return item != nullptr ? item->text() : QString();
}

QString CProfileBuildQueryPage::ChosenSchema() const {
  const QListWidgetItem* item = m_pTableList->item(m_nChosenRow);
  return item != nullptr ? item->data(kSchemaRole).toString() : QString();
}

QString CProfileBuildQueryPage::ChosenTableType() const {
  const QListWidgetItem* item = m_pTableList->item(m_nChosenRow);
  return item != nullptr ? item->data(kTypeRole).toString() : QString();
}

void CProfileBuildQueryPage::SelectTableRow(int row) {
  const QSignalBlocker blocker(m_pTableList);
  m_pTableList->setCurrentRow(row);
}

// The row of the table the edited profile's stored query reads; -1 when it is not listed.
int CProfileBuildQueryPage::StoredTableRow() const {
  const QString& query = m_draft.GetProfileRecord().Query;
  // A worksheet profile stores its sheet's name alone.
  const QualifiedTableName stored =
      IsExcelAutomation() ? QualifiedTableName{QString(), query} : ReadStoredTable(SourceFacts(), query);
  for (int row = 0; row < m_pTableList->count(); ++row) {
    const QListWidgetItem* item = m_pTableList->item(row);
    if (item->text() != stored.table) continue;
    if (stored.schema.isEmpty() || item->data(kSchemaRole).toString() == stored.schema) return row;
  }
  return -1;
}

bool CProfileBuildQueryPage::MayLeaveChosenTable(int newRow) {
  if (m_draft.IsEditMode() && newRow != StoredTableRow()) {
    const admin::CDatabseConnection* settings = SettingsConnection();
    if (!m_forms.lookup.isEmpty()) {
      Ask(this, kLookupRefusal, platform::MB_OK);
      return false;
    }
    if (settings != nullptr && ProfileHasForms(*settings, m_draft.GetProfileRecord().ProfileID) == 1) {
      Ask(this, kFormsRefusal, platform::MB_OK);
      return false;
    }
  }
  if (!m_lists.sorts.isEmpty() || (!m_lists.filters.isEmpty() && !IsExcelAutomation())) {
    if (Ask(this, QStringLiteral("This action will remove current Filters and Sort Orders\n\nDo you want to continue?"),
            platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES) {
      return false;
    }
    m_lists.filters.clear();
    m_lists.filterValues.clear();
    m_lists.sorts.clear();
  }
  return true;
}

void CProfileBuildQueryPage::OnTableSelected() {
  const int row = m_pTableList->currentRow();
  if (row < 0 || row == m_nChosenRow) return;
  Log(QStringLiteral("Database Type : %1.").arg(Source().GetSourceKind()));
  if (!MayLeaveChosenTable(row)) {
    SelectTableRow(m_nChosenRow);
    return;
  }
  m_nChosenRow = row;
  m_arranged.clear();
  ListColumns();
  if (m_columns.isEmpty()) Ask(this, QStringLiteral("Exception : In Select Table."), platform::MB_OK);
  {
    const QSignalBlocker blocker(m_pSelectAll);
    m_pSelectAll->setChecked(true);
  }
  ClosePreview();
  m_pRecordCount->clear();
  m_pColumnList->setEnabled(true);
  BuildSelectQuery();
}

// ---- columns ----

void CProfileBuildQueryPage::ListColumns() {
  platform::WaitCursor wait;
  const SelectSource source = SourceFacts();
  const QString table = ChosenTable();
  m_columns = IsExcelAutomation() ? ListWorksheetColumns(source, table) : ListTableColumns(Source(), source, table);
  Log(QStringLiteral("Table %1 is selected.").arg(table));
  Log(QStringLiteral("No. of Columns : %1.").arg(m_columns.size()));
  const QString catalogName = CatalogTableName(source, table);
  m_lists.columns.clear();
  m_lists.catalogueTypeCodes.clear();
  for (const ListedColumn& column : m_columns) {
    m_lists.columns.append(column.listedName);
    m_lists.catalogueTypeCodes.append(
        IsExcelAutomation() ? 0 : Source().GetTypeInfoList(catalogName, BareColumnName(column.listedName)));
  }
  FillColumnRows();
}

// A worksheet read through the workbook lists the names of its header row.
QList<ListedColumn> CProfileBuildQueryPage::ListWorksheetColumns(const SelectSource& source, const QString& sheet) {
  QList<ListedColumn> columns;
  if (ConnManager().FetchContents(nullptr, sheet) != 1) return columns;
  admin::CDBHandler* rows = ConnManager().GetActiveHandler();
  for (int16_t column = 0; column < rows->GetColumnCount(); ++column) {
    const int16_t code = rows->GetColumnType(column);
    const QString typeName = GetSqlTypeName(code);
    columns.append({ListedColumnName(source, rows->GetColumnName(column)), typeName, false, IsTickableType(typeName),
                    code});
  }
  return columns;
}

void CProfileBuildQueryPage::FillColumnRows() {
  const QSignalBlocker blocker(m_pColumnList);
  m_pColumnList->DeleteAllItems();
  for (int i = 0; i < m_columns.size(); ++i) {
    const ListedColumn& column = m_columns.at(i);
    const int row = m_pColumnList->InsertItem(i, column.listedName);
    m_pColumnList->SetItemText(row, 1, column.typeName);
    m_pColumnList->SetItemText(row, 2, column.primaryKey ? kPrimaryKey : QString());
    m_pColumnList->SetCheck(row, column.ticked);
  }
}

QStringList CProfileBuildQueryPage::ListedNames() const {
  QStringList names;
  for (const ListedColumn& column : m_columns) names.append(column.listedName);
  return names;
}

QList<bool> CProfileBuildQueryPage::Ticks() const {
  QList<bool> ticks;
  for (int row = 0; row < m_pColumnList->GetItemCount(); ++row) ticks.append(m_pColumnList->GetCheck(row));
  return ticks;
}

void CProfileBuildQueryPage::SetTicks(const QList<bool>& ticks) {
  const QSignalBlocker blocker(m_pColumnList);
  for (int row = 0; row < ticks.size() && row < m_columns.size(); ++row) {
    m_columns[row].ticked = ticks.at(row);
    m_pColumnList->SetCheck(row, ticks.at(row));
  }
}

ColumnTickFacts CProfileBuildQueryPage::TickFacts(int row) const {
  const ListedColumn& column = m_columns.at(row);
  bool sorted = false;
  for (const SortEntry& sort : m_lists.sorts) sorted = sorted || sort.column == row;
  return {column.listedName, column.typeName, column.primaryKey, sorted};
}

// The one place that decides whether a tick may change; every refusal is shown here.
bool CProfileBuildQueryPage::AcceptTick(int row, bool ticking) {
  const ColumnTickFacts facts = TickFacts(row);
  const QString question = PrimaryKeyUntickQuestion(facts, ticking);
  if (!question.isEmpty() && Ask(this, question, platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
    return false;
  const QString refusal = ColumnTickRefusal(facts, ticking, m_forms);
  if (refusal.isEmpty()) return true;
  Inform(this, refusal);
  return false;
}

void CProfileBuildQueryPage::OnColumnTickChanged(QTableWidgetItem* item) {
  if (item == nullptr || item->column() != 0) return;
  const int row = item->row();
  if (row < 0 || row >= m_columns.size()) return;
  const bool ticking = item->checkState() == Qt::Checked;
  if (ticking == m_columns.at(row).ticked) return;
  if (!AcceptTick(row, ticking)) {
    const QSignalBlocker blocker(m_pColumnList);
    m_pColumnList->SetCheck(row, !ticking);
    return;
  }
  m_columns[row].ticked = ticking;
  ScheduleRebuild();
}

bool CProfileBuildQueryPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pColumnList->viewport()) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint point = mouse->position().toPoint();
      const int row = m_pColumnList->rowAt(point.y());
      const int left = m_pColumnList->columnViewportPosition(0);
      if (mouse->button() == Qt::LeftButton && row >= 0 && point.x() - left < kCheckAreaWidth) {
        if (type == QEvent::MouseButtonRelease) m_pColumnList->SetCheck(row, !m_pColumnList->GetCheck(row));
        return true;
      }
    }
  } else if (watched == m_pWizard && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
    if (m_pPopup->isVisible()) PlacePreview();
  } else if (watched == m_pWizard && event->type() == QEvent::Hide) {
    ClosePreview();
  } else if (watched == m_pPopup && event->type() == QEvent::Hide && m_bPreviewShown) {
    m_bPreviewShown = false;
    m_pPreviewButton->setText(kShowPreview);
  }
  return CWizardSheetPage::eventFilter(watched, event);
}

void CProfileBuildQueryPage::OnSelectAll() {
  QStringList types;
  QList<bool> keys;
  for (const ListedColumn& column : m_columns) {
    types.append(column.typeName);
    keys.append(column.primaryKey);
  }
  SetTicks(SelectAllTicks(Ticks(), types, keys, m_pSelectAll->isChecked()));
  ScheduleRebuild();
}

void CProfileBuildQueryPage::ScheduleRebuild() { m_rebuildTimer.start(); }

void CProfileBuildQueryPage::RebuildFromTimer() {
  m_rebuildTimer.stop();
  BuildSelectQuery();
  ClosePreview();
}

// ---- the SELECT text ----

void CProfileBuildQueryPage::BuildSelectQuery() {
  const QStringList listed = ListedNames();
  const QList<bool> ticks = Ticks();
  m_positions.clear();
  int position = 0;
  for (qsizetype i = 0; i < listed.size(); ++i)
    m_positions.insert(listed.at(i), ticks.value(i) ? QString::number(++position) : QStringLiteral("0"));
  m_selectedColumns = SelectedColumns(listed, ticks, m_arranged);
  QString query;
  if (!m_selectedColumns.isEmpty() && IsExcelAutomation()) {
    query = ChosenTable();  // the worksheet is read whole
  } else if (!m_selectedColumns.isEmpty()) {
    const QString select = ::BuildSelectQuery(SourceFacts(), m_selectedColumns, ChosenSchema(), ChosenTable());
    query = BuildWhereOrderBy(select, m_lists, &m_draft.GetProfileRecord());
  }
  WriteQuery(query);
}

void CProfileBuildQueryPage::WriteQuery(const QString& query) {
  Log(QStringLiteral("Change SQL Query Start."));
  Log(QStringLiteral("SQL Query : %1").arg(query));
  m_pQueryEdit->setPlainText(query);
  m_pRecordCount->clear();  // it counted the rows of the query this one replaces
  Log(QStringLiteral("Change SQL Query End."));
  m_pWizard->GetButton(CWizardSheet::Button::Apply)->setEnabled(true);
  EnableQueryButtons(!query.isEmpty());
  if (IsExcelAutomation()) m_pPreviewButton->setEnabled(true);
}

// ---- filters, sorts and arrangement ----

FilterSortSource CProfileBuildQueryPage::FilterSortFacts() const {
  FilterSortSource facts;
  for (const ListedColumn& column : m_columns) facts.columnTypes.append(QString::number(column.typeCode));
  facts.selectedColumns = m_selectedColumns;
  facts.target.databaseKind = Source().GetProductName();
  // The driver that reads the file decides, not its extension: an .mdb file may well be an SQLite
  // database, which takes dates in single quotes.
  const ProfileRecord& record = m_draft.GetProfileRecord();
  facts.target.accessFile =
      platform::IsServedByMdbTools(FileDriverOfKind(Source().GetSourceKind()), record.Path + record.DB_DSN);
  return facts;
}

void CProfileBuildQueryPage::OnFilter() {
  CFilterSortDlg dialog(CFilterSortDlg::kFilterMode, &m_lists, FilterSortFacts(), this);
  if (dialog.exec() == QDialog::Accepted) BuildSelectQuery();
  ClosePreview();
  EnableQueryButtons(!GetQueryText().isEmpty());
}

void CProfileBuildQueryPage::OnSort() {
  CFilterSortDlg dialog(CFilterSortDlg::kSortMode, &m_lists, FilterSortFacts(), this);
  if (dialog.exec() == QDialog::Accepted) BuildSelectQuery();
  ClosePreview();
  EnableQueryButtons(!GetQueryText().isEmpty());
}

void CProfileBuildQueryPage::OnArrangeColumns() {
  ArrangeColumnsInput input;
  for (const ListedColumn& column : m_columns) {
    input.columns.append(column.listedName);
    input.types.append(QString::number(column.typeCode));
    input.primaryKeys.append(column.primaryKey ? kPrimaryKey : QString());
  }
  input.sortColumnsInfo = WriteSortColumnsInfo(m_lists);
  input.formColumns = m_forms.mapped;
  input.lookupColumns = m_forms.lookup;
  const QString query = GetQueryText();
  const QString from = QStringLiteral(" from ");
  const qsizetype at = query.indexOf(from, 0, Qt::CaseInsensitive);
  input.fromText = at < 0 ? QString() : query.mid(at + from.size());
  CArrangeColumnsDlg dialog(input, this);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyArrangement(dialog.GetArrangedColumns().columns);
  ScheduleRebuild();
}

// The arranged columns come first, ticked, in their order; the others follow unticked. Filters
// and sorts name their columns by position, so they move with them.
void CProfileBuildQueryPage::ApplyArrangement(const QStringList& arranged) {
  const QStringList before = ListedNames();
  QList<ListedColumn> reordered;
  QList<int> codes;
  for (const QString& name : arranged) {
    const qsizetype index = before.indexOf(name);
    if (index < 0) continue;
    reordered.append(m_columns.at(index));
    reordered.last().ticked = true;
    codes.append(m_lists.catalogueTypeCodes.value(index));
  }
  for (qsizetype i = 0; i < before.size(); ++i) {
    if (arranged.contains(before.at(i))) continue;
    reordered.append(m_columns.at(i));
    reordered.last().ticked = false;
    codes.append(m_lists.catalogueTypeCodes.value(i));
  }
  m_columns = reordered;
  const QStringList after = ListedNames();
  const auto moved = [&](int16_t column) { return static_cast<int16_t>(after.indexOf(before.value(column))); };
  for (FilterEntry& filter : m_lists.filters) filter.column = moved(filter.column);
  for (SortEntry& sort : m_lists.sorts) sort.column = moved(sort.column);
  m_lists.columns = after;
  m_lists.catalogueTypeCodes = codes;
  m_arranged = arranged;
  FillColumnRows();
}

// ---- preview ----

void CProfileBuildQueryPage::ClosePreview() {
  m_bPreviewShown = false;
  m_pPopup->hide();
  m_pPreviewButton->setText(kShowPreview);
}

void CProfileBuildQueryPage::PlacePreview() {
  const QRect frame = m_pWizard->frameGeometry();
  m_pPopup->setGeometry(frame.left(), frame.bottom() + 1, frame.width(), kPreviewHeight);
}

bool CProfileBuildQueryPage::RunQuery(const QString& query) {
  ClosePreview();
  platform::WaitCursor wait;
  QString error;
  if (ConnManager().FetchContents(&error, IsWorkbookExport() ? QueryOnWorkbookExport(query) : query) == 1) return true;
  Ask(this, error, platform::MB_OK | platform::MB_ICONERROR);
  return false;
}

void CProfileBuildQueryPage::OnPreview() {
  if (m_bPreviewShown) {
    ClosePreview();
    return;
  }
  const QString query = GetQueryText();
  if (query.isEmpty()) {
    Inform(this, QStringLiteral("Please, Enter query or select table from available tables list."));
    return;
  }
  if (!IsExcelAutomation() && !query.trimmed().toUpper().startsWith(QStringLiteral("SELECT"))) {
    Inform(this, QStringLiteral("Please, Enter only SELECT query."));
    return;
  }
  if (!RunQuery(query)) return;
  admin::CDBHandler* rows = ConnManager().GetActiveHandler();
  m_pRecordCount->setText(QStringLiteral("Number of Records : %1").arg(rows->GetRowCount()));
  PlacePreview();
  m_pPopup->Grid().SetHandler(rows);
  m_pPopup->show();
  m_bPreviewShown = true;
  m_pPreviewButton->setText(kHidePreview);
}

// ---- edit mode ----

bool CProfileBuildQueryPage::ReadEditedProfile() {
  const admin::CDatabseConnection* settings = SettingsConnection();
  ProfileRecord& record = m_draft.GetProfileRecord();
  m_forms = {};
  if (settings != nullptr) {
    GetFormMappedColumns(*settings, record.ProfileID, &m_forms.mapped);
    GetLookupColumns(*settings, record.ProfileID, &m_forms.lookup);
  }
  Log(QStringLiteral("<CProfileBuildQueryPage> %1 No of Field of Edited profile is Mapped to the Form.")
          .arg(m_forms.mapped.size()));
  Log(QStringLiteral("<CProfileBuildQueryPage>  %1 no of lookup column of Edited profile are assigned.")
          .arg(m_forms.lookup.size()));
  if (settings == nullptr || !ReadStoredProfile(*settings, record.ProfileID, &record)) {
    const QString text = QStringLiteral("Problem to Get Profile Details.");
    Log(QStringLiteral("<CProfileBuildQueryPage> ") + text);
    Inform(this, text);
    return false;
  }
  return true;
}

void CProfileBuildQueryPage::RestoreEditedProfile() {
  if (!ReadEditedProfile()) return;
  const ProfileRecord& record = m_draft.GetProfileRecord();
  m_strEditedName = record.DBInfo;
  m_pNameEdit->setText(record.DBInfo);
  m_pNameEdit->setFocus();
  m_pQueryEdit->setPlainText(record.Query);
  Log(QStringLiteral("<CProfileBuildQueryPage> The name of Edited profile is %1 ").arg(record.DBInfo));
  Log(QStringLiteral("<CProfileBuildQueryPage> The Query for Edited profile is %1 ").arg(record.Query));
  SetListType(record.ProfileType == 1 ? kViewsListType : kTablesListType);
  if (IsWorkbookExport())
    Log(QStringLiteral("<CProfileBuildQueryPage> The Table Name After Parsing the Query: %1")
            .arg(ReadStoredTable(SourceFacts(), record.Query).table));
  Log(QStringLiteral("<CProfileBuildQueryPage> <OnLbnSelchangeTableList1ForEditProfile> start"));
  Log(QStringLiteral("<CProfileBuildQueryPage> %1 Tables are listed.").arg(m_pTableList->count()));
  if (IsWorkbookExport()) Log(QStringLiteral("<CProfileBuildQueryPage> Database Connection Type is Excel Connection."));
  const int row = StoredTableRow();
  Log(QStringLiteral("<CProfileBuildQueryPage> %1 Table is selected.").arg(row < 0 ? 0 : 1));
  if (row < 0) return;
  SelectTableRow(row);
  m_nChosenRow = row;
  RestoreColumnChoice();
  Log(QStringLiteral("<CProfileBuildQueryPage> <OnLbnSelchangeTableList1ForEditProfile> End"));
  ClosePreview();
}

// Ticks and order come from the stored column part, so an unchanged edit stores the same query.
void CProfileBuildQueryPage::RestoreColumnChoice() {
  Log(QStringLiteral("<CProfileBuildQueryPage> <FillColumnsForEditProfile> start"));
  const ProfileRecord stored = m_draft.GetProfileRecord();
  ListColumns();
  if (!IsExcelAutomation()) {
    const StoredColumnChoice choice = ReadStoredColumnChoice(stored.Query, ListedNames());
    SetTicks(choice.ticked);
    m_arranged = choice.arranged;
  }
  Log(QStringLiteral("<CProfileBuildQueryPage> <FillColumnsForEditProfile> End"));
  BuildSelectQuery();
  Log(QStringLiteral("<CProfileBuildQueryPage> The Query Before Adding Sorts And Filters is : %1").arg(GetQueryText()));
  const QStringList droppedSorts = SetSortColumnValueForEditProfile(stored.SortColumnsInfo, &m_lists);
  const QStringList droppedFilters = SetFilterValueForEditProfile(stored.FiltersInfo, &m_lists);
  ShowDroppedFilterSortEntries(this, droppedSorts, droppedFilters);
  BuildSelectQuery();
}

// ---- Finish ----

bool CProfileBuildQueryPage::ConfirmEditSave() {
  const ProfileRecord& record = m_draft.GetProfileRecord();
  const QString question =
      QStringLiteral("Current profile: %1 has changed. Do you want to save the changes?").arg(m_strEditedName);
  if (Ask(this, question, platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2) != platform::IDYES)
    return false;
  Log(QStringLiteral("Profile %1 with Profile ID %2 is removing for Edit.").arg(m_strEditedName).arg(record.ProfileID));
  const QString refusal = CheckFormColumnsKept(m_forms, ListedNames(), Ticks());
  if (refusal.isEmpty()) return true;
  Inform(this, refusal);
  return false;
}

// Steps 2 to 7 of Finish: the first refusal, or an empty text.
QString CProfileBuildQueryPage::FinishRefusal() const {
  if (!m_draft.IsEditMode() && m_columns.isEmpty() && !IsExcelAutomation())
    return QStringLiteral("Please, Select table/view from available tables/views list.");
  if (!Ticks().contains(true))
    return QStringLiteral("Please, Select table/view/Column from available tables/views/Columns list.");
  const QString query = GetQueryText();
  if (query.isEmpty())
    return QStringLiteral("Please, Enter Query or Select Table/View from available tables/views list.");
  if (!IsExcelAutomation() && !query.startsWith(QStringLiteral("Select")))
    return QStringLiteral("Please, Enter only SELECT query.");
  const admin::CDatabseConnection* settings = SettingsConnection();
  const QString nameRefusal =
      CheckProfileName(m_pNameEdit->text(), ProfilePage::kTable, m_strEditedName, [settings](const QString& name) {
        return settings != nullptr && FindProfileByName(*settings, name) == 1;
      });
  if (!nameRefusal.isEmpty()) return nameRefusal;
  const QStringList names = IsWorkbookExport() ? ListedNames() : m_selectedColumns;
  SelectedColumnsCheck check;
  check.sqlServer = Source().GetProductName().contains(QStringLiteral("SQL Server"));
  check.workbookExport = IsWorkbookExport();
  check.workbookOpen = ConnManager().IsConnected();
  return CheckSelectedColumnNames(names, check);
}

bool CProfileBuildQueryPage::CheckRowsHaveValues() {
  if (!RunQuery(GetQueryText())) return false;
  admin::CDBHandler* rows = ConnManager().GetActiveHandler();
  if (rows == nullptr || !HasRowWithoutValues(*rows)) return true;
  // The worksheet's own refusal ends with a second point.
  Inform(this, IsExcelAutomation() ? kEmptyRecords + u'.' : kEmptyRecords);
  return false;
}

bool CProfileBuildQueryPage::DecideProfileType() {
  m_nProfileType = 0;
  if (ChosenTableType().compare(QStringLiteral("VIEW"), Qt::CaseInsensitive) == 0) {
    if (Ask(this, kViewQuestion, platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2) !=
        platform::IDYES) {
      Log(QStringLiteral("Cancel Profile Creation of View/Query Type"));
      return false;
    }
    Log(QStringLiteral("Continue Profile Creation of View/Query Type"));
    m_nProfileType = 1;
  }
  Log(QStringLiteral("Profile Type : %1.").arg(m_nProfileType));
  return true;
}

bool CProfileBuildQueryPage::OnWizardFinish() {
  if (m_draft.IsEditMode() && !ConfirmEditSave()) return false;
  if (const QString refusal = FinishRefusal(); !refusal.isEmpty()) {
    Inform(this, refusal);
    return false;
  }
  if (!CheckRowsHaveValues() || !DecideProfileType()) return false;
  ClosePreview();
  if (!CreateTableProfile()) return false;
  admin::DeleteTempExcelCopies();
  return true;
}

bool CProfileBuildQueryPage::CreateTableProfile() {
  admin::CDatabseConnection* settings = SettingsConnection();
  CTarnwickApp* app = GetTarnwickApp();
  if (settings == nullptr || app == nullptr) return false;
  ProfileRecord& record = m_draft.GetProfileRecord();
  record.DBInfo = m_pNameEdit->text().trimmed();
  // A workbook read as its exported text files is stored as a text source: every reader of the
  // profile then opens the export folder (tempPath) and knows the workbook by its differing Path.
  if (IsWorkbookExport()) record.DBType = QString::number(sourcekind::kTxt);
  record.Query = GetQueryText();
  record.ProfileType = m_nProfileType;
  record.FiltersInfo = WriteFiltersInfo(m_lists);
  record.SortColumnsInfo = WriteSortColumnsInfo(m_lists);
  ProfileStoreRequest request;
  request.mode = m_draft.IsEditMode() ? ProfileStoreMode::kEdit : ProfileStoreMode::kNew;
  request.defaultUserId = app->GetDefaultUserID();
  return ::CreateTableProfile(*settings, request, &record);
}
