#include "admin/forms/DesignerProperties.h"

#include "admin/forms/ColorChooser.h"
#include "admin/forms/ControlPreview.h"
#include "admin/forms/DesignerProfile.h"
#include "admin/forms/FieldValueChecks.h"
#include "admin/forms/FormDesignerDlg.h"
#include "admin/forms/FormDocument.h"
#include "admin/forms/FormMapping.h"
#include "admin/forms/FormulaDesignDlg.h"
#include "admin/forms/GoToFormListDialog.h"
#include "admin/forms/PropertiesControl.h"
#include "admin/forms/PropertyRows.h"
#include "admin/forms/PropertyValue.h"
#include "admin/forms/RadioGroups.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/FormCodes.h"
#include "admin/foundation/FormInfo.h"
#include "admin/foundation/FormPropertyIds.h"
#include "admin/foundation/SettingsQuery.h"
#include "admin/shell/ControlButton.h"
#include "admin/shell/DeletePropertyValue.h"
#include "admin/shell/TabControl.h"
#include "admin/shell/TarnwickApp.h"
#include "platform/widgets/MessageBox.h"
#include "shared/contract/SettingsTables.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// The grids stand right of the canvas and its scroll bar, the radio-group widgets below the
// radio-group list at the left.
constexpr int kColumnGap = 24;
constexpr int kCaptionHeight = 20;
constexpr int kFormGridTop = 60;
// Each column 142 pixels: the longest property name fits, and the editor end of a Form
// Selection or Formula box lies right of 95 pixels, where a press opens the editor.
constexpr int kGridWidth = 300;
constexpr int kFormGridRows = 5;
constexpr int kControlGridRows = 10;
constexpr int kButtonSize = 24;
constexpr int kRadioGridRows = 3;

bool ValidValue(const QString& sqlType, const QString& text) {
  return ValidateDefaultValue(sqlType, text) == kValueValid;
}

QPushButton* MakeButton(const QString& text, const QString& name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->hide();
  return button;
}

void Log(const QString& text) { WriteAppLog(-1, text); }

}  // namespace

CDesignerProperties::CDesignerProperties(CFormDesignerDlg& page)
    : QObject(&page), m_page(page), m_document(page.GetDocument()) {}

CDesignerProperties::~CDesignerProperties() = default;

void CDesignerProperties::CreatePropertiesCtrls() {
  Log(QStringLiteral("<FormDesignerDlg> <CreatePropertiesCtrl> Start."));
  if (m_pFormGrid == nullptr) {
    CreateGrids();
    CreateButtons();
    connect(m_page.GetRadioGroupList(), &QComboBox::currentIndexChanged, this,
            &CDesignerProperties::RebuildRadioGroupGrid);
  }
  SetTabCtrlProp();
  ShowControlProperties(nullptr);
  Log(QStringLiteral("<FormDesignerDlg> <CreatePropertiesCtrls> End."));
}

QLabel* CDesignerProperties::PageCaption(int id) const {
  auto* caption = m_page.findChild<QLabel*>(QString::number(id));
  Q_ASSERT(caption != nullptr);
  return caption;
}

