#include "admin/profiles/FilterSortDlg.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/OdbcUtilities.h"
#include "admin/profiles/FilterSortItemData.h"
#include "admin/profiles/FilterValue.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/GridListCtrl.h"
#include "admin/shell/HelpBalloon.h"
#include "platform/widgets/MessageBox.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

constexpr int kFilterHelpTopic = 12;
constexpr int kSortHelpTopic = 13;
constexpr int kOperatorCount = 8;
constexpr int kValueColumn = 3;

const QRect kListPlace(10, 48, 540, 200);

QString SortDirectionText(int direction) {
  return direction != 0 ? QStringLiteral("Descending") : QStringLiteral("Ascending");
}

QPushButton* AddButton(QWidget* dialog, const QString& text, int id, int left) {
  return new CBMButton(text, id, QRect(left, 262, 80, 26), dialog);
}

}  // namespace

CFilterSortDlg::CFilterSortDlg(int mode, FilterSortLists* lists, FilterSortSource source, QWidget* parent)
    : QDialog(parent), m_nMode(mode), m_pLists(lists), m_source(std::move(source)) {
  setFixedSize(560, 300);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  CreateControls();
  SetUpList();
  EnterListState();
}

void CFilterSortDlg::CreateControls() {
  m_pHint = AddLabel(QString(), QRect(10, 8, 540, 34));
  m_pHint->setWordWrap(true);
  m_pList = new CGridListCtrl(this);
  m_pList->setObjectName(QStringLiteral("1052"));
  m_pList->setGeometry(kListPlace);

  m_pAnd = new QRadioButton(QStringLiteral("AND"), this);
  m_pAnd->setObjectName(QStringLiteral("1196"));
  m_pAnd->setGeometry(110, 62, 80, 22);
  m_pOr = new QRadioButton(QStringLiteral("OR"), this);
  m_pOr->setObjectName(QStringLiteral("1191"));
  m_pOr->setGeometry(200, 62, 80, 22);
  m_pJoining = new QButtonGroup(this);
  m_pJoining->addButton(m_pAnd, 0);
  m_pJoining->addButton(m_pOr, 1);
  m_pFieldLabel = AddLabel(QStringLiteral("Field :"), QRect(20, 102, 85, 22));
  m_pFieldCombo = new QComboBox(this);
  m_pFieldCombo->setObjectName(QStringLiteral("1201"));
  m_pFieldCombo->setGeometry(110, 100, 300, 24);
  m_pOperatorLabel = AddLabel(QStringLiteral("Operator :"), QRect(20, 140, 85, 22));
  m_pOperatorCombo = new QComboBox(this);
  m_pOperatorCombo->setObjectName(QStringLiteral("1202"));
  m_pOperatorCombo->setGeometry(110, 138, 300, 24);
  m_pValueLabel = AddLabel(QStringLiteral("Value :"), QRect(20, 178, 85, 22));
  m_pValueEdit = new QLineEdit(this);
  m_pValueEdit->setObjectName(QStringLiteral("1055"));
  m_pValueEdit->setGeometry(110, 176, 300, 24);

  m_pAdd = AddButton(this, QStringLiteral("Add"), 1074, 10);
  m_pModify = AddButton(this, QStringLiteral("Modify"), 1192, 100);
  m_pRemove = AddButton(this, QStringLiteral("Remove"), 1175, 190);
  QPushButton* ok = AddButton(this, QStringLiteral("OK"), 1047, 290);
  ok->setDefault(true);
  QPushButton* cancel = AddButton(this, QStringLiteral("Cancel"), 1014, 380);
  m_pHelp = AddButton(this, QStringLiteral("Help"), 1015, 470);

  connect(m_pAdd, &QPushButton::clicked, this, &CFilterSortDlg::OnAdd);
  connect(m_pModify, &QPushButton::clicked, this, &CFilterSortDlg::OnModify);
  connect(m_pRemove, &QPushButton::clicked, this, &CFilterSortDlg::OnRemove);
  connect(ok, &QPushButton::clicked, this, &CFilterSortDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &CFilterSortDlg::OnCancel);
  connect(m_pHelp, &QPushButton::clicked, this, &CFilterSortDlg::OnHelp);
}

