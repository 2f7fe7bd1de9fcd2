#include "admin/profiles/ProfileBuildQueryForProcPage.h"

#include "admin/forms/FormLayoutQueries.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/DBConnManagerForProc.h"
#include "admin/foundation/FormQueries.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/foundation/ProfileQueryText.h"
#include "admin/foundation/SqlTypes.h"
#include "admin/profiles/EmptyRowCheck.h"
#include "admin/profiles/ParameterDialog.h"
#include "admin/profiles/PopupDlg.h"
#include "admin/profiles/ProfileDraft.h"
#include "admin/profiles/ProfileNameCheck.h"
#include "admin/profiles/ProfilePageLook.h"
#include "admin/profiles/ProfileStore.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/WizardSheet.h"
#include "platform/widgets/MessageBox.h"
#include "platform/widgets/WaitCursor.h"
#include "shared/odbc/OdbcDiagnostics.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

constexpr int kEditLogCode = 51;
constexpr int kRemoveLogCode = 24;
const QString kShowPreview = QStringLiteral("Show Preview");
const QString kHidePreview = QStringLiteral("Hide Preview");
const QString kNoResultSet =
    QStringLiteral("Selected procedure do not return ResultSet, can not determine column metadata.");

void Log(const QString& text) { WriteAppLog(-1, text); }

int Box(QWidget* parent, const QString& text, unsigned type) {
  return platform::MessageBox(parent, text, ProgramTitle(), type);
}

bool AskYesNo(QWidget* parent, const QString& question, unsigned icon = 0) {
  return Box(parent, question, platform::MB_YESNO | platform::MB_DEFBUTTON2 | icon) == platform::IDYES;
}

CColoredListCtrl* MakeList(const QString& id, const QRect& place, QWidget* parent) {
  auto* list = new CColoredListCtrl(parent);
  list->setObjectName(id);
  list->setGeometry(place);
  list->setShowGrid(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->verticalHeader()->hide();
  return list;
}

void ResetColumns(CColoredListCtrl* list, const QStringList& headings, int clientWidth) {
  list->DeleteAllItems();
  list->setColumnCount(0);
  if (headings.isEmpty()) return;
  const int width = clientWidth / static_cast<int>(headings.size());
  for (int column = 0; column < headings.size(); ++column) {
    const bool last = column + 1 == headings.size();
    list->InsertColumn(column, headings.at(column), last ? width + 2 : width);
  }
  if (const CTarnwickApp* app = GetTarnwickApp()) list->horizontalHeader()->setFont(app->GetBoldFont());
}

}  // namespace

CProfileBuildQueryForProcPage::CProfileBuildQueryForProcPage(CWizardSheet* wizard, ProfileDraft& draft)
    : CWizardSheetPage(wizard), m_pWizard(wizard), m_draft(draft), m_pPopup(std::make_unique<CPopupDlg>(this)) {
  resize(kProfilePageSize);
  CreateControls();
  connect(m_pPopup.get(), &CPopupDlg::Command, this, [this](int id) {
    if (id == CPopupDlg::kCloseButtonId) HidePreview();
  });
}

CProfileBuildQueryForProcPage::~CProfileBuildQueryForProcPage() = default;