void CDesignerProperties::CreateGrids() {
  const QRect canvasFrame = m_page.GetCanvas()->geometry();
  const int left = canvasFrame.right() + kColumnGap;
  const int width = kGridWidth;
  // The page's own captions (1227 "Tab Properties", 1231 "Control Properties") head the grids.
  PageCaption(1227)->setGeometry(left, kFormGridTop - kCaptionHeight, width, kCaptionHeight);
  m_pFormGrid = new CPropertiesControl(&m_page);
  m_pFormGrid->setGeometry(left, kFormGridTop, width, kFormGridRows * CPropertiesControl::kRowHeight);
  const int controlTop = m_pFormGrid->geometry().bottom() + 1 + kCaptionHeight + 8;
  m_pControlCaption = PageCaption(1231);
  m_pControlCaption->setGeometry(left, controlTop - kCaptionHeight, width, kCaptionHeight);
  m_pControlGrid = new CPropertiesControl(&m_page);
  m_pControlGrid->setGeometry(left, controlTop, width, kControlGridRows * CPropertiesControl::kRowHeight);
  const QRect list = m_page.GetRadioGroupList()->geometry();
  m_pRadioGroupGrid = new CPropertiesControl(&m_page);
  m_pRadioGroupGrid->setGeometry(list.left(), list.bottom() + kButtonSize + 8, list.width(),
                                 kRadioGridRows * CPropertiesControl::kRowHeight);
  m_pRadioGroupGrid->hide();
  // An edited form's page is already shown when its grids are made.
  m_pFormGrid->show();
  m_pControlGrid->show();
  const std::pair<CPropertiesControl*, GridTag> grids[] = {
      {m_pFormGrid, kFormGrid}, {m_pControlGrid, kControlGrid}, {m_pRadioGroupGrid, kRadioGroupGrid}};
  for (const auto& [grid, tag] : grids) {
    grid->SetTag(tag);
    grid->setObjectName(QStringLiteral("PropertyGrid%1").arg(tag));
    m_grids[tag].grid = grid;
    connect(grid, &CPropertiesControl::PropertyChanged, this, &CDesignerProperties::OnPropertyChanged);
    connect(grid, &CPropertiesControl::PropertyEditingFinished, this, &CDesignerProperties::OnEditingFinished);
  }
}

void CDesignerProperties::CreateButtons() {
  const QRect grid = m_pControlGrid->geometry();
  m_pAddItem = MakeButton(QStringLiteral("+"), QStringLiteral("AddItem"), &m_page);
  m_pAddItem->setGeometry(grid.left(), grid.bottom() + 4, kButtonSize, kButtonSize);
  m_pRemoveItem = MakeButton(QStringLiteral("-"), QStringLiteral("RemoveItem"), &m_page);
  m_pRemoveItem->setGeometry(grid.left() + kButtonSize + 4, grid.bottom() + 4, kButtonSize, kButtonSize);
  const QRect list = m_page.GetRadioGroupList()->geometry();
  m_pAddGroup = MakeButton(QStringLiteral("+"), QStringLiteral("AddRadioGroup"), &m_page);
  m_pAddGroup->setGeometry(list.left(), list.bottom() + 4, kButtonSize, kButtonSize);
  m_pRemoveGroup = MakeButton(QStringLiteral("-"), QStringLiteral("RemoveRadioGroup"), &m_page);
  m_pRemoveGroup->setGeometry(list.left() + kButtonSize + 4, list.bottom() + 4, kButtonSize, kButtonSize);
  connect(m_pAddItem, &QPushButton::clicked, this, &CDesignerProperties::OnAddItem);
  connect(m_pRemoveItem, &QPushButton::clicked, this, &CDesignerProperties::OnRemoveItem);
  connect(m_pAddGroup, &QPushButton::clicked, this, &CDesignerProperties::OnAddRadioGroup);
  connect(m_pRemoveGroup, &QPushButton::clicked, this, &CDesignerProperties::OnRemoveRadioGroup);
}

void CDesignerProperties::SetOtherProfiles(const std::vector<OtherProfile>& profiles,
                                           const std::map<int32_t, QStringList>& columns) {
  m_otherProfiles = profiles;
  m_lookupColumns = columns;
}

CDesignerProperties::GridRows& CDesignerProperties::RowsOf(int tag) { return m_grids[tag]; }

const PropertyRow* CDesignerProperties::StoredRow(int tag, int row) {
  const std::vector<PropertyRow>& rows = RowsOf(tag).rows;
  return row >= 1 && static_cast<size_t>(row) <= rows.size() ? &rows[static_cast<size_t>(row) - 1] : nullptr;
}

void CDesignerProperties::Fill(GridRows& grid, std::vector<PropertyRow> rows) {
  grid.grid->ClearProperties();
  grid.rows = std::move(rows);
  for (const PropertyRow& row : grid.rows)
    grid.grid->AddProperty(row.Kind, row.Id, row.Value, row.ReadOnly, row.Choices, row.Color);
}