QLabel* CFilterSortDlg::AddLabel(const QString& text, const QRect& place) {
  auto* label = new QLabel(text, this);
  label->setGeometry(place);
  return label;
}

void CFilterSortDlg::SetUpList() {
  m_pList->SetSortMode(m_nMode);
  m_pList->SetColumns(m_pLists->columns, m_source.columnTypes);
  m_pList->SetFilterTarget(m_source.target);
  m_pList->SetFilterValuePrompt(CFilterValue::MakePrompt(this, m_source.columnTypes));
  m_pList->setShowGrid(true);
  const int width = m_pList->width() - 2 * m_pList->frameWidth();
  if (m_nMode == kSortMode) {
    setWindowTitle(QStringLiteral("Sort Order"));
    m_pList->InsertColumn(0, QStringLiteral("Sort Order"), width / 2);
    m_pList->InsertColumn(1, QStringLiteral("Field Name"), width / 2);
    m_pHint->setText(
        QStringLiteral("Please double click on particular row to get/change the Sort Order, Available Fields."));
    for (int i = 0; i < m_pLists->sorts.size(); ++i) AddSortRow(i);
    return;
  }
  setWindowTitle(QStringLiteral("Filters"));
  for (const QString& heading : {QStringLiteral("Filter Joining"), QStringLiteral("Field Name"),
                                 QStringLiteral("Filter Operator"), QStringLiteral("Filter Value")}) {
    m_pList->InsertColumn(m_pList->columnCount(), heading, width / 4);
  }
  m_pHint->setText(QStringLiteral(
      "Please double click on particular row to get/change the Available Fields, Filter operator,  Filter value."));
  for (int i = 0; i < m_pLists->filters.size(); ++i) AddFilterRow(i);
}

void CFilterSortDlg::AddFilterRow(int index) {
  const FilterEntry& filter = m_pLists->filters.at(index);
  const int row = m_pList->InsertItem(m_pList->GetItemCount(), index == 0 ? QString() : GetJoinOperatorText(filter.joining));
  m_pList->SetCheck(row, false);
  m_pList->SetItemText(row, 1, m_pLists->columns.value(filter.column));
  m_pList->SetItemText(row, 2, GetCompareOperatorText(filter.op));
  m_pList->SetItemText(row, kValueColumn, m_pLists->filterValues.value(index));
  m_pList->SetItemData(row, PackItemData(filter));
}

void CFilterSortDlg::AddSortRow(int index) {
  const SortEntry& sort = m_pLists->sorts.at(index);
  const int row = m_pList->InsertItem(m_pList->GetItemCount(), SortDirectionText(sort.direction));
  m_pList->SetCheck(row, false);
  m_pList->SetItemText(row, 1, m_pLists->columns.value(sort.column));
  m_pList->SetItemData(row, PackItemData(sort));
}

void CFilterSortDlg::EnterListState() {
  m_nEditorState = kListState;
  ShowEditor(false);
  m_pAdd->setEnabled(true);
}

void CFilterSortDlg::EnterFilterEditing() {
  m_nEditorState = kFilterEditing;
  ShowEditor(true);
  m_pAnd->setVisible(m_pList->GetItemCount() > 0);
  m_pOr->setVisible(m_pList->GetItemCount() > 0);
  m_pFieldCombo->clear();
  m_pFieldCombo->addItems(m_pLists->columns);
  m_pOperatorCombo->clear();
  for (int op = 0; op < kOperatorCount; ++op) m_pOperatorCombo->addItem(GetCompareOperatorText(op));
  m_pOperatorCombo->setCurrentIndex(0);
}