void CProfileBuildQueryForProcPage::CreateControls() {
  auto* nameLabel = new QLabel(QStringLiteral("Profile Name :"), this);
  nameLabel->setObjectName(QStringLiteral("1049"));
  nameLabel->setGeometry(10, 8, 90, 22);
  m_pNameEdit = new QLineEdit(this);
  m_pNameEdit->setObjectName(QStringLiteral("1050"));
  m_pNameEdit->setGeometry(104, 8, 220, 22);
  auto* procedureLabel = new QLabel(QStringLiteral("Select Procedure(s) :"), this);
  procedureLabel->setObjectName(QStringLiteral("1059"));
  procedureLabel->setGeometry(10, 36, 160, 20);
  m_pProcedureList = new QListWidget(this);
  m_pProcedureList->setObjectName(QStringLiteral("1208"));
  m_pProcedureList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_pProcedureList->setGeometry(10, 58, 160, 188);
  CreateLists();
  m_pPreviewButton = new CBMButton(kShowPreview, 1067, QRect(10, 254, 110, 26), this);
  m_pRecordCount = new QLabel(this);
  m_pRecordCount->setObjectName(QStringLiteral("1081"));
  m_pRecordCount->setGeometry(130, 256, 180, 22);
  // The device-side location of older handhelds: every profile goes to "MainMemory", so the
  // choice is neither shown nor read.
  auto* location = new QGroupBox(QStringLiteral("Select Location for Database on BlackBerry"), this);
  auto* mainMemory = new QRadioButton(QStringLiteral("Main Memory"), location);
  mainMemory->setObjectName(QStringLiteral("1261"));
  auto* sdCard = new QRadioButton(QStringLiteral("SD Card"), location);
  sdCard->setObjectName(QStringLiteral("1191"));
  auto* unnamed = new QPushButton(this);
  unnamed->setObjectName(QStringLiteral("1219"));
  location->hide();
  unnamed->hide();
  connect(m_pProcedureList, &QListWidget::itemSelectionChanged, this,
          &CProfileBuildQueryForProcPage::OnProcedureSelected);
  connect(m_pPreviewButton, &QPushButton::clicked, this, &CProfileBuildQueryForProcPage::TogglePreview);
}

void CProfileBuildQueryForProcPage::CreateLists() {
  auto* columnLabel = new QLabel(QStringLiteral("Select Column(s) :"), this);
  columnLabel->setObjectName(QStringLiteral("1060"));
  columnLabel->setGeometry(180, 36, 160, 20);
  m_pResultList = MakeList(QStringLiteral("1209"), QRect(180, 58, 310, 96), this);
  auto* parameterLabel = new QLabel(QStringLiteral("Parameter(s) :"), this);
  parameterLabel->setGeometry(180, 158, 160, 20);
  m_pParameterList = MakeList(QStringLiteral("1207"), QRect(180, 180, 310, 66), this);
}

void CProfileBuildQueryForProcPage::OnInitDialog() { ResetResultList(); }

bool CProfileBuildQueryForProcPage::IsMySql() const {
  return admin::CDatabseConnection::IsMySqlDriver(m_strDriverDescription);
}

CallSyntax CProfileBuildQueryForProcPage::Syntax() const { return CallSyntaxOf(IsMySql(), m_strDbmsName); }

admin::CDatabseConnection* CProfileBuildQueryForProcPage::Settings() const {
  CTarnwickApp* app = GetTarnwickApp();
  return app != nullptr ? &app->GetSettingsConnection() : nullptr;
}

bool CProfileBuildQueryForProcPage::OnSetActive() {
  Log(QStringLiteral("<ProfileBuildQueryForProcPage> On SetActive Page "));
  EnterLastProfilePage(*m_pWizard, m_draft);
  const bool edit = m_draft.IsEditMode();
  HidePreview();
  {
    const QSignalBlocker blocker(m_pProcedureList);
    m_pProcedureList->clear();
  }
  ResetResultList();
  ResetColumns(m_pParameterList, {}, 0);
  m_parameters.clear();
  m_strArguments.clear();
  m_strCallText.clear();
  m_pNameEdit->setEnabled(true);
  m_pNameEdit->clear();
  m_pNameEdit->setFocus();
  m_pPreviewButton->setEnabled(false);
  m_pWizard->GetButton(CWizardSheet::Button::Apply)->setEnabled(edit);

  const ProfileRecord& record = m_draft.GetProfileRecord();
  m_strDriverDescription = m_draft.GetDriverDescription();
  if (m_strDriverDescription.isEmpty()) m_strDriverDescription = GetDataSourceDriver(record.DB_DSN);
  m_pConnManager = std::make_unique<CDBConnManagerForProc>();
  QString error;
  const bool connected = [&] {
    const platform::WaitCursor busy;
    return m_pConnManager->ConnectByType(record.DB_DSN, record.UserName, record.Password, &error) == 1;
  }();
  if (!connected) Log(error);
  m_strDbmsName = m_pConnManager->GetDbmsName();

  if (edit) {
    m_pNameEdit->setText(record.DBInfo);
    m_strStoredName = record.DBInfo;
    Log(QStringLiteral("<ProfileBuildQueryForProcPage> The name of Edited profile is %1 ").arg(record.DBInfo));
    Log(QStringLiteral("<ProfileBuildQueryForProcPage> The Query For Edited Profile is: %1 ").arg(record.Query));
    ReadFormColumnUse();
  } else {
    m_strStoredName.clear();
    m_formUse = {};
  }
  FillProcedureList();
  return true;
}