void CDesignerProperties::SetTabCtrlProp() {
  if (m_pFormGrid == nullptr) return;
  const FormInfo& form = m_document.GetFormInfo();
  m_nShownTab = qMax(0, m_page.GetTabControl()->GetSelectedTab());
  const FormTabInfo* tab = form.GetTab(m_nShownTab);
  const QString tabTitle = tab != nullptr ? tab->GetFormTabTitle() : QString();
  const QColor color = m_document.GetFormColor();
  Fill(RowsOf(kFormGrid), propertyrows::FormRows(tabTitle, form.GetFormName(), form.ProfileName, color));
  const QString prefix = QStringLiteral("<FormDesignerDlg> <SetTabCtrlProp> ");
  Log(prefix + QStringLiteral("Tab Title : ") + tabTitle);
  Log(prefix + QStringLiteral("Form Title : ") + form.GetFormName());
  Log(prefix + QStringLiteral("Form Profile Name : ") + form.ProfileName);
  Log(prefix + QStringLiteral("Form Color : ") + FormatRgbText(color.red(), color.green(), color.blue()));
}

void CDesignerProperties::ShowControlProperties(FormControlInfo* control) {
  if (m_pControlGrid == nullptr) return;
  m_pSelected = control;
  RebuildControlGrid();
  // A Valued List is filled through its item buttons, so they take the focus.
  if (m_pAddItem->isVisible()) m_pAddItem->setFocus();
}

CFormMapping CDesignerProperties::Mapping() const {
  return m_document.Mapping();
}

CRadioGroups CDesignerProperties::Radios() const {
  return m_document.RadioGroups();
}

const std::vector<OtherProfile>& CDesignerProperties::OtherProfiles() {
  if (m_otherProfiles) return *m_otherProfiles;
  m_otherProfiles.emplace();
  CTarnwickApp* app = GetTarnwickApp();
  if (app == nullptr) return *m_otherProfiles;
  SettingsQuery profiles(app->GetSettingsConnection(),
                         QStringLiteral("Select ProfileID, DBInfo from %1").arg(settingsdb::kProfileInfo));
  while (profiles.NextRow()) {
    const int32_t id = profiles.Number(0);
    if (id != m_document.GetFormInfo().ProfileID) m_otherProfiles->push_back({id, profiles.Text(1)});
  }
  return *m_otherProfiles;
}

QStringList CDesignerProperties::LookupColumns(int32_t profileId) {
  const auto known = m_lookupColumns.find(profileId);
  if (known != m_lookupColumns.end()) return known->second;
  QStringList& columns = m_lookupColumns[profileId];
  CTarnwickApp* app = GetTarnwickApp();
  for (const OtherProfile& profile : OtherProfiles()) {
    DesignerProfile loaded;
    if (profile.ProfileID == profileId && app != nullptr &&
        LoadProfileForDesigner(app->GetSettingsConnection(), profile.Name, &loaded) == 1)
      columns = loaded.ColumnNames;
  }
  return columns;
}

LookupChoices CDesignerProperties::Lookup(const FormControlInfo& control) {
  LookupChoices choices;
  if (control.Type != kComboBox || control.SrcType != kSourceAnotherProfile) return choices;
  for (const OtherProfile& profile : OtherProfiles()) {
    choices.Profiles.append(profile.Name);
    if (profile.ProfileID == control.LkProfileID) choices.Current = profile.Name;
  }
  choices.Columns = LookupColumns(control.LkProfileID);
  return choices;
}

void CDesignerProperties::RebuildControlGrid() {
  if (m_pSelected == nullptr) {
    m_pControlGrid->ClearProperties();
    RowsOf(kControlGrid).rows.clear();
    m_pControlCaption->setText(QStringLiteral("Control Properties"));
  } else {
    const CFormMapping mapping = Mapping();
    Fill(RowsOf(kControlGrid),
         propertyrows::ControlRows(*m_pSelected, mapping, m_document.GetRadioGroups(), Lookup(*m_pSelected)));
    m_pControlCaption->setText(propertyrows::ControlGridCaption(m_pSelected->Type));
  }
  ShowSideWidgets();
}