void CFilterSortDlg::EnterSortEditing() {
  m_nEditorState = kSortEditing;
  ShowEditor(true);
  m_pValueLabel->hide();
  m_pValueEdit->hide();
  m_pAnd->hide();
  m_pOr->hide();
  m_pFieldCombo->clear();
  m_pFieldCombo->addItems(m_source.selectedColumns);
  m_pOperatorCombo->clear();
  m_pOperatorCombo->addItems({SortDirectionText(0), SortDirectionText(1)});
  m_pOperatorCombo->setCurrentIndex(0);
}

// The editor takes the list's place; the list's own buttons go with it.
void CFilterSortDlg::ShowEditor(bool show) {
  for (QWidget* control : std::initializer_list<QWidget*>{m_pFieldLabel, m_pOperatorLabel, m_pValueLabel, m_pFieldCombo,
                                                          m_pOperatorCombo, m_pOr, m_pAnd, m_pValueEdit}) {
    control->setVisible(show);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{m_pList, m_pAdd, m_pModify, m_pRemove}) {
    control->setVisible(!show);
  }
}

// -1 leaves both buttons unchecked.
void CFilterSortDlg::SetJoiningChoice(int joining) {
  m_pJoining->setExclusive(false);
  m_pAnd->setChecked(joining == 0);
  m_pOr->setChecked(joining == 1);
  m_pJoining->setExclusive(true);
}

void CFilterSortDlg::OnAdd() {
  if (m_nEditorState != kListState) return;
  m_nPendingAction = kAddAction;
  if (m_nMode == kSortMode) {
    EnterSortEditing();
    return;
  }
  EnterFilterEditing();
  SetJoiningChoice(0);
  m_pValueEdit->clear();
}

void CFilterSortDlg::OnModify() {
  const int row = m_pList->GetSelectionMark();
  if (m_nEditorState != kListState || row < 0) return;
  m_nPendingAction = kModifyAction;
  m_nEditRow = row;
  if (m_nMode == kSortMode) {
    const SortEntry sort = SortEntryFromItemData(m_pList->GetItemData(row));
    EnterSortEditing();
    m_pOperatorCombo->setCurrentIndex(sort.direction != 0 ? 1 : 0);
    m_pFieldCombo->setCurrentIndex(static_cast<int>(m_source.selectedColumns.indexOf(m_pList->GetItemText(row, 1))));
    return;
  }
  const FilterEntry filter = FilterEntryFromItemData(m_pList->GetItemData(row));
  EnterFilterEditing();
  SetJoiningChoice(row == 0 ? -1 : (filter.joining == 1 ? 1 : 0));
  m_pFieldCombo->setCurrentIndex(filter.column);
  m_pOperatorCombo->setCurrentIndex(filter.op);
  m_pValueEdit->setText(m_pList->GetItemText(row, kValueColumn));
}

void CFilterSortDlg::OnRemove() {
  const int row = m_pList->GetSelectionMark();
  if (row < 0) return;
  const QString what = m_nMode == kSortMode ? QStringLiteral("Sort Order") : QStringLiteral("Filter");
  const int answer = platform::MessageBox(this, QStringLiteral("Are you sure to remove selected %1 ?").arg(what),
                                          ProgramTitle(),
                                          platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2);
  if (answer != platform::IDYES) return;
  m_pList->DeleteItem(row);
  if (m_nMode == kFilterMode && m_pList->GetItemCount() > 0) m_pList->SetItemText(0, 0, QString());
}

void CFilterSortDlg::OnOK() {
  if (m_nEditorState != kListState) {
    EnterListState();
    if (m_nMode == kSortMode) {
      CommitSortRow();
    } else {
      CommitFilterRow();
    }
    m_nPendingAction = kNoAction;
    return;
  }
  if (const int invalid = FirstInvalidFilterRow(); invalid > 0) {
    platform::MessageBox(this,
                         QStringLiteral("No. %1 filter is not valid, Please enter filter condition string.").arg(invalid),
                         ProgramTitle(), platform::MB_OK | platform::MB_ICONERROR);
    return;
  }
  RebuildPageLists();
  accept();
}