void CProfileBuildQueryForProcPage::ReadFormColumnUse() {
  m_formUse = {};
  const admin::CDatabseConnection* settings = Settings();
  if (settings == nullptr) return;
  const int32_t profileId = m_draft.GetProfileRecord().ProfileID;
  GetFormMappedColumns(*settings, profileId, &m_formUse.mapped);
  GetLookupColumns(*settings, profileId, &m_formUse.lookup);
  Log(QStringLiteral("<ProfileBuildQueryForProcPage> %1 No of Field of Edited profile is Mapped to the Form.")
          .arg(m_formUse.mapped.size()));
  Log(QStringLiteral("<ProfileBuildQueryForProcPage>  %1 no of lookup column of Edited profile are assigned.")
          .arg(m_formUse.lookup.size()));
}

void CProfileBuildQueryForProcPage::FillProcedureList() {
  if (!m_pConnManager->IsConnected()) return;
  QStringList names;
  m_pConnManager->GetConnection().GetProcedureList(&names);
  Log(QStringLiteral("Number of Procedures in Selected Database : %1.").arg(names.size()));
  const bool edit = m_draft.IsEditMode();
  if (edit) {
    m_strStoredProcedure = GetProcedureNameFromCall(m_strDriverDescription, m_draft.GetProfileRecord().Query);
    Log(QStringLiteral("After Parse..the procedure Name is : %1.").arg(m_strStoredProcedure));
  }
  {
    const QSignalBlocker blocker(m_pProcedureList);
    m_pProcedureList->addItems(names);
  }
  if (!edit) return;
  SelectStoredProcedure();
  OnLBNSelChangeListProcForEditProfile();
}

void CProfileBuildQueryForProcPage::SelectStoredProcedure() {
  const QSignalBlocker blocker(m_pProcedureList);
  m_pProcedureList->clearSelection();
  const QList<QListWidgetItem*> found = m_pProcedureList->findItems(m_strStoredProcedure, Qt::MatchExactly);
  if (!found.isEmpty()) {
    found.front()->setSelected(true);
    m_pProcedureList->setCurrentItem(found.front(), QItemSelectionModel::NoUpdate);
  }
}

QString CProfileBuildQueryForProcPage::SelectedProcedure() const {
  const QList<QListWidgetItem*> selected = m_pProcedureList->selectedItems();
  return selected.size() == 1 ? selected.front()->text() : QString();
}

QString CProfileBuildQueryForProcPage::OtherProcedureRefusal() const {
  const admin::CDatabseConnection* settings = Settings();
  if (settings == nullptr) return {};
  const int32_t profileId = m_draft.GetProfileRecord().ProfileID;
  QString title;
  if (FindFormUsingLookupProfile(*settings, profileId, &title) == 1)
    return QStringLiteral(
        "The Column of Current profile has been assigned to form in Form Manager as Lookup Column. You can not select "
        "another Table/Views/Stored procedure untll you remove the column as Lookup Column from form Manager.");
  if (ProfileHasForms(*settings, profileId) == 1)
    return QStringLiteral(
        "Current profile has been assigned to form in Form Manager. You can not select another Table/Views/Stored "
        "procedure untll you delete form assigned to this profile.");
  return {};
}