void CDesignerProperties::ShowSideWidgets() {
  const bool valuedList =
      m_pSelected != nullptr && m_pSelected->Type == kComboBox && m_pSelected->SrcType == kSourceValuedList;
  m_pAddItem->setVisible(valuedList);
  m_pRemoveItem->setVisible(valuedList);
  const bool radio = m_pSelected != nullptr && m_pSelected->Type == kRadioButton;
  for (QWidget* widget : {static_cast<QWidget*>(m_page.GetRadioGroupList()), static_cast<QWidget*>(m_pAddGroup),
                          static_cast<QWidget*>(m_pRemoveGroup), static_cast<QWidget*>(m_pRadioGroupGrid)})
    widget->setVisible(radio);
  if (radio) RebuildRadioGroupGrid();
}

int CDesignerProperties::SelectedGroup() const { return m_page.GetRadioGroupList()->currentIndex(); }

void CDesignerProperties::RebuildRadioGroupGrid() {
  if (m_pRadioGroupGrid == nullptr) return;
  const std::vector<RadioGroupInfo>& groups = m_document.GetRadioGroups();
  const int index = SelectedGroup();
  if (index < 0 || static_cast<size_t>(index) >= groups.size()) {
    m_pRadioGroupGrid->ClearProperties();
    RowsOf(kRadioGroupGrid).rows.clear();
    return;
  }
  Fill(RowsOf(kRadioGroupGrid), propertyrows::RadioGroupRows(groups[static_cast<size_t>(index)], Mapping()));
}

void CDesignerProperties::QueueRebuild() {
  if (m_bRebuildQueued) return;
  m_bRebuildQueued = true;
  QTimer::singleShot(0, this, &CDesignerProperties::RebuildAll);
}

void CDesignerProperties::RebuildAll() {
  m_bRebuildQueued = false;
  SetTabCtrlProp();
  RebuildControlGrid();
}

void CDesignerProperties::OnPropertyChanged(int row, int propertyId, int tag) {
  const PropertyRow* stored = StoredRow(tag, row);
  if (stored == nullptr || stored->Kind == kRowEdit) return;  // an edit commits when its editing ends
  if (stored->Kind == kRowButton) {
    PressButton(tag, propertyId);
    return;
  }
  const auto* list = qobject_cast<const QComboBox*>(RowsOf(tag).grid->GetValueBox(row));
  if (list != nullptr && list->currentText() != stored->Value) Commit(tag, propertyId, list->currentText());
}

void CDesignerProperties::OnEditingFinished(int row, int propertyId, int tag) {
  const PropertyRow* stored = StoredRow(tag, row);
  const auto* edit = qobject_cast<const QLineEdit*>(RowsOf(tag).grid->GetValueBox(row));
  if (stored == nullptr || edit == nullptr || edit->text() == stored->Value) return;
  Commit(tag, propertyId, edit->text());
}

bool CDesignerProperties::CommitPendingEdits() {
  for (const int tag : {kFormGrid, kControlGrid, kRadioGroupGrid}) {
    GridRows& grid = RowsOf(tag);
    if (grid.grid == nullptr) continue;
    for (size_t i = 0; i < grid.rows.size(); ++i) {
      const PropertyRow row = grid.rows[i];
      const auto* edit = qobject_cast<const QLineEdit*>(grid.grid->GetValueBox(static_cast<int>(i) + 1));
      if (row.Kind != kRowEdit || row.ReadOnly || edit == nullptr || edit->text() == row.Value) continue;
      if (!Commit(tag, row.Id, edit->text())) return false;
    }
  }
  return true;
}

bool CDesignerProperties::Commit(int tag, int propertyId, const QString& value) {
  const std::optional<Refusal> refusal = Apply(tag, propertyId, value);
  if (refusal) {
    // The row goes back to the stored value now, so that the refused text is not committed
    // again when the focus leaves it for the box; nothing else changed, so nothing is rebuilt.
    for (const PropertyRow& row : RowsOf(tag).rows)
      if (row.Id == propertyId) RowsOf(tag).grid->SetPropertyValue(propertyId, row.Value);
    ShowRefusal(*refusal);
    return false;
  }
  RefreshPreviews();
  QueueRebuild();
  return true;
}

std::optional<Refusal> CDesignerProperties::Apply(int tag, int propertyId, const QString& value) {
  switch (tag) {
    case kFormGrid: return ApplyForm(propertyId, value);
    case kControlGrid: return ApplyControl(propertyId, value);
    case kRadioGroupGrid: return ApplyRadioGroup(propertyId, value);
    default: return std::nullopt;
  }
}