void CFilterSortDlg::CommitSortRow() {
  const QString name = m_pFieldCombo->currentText();
  const int column = static_cast<int>(m_pLists->columns.indexOf(name));
  if (m_pFieldCombo->currentIndex() < 0 || column < 0) return;
  const SortEntry sort{static_cast<uint8_t>(m_pOperatorCombo->currentIndex() == 1 ? 1 : 0), static_cast<int16_t>(column)};
  const int row = TargetRow();
  if (row < 0) return;
  m_pList->SetItemText(row, 0, SortDirectionText(sort.direction));
  m_pList->SetItemText(row, 1, name);
  m_pList->SetItemData(row, PackItemData(sort));
}

void CFilterSortDlg::CommitFilterRow() {
  const QString typed = m_pValueEdit->text();
  if (typed.isEmpty()) {
    platform::MessageBox(this, QStringLiteral("Please Specify Filter Value"), ProgramTitle(),
                         platform::MB_OK | platform::MB_ICONWARNING);
    return;
  }
  const int column = m_pFieldCombo->currentIndex();
  if (column < 0) return;
  const int sqlType = m_source.columnTypes.value(column).toInt();
  const QString value = QuoteFilterValue(typed, sqlType, m_source.target);
  const int row = TargetRow();
  if (row < 0) return;
  FilterEntry filter{0, static_cast<uint8_t>(m_pOperatorCombo->currentIndex()), static_cast<int16_t>(column)};
  if (row > 0) filter.joining = m_pOr->isChecked() ? 1 : 0;
  m_pList->SetItemText(row, 0, row > 0 ? GetJoinOperatorText(filter.joining) : QString());
  m_pList->SetItemText(row, 1, m_pFieldCombo->currentText());
  m_pList->SetItemText(row, 2, m_pOperatorCombo->currentText());
  m_pList->SetItemText(row, kValueColumn, value);
  m_pList->SetItemData(row, PackItemData(filter));
}

int CFilterSortDlg::TargetRow() {
  if (m_nPendingAction == kModifyAction) return m_nEditRow < m_pList->GetItemCount() ? m_nEditRow : -1;
  if (m_nPendingAction != kAddAction) return -1;
  const int row = m_pList->InsertItem(m_pList->GetItemCount(), QString());
  m_pList->SetCheck(row, false);
  return row;
}

int CFilterSortDlg::FirstInvalidFilterRow() const {
  if (m_nMode != kFilterMode) return 0;
  for (int row = 0; row < m_pList->GetItemCount(); ++row) {
    if (m_pList->GetItemText(row, kValueColumn).isEmpty()) return row + 1;
  }
  return 0;
}

void CFilterSortDlg::RebuildPageLists() {
  if (m_nMode == kSortMode) {
    m_pLists->sorts.clear();
    for (int row = 0; row < m_pList->GetItemCount(); ++row) {
      m_pLists->sorts.append(SortEntryFromItemData(m_pList->GetItemData(row)));
    }
    return;
  }
  m_pLists->filters.clear();
  m_pLists->filterValues.clear();
  for (int row = 0; row < m_pList->GetItemCount(); ++row) {
    m_pLists->filters.append(FilterEntryFromItemData(m_pList->GetItemData(row)));
    m_pLists->filterValues.append(m_pList->GetItemText(row, kValueColumn));
  }
}

void CFilterSortDlg::OnCancel() {
  if (m_nEditorState == kListState) {
    QDialog::reject();
    return;
  }
  EnterListState();
  m_nPendingAction = kNoAction;
}

void CFilterSortDlg::reject() { OnCancel(); }

void CFilterSortDlg::OnHelp() {
  ShowHelpBalloon(m_nMode == kSortMode ? kSortHelpTopic : kFilterHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton);
}