void CProfileBuildQueryForProcPage::OnProcedureSelected() {
  Log(QStringLiteral("Database Type : %1.").arg(m_draft.GetProfileRecord().DBType));
  const QList<QListWidgetItem*> selected = m_pProcedureList->selectedItems();
  if (m_draft.IsEditMode() && (selected.size() != 1 || selected.front()->text() != m_strStoredProcedure)) {
    if (const QString refusal = OtherProcedureRefusal(); !refusal.isEmpty()) {
      WriteAppLog(kEditLogCode, refusal);
      Box(this, refusal, platform::MB_OK);
      SelectStoredProcedure();
      return;
    }
  }
  HidePreview();
  m_pConnManager->CloseStatement();
  m_pResultList->DeleteAllItems();
  if (selected.size() > 1) {
    Box(this, QStringLiteral("Please select only one Procedure..."), platform::MB_OK | platform::MB_ICONINFORMATION);
    return;
  }
  if (selected.isEmpty()) return;
  FillParameterList();
  SelectProcedure();
  BuildCallText(true);
}

void CProfileBuildQueryForProcPage::FillParameterList() {
  ResetColumns(m_pParameterList,
               {QStringLiteral("Parameter Names"), QStringLiteral("Dataypes"), QStringLiteral("Directions")},
               m_pResultList->viewport()->width());
  const platform::WaitCursor waitCursor;
  m_parameters = GetProcedureParameters(m_pConnManager->GetConnection(), m_draft.GetProfileRecord().DB_DSN,
                                        SelectedProcedure(), IsMySql());
  Log(QStringLiteral("No. of Procedure Parameters : %1.").arg(m_parameters.size()));
  for (const ProcedureParameter& parameter : m_parameters) {
    const int row = m_pParameterList->InsertItem(m_pParameterList->GetItemCount(), parameter.name);
    m_pParameterList->SetItemText(row, 1, GetSqlTypeName(parameter.sqlType));
    m_pParameterList->SetItemText(row, 2, GetParamTypeName(parameter.kind));
  }
}

void CProfileBuildQueryForProcPage::ResetResultList() {
  ResetColumns(m_pResultList, {QStringLiteral("Column Names"), QStringLiteral("Datatypes")},
               m_pResultList->viewport()->width());
}

void CProfileBuildQueryForProcPage::SelectProcedure() {
  ResetResultList();
  const QString procedure = SelectedProcedure();
  Log(QStringLiteral("Procedure %1 is selected.").arg(procedure));
  QList<ParameterRecord> records = ParameterRecordsToAsk(m_parameters);
  m_strArguments.clear();
  if (!records.isEmpty()) {
    CParameterDialog dialog(&records, 1, this);
    if (dialog.exec() == QDialog::Accepted)
      m_strArguments = JoinParameterValues(records);
    else
      Log(QStringLiteral("Cancel Fill Parameter Dialog."));
  }
  m_strCallText = ::BuildCallText(Syntax(), procedure, m_strArguments);
  Log(QStringLiteral("SQL Query for Procedure Call : %1.").arg(m_strCallText));
  ExecuteCall();
}

void CProfileBuildQueryForProcPage::ExecuteCall() {
  QString error;
  {
    const platform::WaitCursor waitCursor;
    if (m_pConnManager->FetchContents(&error, m_strCallText) != 1) {
      Box(this, error, platform::MB_OK | platform::MB_ICONERROR);
      return;
    }
  }
  QStringList names;
  QList<int16_t> types;
  const int count = m_pConnManager->GetColumnInfoList(&names, &types);
  Log(QStringLiteral("No. of Columns : %1.").arg(count));
  for (qsizetype column = 0; column < names.size(); ++column) {
    const int row = m_pResultList->InsertItem(m_pResultList->GetItemCount(), names.at(column));
    m_pResultList->SetItemText(row, 1, GetSqlTypeName(types.at(column)));
  }
}