std::optional<Refusal> CDesignerProperties::ApplyForm(int propertyId, const QString& value) {
  FormInfo& form = m_document.GetFormInfo();
  FormTabInfo* tab = form.GetTab(m_nShownTab);
  if (tab == nullptr && propertyId == kPropCaption) return std::nullopt;
  std::optional<Refusal> refusal = propertycommit::CommitForm(&form, tab, propertyId, value);
  if (!refusal && propertyId == kPropCaption) m_page.GetTabControl()->SetTabTitle(m_nShownTab, value);
  if (!refusal && propertyId == kPropFormName) m_page.ShowFormName();
  return refusal;
}

propertycommit::ControlContext CDesignerProperties::Context(CFormMapping& mapping, CRadioGroups& radios) const {
  return {m_document.GetProfileColumns(), mapping, radios, *m_otherProfiles, ValidValue};
}

std::optional<Refusal> CDesignerProperties::ApplyControl(int propertyId, const QString& value) {
  if (m_pSelected == nullptr) return std::nullopt;
  OtherProfiles();
  CFormMapping mapping = Mapping();
  CRadioGroups radios = Radios();
  return propertycommit::CommitControl(m_pSelected, propertyId, value, Context(mapping, radios));
}

std::optional<Refusal> CDesignerProperties::ApplyRadioGroup(int propertyId, const QString& value) {
  const int index = SelectedGroup();
  CRadioGroups radios = Radios();
  std::optional<Refusal> refusal = propertycommit::CommitRadioGroup(radios, index, propertyId, value, ValidValue);
  if (!refusal) {
    const QSignalBlocker blocker(m_page.GetRadioGroupList());
    m_page.FillRadioGroupList();
    m_page.GetRadioGroupList()->setCurrentIndex(index);
  }
  return refusal;
}

void CDesignerProperties::PressButton(int tag, int propertyId) {
  if (tag == kFormGrid && propertyId == kPropFormColor) ChooseFormColor();
  if (tag != kControlGrid || m_pSelected == nullptr) return;
  if (propertyId == kPropForeColor) ChooseForeColor();
  if (propertyId == kPropFormSelection) EditGoToFormLinks();
  if (propertyId == kPropFormula) EditFormula();
}

// Every preview but a Button's takes the form colour; a Button keeps its own background.
void CDesignerProperties::ChooseFormColor() {
  const std::optional<QColor> color = ChooseColor(m_document.GetFormColor(), &m_page);
  if (!color) return;
  m_page.SetFormColor(*color);
  const FormInfo& form = m_document.GetFormInfo();
  for (int t = 0; t < form.GetTabCount(); ++t) {
    const FormTabInfo& tab = *form.GetTab(t);
    for (int c = 0; c < tab.GetControlCount(); ++c) {
      const FormControlInfo& control = *tab.GetControl(c);
      auto* window = qobject_cast<CControlButton*>(m_page.WindowOf(control));
      if (window != nullptr && control.Type != kButton) window->SetBackgroundColor(*color);
    }
  }
  QueueRebuild();
}

void CDesignerProperties::ChooseForeColor() {
  const QColor current(m_pSelected->TxtR & 0xFF, m_pSelected->TxtG & 0xFF, m_pSelected->TxtB & 0xFF);
  const std::optional<QColor> color = ChooseColor(current, &m_page);
  if (!color) return;
  propertycommit::CommitForeColor(m_pSelected, *color);
  RefreshPreviews();
  QueueRebuild();
}

void CDesignerProperties::EditGoToFormLinks() {
  CTarnwickApp* app = GetTarnwickApp();
  if (app == nullptr) return;
  QStringList fields;
  for (const ProfileColumn& column : m_document.GetProfileColumns()) fields.append(column.Name);
  const QString edited = m_document.IsEditMode() ? m_document.GetEditedTitle() : QString();
  CGoToFormListDialog dialog(app->GetSettingsConnection(), m_pSelected->GoToForms, fields, edited, &m_page);
  if (dialog.exec() != QDialog::Accepted) return;
  m_pSelected->GoToForms = dialog.GetMappings();
  QueueRebuild();
}

void CDesignerProperties::EditFormula() {
  FormulaColumns columns;
  for (const ProfileColumn& column : m_document.GetProfileColumns()) {
    columns.names.append(column.Name);
    columns.types.append(column.SqlType);
  }
  CFormulaDesignDlg dialog(columns, m_pSelected->Formula, &m_page);
  if (dialog.exec() != QDialog::Accepted) return;
  Commit(kControlGrid, kPropFormula, dialog.GetFormula());
}

QString CDesignerProperties::ColumnType(const QString& column) const {
  for (const ProfileColumn& candidate : m_document.GetProfileColumns())
    if (candidate.Name == column) return candidate.SqlType;
  return {};
}

void CDesignerProperties::OnAddItem() {
  if (m_pSelected == nullptr || m_pSelected->Type != kComboBox) return;
  CPropertyValue dialog(&m_page);
  dialog.SetDataColumn(m_pSelected->DataColumn, ColumnType(m_pSelected->DataColumn));
  if (dialog.exec() != QDialog::Accepted) return;
  if (const std::optional<Refusal> refusal = propertycommit::AddComboItem(m_pSelected, dialog.GetValue()))
    ShowRefusal(*refusal);
  QueueRebuild();
}

void CDesignerProperties::OnRemoveItem() {
  if (m_pSelected == nullptr || m_pSelected->Type != kComboBox || m_pSelected->Items.isEmpty()) return;
  CDeletePropertyValue dialog(m_pSelected->Items, &m_page);
  if (dialog.exec() != QDialog::Accepted) return;
  propertycommit::RemoveComboItem(m_pSelected, static_cast<int>(m_pSelected->Items.indexOf(dialog.GetChosenValue())));
  RefreshPreviews();
  QueueRebuild();
}

void CDesignerProperties::OnAddRadioGroup() {
  int index = 0;
  CRadioGroups radios = Radios();
  if (const std::optional<Refusal> refusal = radios.Add(Mapping().FreeColumns(kRadioButton), &index)) {
    ShowRefusal(*refusal);
    return;
  }
  {
    const QSignalBlocker blocker(m_page.GetRadioGroupList());
    m_page.FillRadioGroupList();
    m_page.GetRadioGroupList()->setCurrentIndex(index);
  }
  QueueRebuild();
}

void CDesignerProperties::OnRemoveRadioGroup() {
  const int index = SelectedGroup();
  if (index < 0 || static_cast<size_t>(index) >= m_document.GetRadioGroups().size()) return;
  const QString name = m_document.GetRadioGroups()[static_cast<size_t>(index)].Name;
  if (platform::MessageBox(&m_page, QStringLiteral("Are you sure to remove RadioGroup : %1 ?").arg(name),
                           ProgramTitle(), platform::MB_YESNO | platform::MB_DEFBUTTON2) != platform::IDYES)
    return;
  CRadioGroups radios = Radios();
  if (const std::optional<Refusal> refusal = radios.Remove(index)) {
    ShowRefusal(*refusal);
    return;
  }
  {
    const QSignalBlocker blocker(m_page.GetRadioGroupList());
    m_page.FillRadioGroupList();
  }
  QueueRebuild();
}

void CDesignerProperties::ShowRefusal(const Refusal& refusal) const {
  const unsigned icon = refusal.ErrorIcon ? platform::MB_ICONERROR : platform::MB_ICONINFORMATION;
  platform::MessageBox(&m_page, refusal.Message, ProgramTitle(), platform::MB_OK | icon);
}

// A commit can change other controls than the selected one (a RadioButton selected clears the
// others of its group on every tab), so every preview shows its values again.
void CDesignerProperties::RefreshPreviews() const {
  const FormInfo& form = m_document.GetFormInfo();
  for (int t = 0; t < form.GetTabCount(); ++t) {
    const FormTabInfo& tab = *form.GetTab(t);
    for (int c = 0; c < tab.GetControlCount(); ++c) {
      const FormControlInfo& control = *tab.GetControl(c);
      if (auto* window = qobject_cast<CControlButton*>(m_page.WindowOf(control))) ShowControlValues(control, window);
    }
  }
}