void CProfileBuildQueryForProcPage::BuildCallText(bool allowApply) {
  m_pNameEdit->setText(SelectedProcedure());
  SettleCallOutcome(allowApply);
}

void CProfileBuildQueryForProcPage::SettleCallOutcome(bool allowApply) {
  CBMButton* apply = m_pWizard->GetButton(CWizardSheet::Button::Apply);
  if (m_pResultList->GetItemCount() > 0) {
    m_pPreviewButton->setEnabled(!BuildCallStart(Syntax(), SelectedProcedure()).isEmpty());
    if (allowApply) apply->setEnabled(true);
    m_strCallText = ::BuildCallText(Syntax(), SelectedProcedure(), m_strArguments);
    return;
  }
  Log(kNoResultSet);
  Box(this, kNoResultSet, platform::MB_OK);
  m_pPreviewButton->setEnabled(false);
  apply->setEnabled(false);
  m_pParameterList->DeleteAllItems();
}

void CProfileBuildQueryForProcPage::OnLBNSelChangeListProcForEditProfile() {
  Log(QStringLiteral("<ProfileBuildQueryForProcPage> <OnLBNSelChangeListProcForEditProfile> Start"));
  Log(QStringLiteral("Database Type : %1.").arg(m_draft.GetProfileRecord().DBType));
  m_pConnManager->CloseStatement();
  if (m_pProcedureList->selectedItems().size() == 1) FillColumnsForEditProfile();
  Log(QStringLiteral("<ProfileBuildQueryForProcPage> <OnLBNSelChangeListProcForEditProfile> End"));
}

void CProfileBuildQueryForProcPage::FillColumnsForEditProfile() {
  Log(QStringLiteral("<ProfileBuildQueryForProcPage> <FillColumnsForEditProfile> Start"));
  FillParameterList();
  ResetResultList();
  Log(QStringLiteral("Procedure %1 is selected.").arg(SelectedProcedure()));
  m_strArguments = GetProcedureArgsFromCall(m_strDriverDescription, m_draft.GetProfileRecord().Query);
  m_strCallText = ::BuildCallText(Syntax(), SelectedProcedure(), m_strArguments);
  Log(QStringLiteral("SQL Query for Procedure Call : %1.").arg(m_strCallText));
  ExecuteCall();
  SettleCallOutcome(true);
  Log(QStringLiteral("<ProfileBuildQueryForProcPage> <FillColumnsForEditProfile> End"));
}

void CProfileBuildQueryForProcPage::TogglePreview() {
  if (m_pPreviewButton->text() == kHidePreview) {
    HidePreview();
    return;
  }
  m_bPreviewShown = true;
  m_pRecordCount->setText(QStringLiteral("Number of Records:%1").arg(m_pConnManager->GetRowCount()));
  m_pPopup->Grid().SetHandler(m_pConnManager->GetActiveHandler());
  const QRect sheet = m_pWizard->frameGeometry();
  m_pPopup->setGeometry(sheet.left(), sheet.bottom() + 1, sheet.width(), m_pPopup->height());
  m_pPopup->show();
  m_pPreviewButton->setText(kHidePreview);
}

void CProfileBuildQueryForProcPage::HidePreview() {
  m_pPopup->hide();
  m_bPreviewShown = false;
  m_pPreviewButton->setText(kShowPreview);
  m_pRecordCount->clear();
}

int CProfileBuildQueryForProcPage::OnWizardBack() {
  HidePreview();
  return kMoveOn;
}

void CProfileBuildQueryForProcPage::OnHelp() { ShowHelpBalloon(kHelpTopic, this, BalloonAnchor::WizardPage); }

QStringList CProfileBuildQueryForProcPage::ResultColumns() const {
  QStringList columns;
  for (int row = 0; row < m_pResultList->GetItemCount(); ++row) columns.append(m_pResultList->GetItemText(row, 0));
  return columns;
}

bool CProfileBuildQueryForProcPage::ConfirmEditSave(const QStringList& resultColumns) {
  const ProfileRecord& record = m_draft.GetProfileRecord();
  if (!AskYesNo(this, QStringLiteral("Current profile: %1 has changed. Do you want to save the changes?")
                          .arg(m_strStoredName)))
    return false;
  WriteAppLog(kRemoveLogCode, QStringLiteral("Profile %1 with Profile ID %2 is removing for Edit.")
                                  .arg(m_strStoredName)
                                  .arg(record.ProfileID));
  if (const QString missing = CheckProcedureFormColumnsKept(m_formUse, resultColumns); !missing.isEmpty()) {
    Box(this, missing, platform::MB_OK);
    return false;
  }
  return true;
}

bool CProfileBuildQueryForProcPage::RecheckRows() {
  if (!m_pConnManager->IsConnected()) return true;
  QString error;
  const platform::WaitCursor waitCursor;
  if (m_pConnManager->FetchContents(&error, m_strCallText) != 1) {
    Box(this, error, platform::MB_OK | platform::MB_ICONERROR);
    return false;
  }
  if (admin::CDBHandler* rows = m_pConnManager->GetActiveHandler(); rows != nullptr && HasEmptyRow(*rows)) {
    Box(this,
        QStringLiteral("It seems that your selected table/file has some empty records, please delete those records "
                       "and try again."),
        platform::MB_OK);
    return false;
  }
  return true;
}

bool CProfileBuildQueryForProcPage::OnWizardFinish() {
  const bool edit = m_draft.IsEditMode();
  const QStringList resultColumns = ResultColumns();
  if (edit && !ConfirmEditSave(resultColumns)) return false;
  if (resultColumns.isEmpty()) {
    Box(this, QStringLiteral("Please, Select Procedure from available procedures list."), platform::MB_OK);
    return false;
  }
  admin::CDatabseConnection* settings = Settings();
  const QString name = m_pNameEdit->text().trimmed();
  const auto exists = [settings](const QString& n) {
    return settings != nullptr && FindProfileByName(*settings, n) == 1;
  };
  const QString refusal = CheckProfileName(name, ProfilePage::kProcedure, m_strStoredName, exists);
  if (!refusal.isEmpty()) {
    Box(this, refusal, platform::MB_OK | platform::MB_ICONINFORMATION);
    return false;
  }
  if (!RecheckRows()) return false;
  ProfileRecord& record = m_draft.GetProfileRecord();
  record.IsPrimaryKeySelected = 0;
  record.DBInfo = name;
  record.Query = m_strCallText;
  record.ProfileType = 2;
  record.SortColumnsInfo = QStringLiteral("0#");
  record.FiltersInfo = QStringLiteral("0#");
  if (!AskYesNo(this,
                QStringLiteral("You have selected \"Stored Procedure\" for Profile. Profile created for \"Stored "
                               "Procedure\" does not allow to change in database,\r\nSo you will not have "
                               "Add/Edit/Delete Record option on Device. \r\n\nDo you want to continue to Create "
                               "Profile ?"),
                platform::MB_ICONINFORMATION)) {
    Log(QStringLiteral("Cancel Profile Creation of \"Stored Procedure\" Type"));
    return false;
  }
  Log(QStringLiteral("Continue Profile Creation of \"Stored Procedure\" Type"));
  HidePreview();
  if (settings == nullptr) return false;
  const CTarnwickApp* app = GetTarnwickApp();
  const ProfileStoreRequest request{edit ? ProfileStoreMode::kEdit : ProfileStoreMode::kNew, app->GetDefaultUserID()};
  return CreateProcedureProfile(*settings, request, &record);
}
