#include "admin/forms/FormProfileSelectionDlg.h"

#include "admin/forms/DesignerProfile.h"
#include "admin/forms/FormDocument.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/foundation/SettingsQuery.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/DeviceUserList.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/WizardSheet.h"
#include "platform/widgets/MessageBox.h"
#include "shared/contract/SettingsTables.h"

#include <QHeaderView>
#include <QLabel>

namespace {

constexpr int kPageHelpTopic = 30;
constexpr QSize kPageSize(760, 600);

// Columns of "Select * from ProfileInfo".
constexpr int16_t kProfileID = 0;
constexpr int16_t kDBInfo = 1;
constexpr int16_t kDBType = 2;
constexpr int16_t kDB_DSN = 3;
constexpr int16_t kQuery = 6;
constexpr int16_t kPath = 7;

QString ProfilePageLog(const QString& text) { return QStringLiteral("<FormProfileSelectionDlg> ") + text; }

void ShowInformation(QWidget* parent, const QString& text) {
  platform::MessageBox(parent, text, ProgramTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
}

}  // namespace

CFormProfileSelectionDlg::CFormProfileSelectionDlg(CWizardSheet* wizard, FormDocument& document)
    : CWizardSheetPage(wizard), m_pWizard(wizard), m_document(document), m_pProfileList(new CColoredListCtrl(this)) {
  resize(kPageSize);
  auto* intro = new QLabel(QStringLiteral("Use this wizard to create the form for the database profile which you have "
                                          "already created in   Profile Manager. Just follow the instructions on each "
                                          "screen."),
                           this);
  intro->setWordWrap(true);
  intro->setGeometry(20, 10, 720, 40);
  auto* caption =
      new QLabel(QStringLiteral("Select Database Profile for Form Design from Available Profile  List"), this);
  caption->setGeometry(20, 60, 720, 20);
  m_pProfileList->setObjectName(QStringLiteral("1024"));
  m_pProfileList->setShowGrid(true);
  m_pProfileList->setGeometry(20, 86, 720, 480);
  connect(m_pProfileList, &QTableWidget::itemSelectionChanged, this, &CFormProfileSelectionDlg::OnProfileSelected);
}

CFormProfileSelectionDlg::~CFormProfileSelectionDlg() = default;

void CFormProfileSelectionDlg::OnInitDialog() {
  InitProfileListColumns();
  FillProfileList();
}

void CFormProfileSelectionDlg::InitProfileListColumns() {
  const int width = ShareOfListWidth(*m_pProfileList, 3);
  int column = 0;
  for (const QString& heading :
       {QStringLiteral("Profile Name"), QStringLiteral("Desktop Database Name/DSN Name"), QStringLiteral("SQL Query")})
    m_pProfileList->InsertColumn(column++, heading, width);
  if (const CTarnwickApp* app = GetTarnwickApp()) m_pProfileList->horizontalHeader()->setFont(app->GetBoldFont());
}

void CFormProfileSelectionDlg::FillProfileList() {
  CTarnwickApp* app = GetTarnwickApp();
  if (app != nullptr && app->GetSettingsConnection().IsConnected()) {
    const admin::CDatabseConnection& settings = app->GetSettingsConnection();
    SettingsQuery profiles(settings, QStringLiteral("Select * from %1").arg(settingsdb::kProfileInfo));
    while (profiles.NextRow()) {
      if (IsProfileAssigned(settings, profiles.Number(kProfileID)) != 1) continue;
      const int row = m_pProfileList->InsertItem(m_pProfileList->GetItemCount(), profiles.Text(kDBInfo));
      const QString source = profiles.Text(kDBType) == QStringLiteral("0")
                                 ? profiles.Text(kDB_DSN)
                                 : profiles.Text(kPath) + profiles.Text(kDB_DSN);
      m_pProfileList->SetItemText(row, 1, source);
      m_pProfileList->SetItemText(row, 2, profiles.Text(kQuery));
    }
  }
  WriteAppLog(-1, ProfilePageLog(QStringLiteral("%1 Number of Profile's are Available.").arg(m_pProfileList->GetItemCount())));
  EnableNext(false);
}

void CFormProfileSelectionDlg::EnableNext(bool enabled) {
  m_pWizard->GetButton(CWizardSheet::Button::Next)->setEnabled(enabled);
}

QString CFormProfileSelectionDlg::SelectedProfileName() const {
  const int row = m_pProfileList->GetSelectionMark();
  return row < 0 ? QString() : m_pProfileList->GetItemText(row, 0);
}

void CFormProfileSelectionDlg::OnProfileSelected() {
  const QString name = SelectedProfileName();
  if (name.isEmpty()) return;
  CTarnwickApp* app = GetTarnwickApp();
  const int32_t profileId = app != nullptr ? GetProfileIDByName(app->GetSettingsConnection(), name) : 0;
  WriteAppLog(-1, ProfilePageLog(QStringLiteral("Profile %1 with profile ID %2 is selected.").arg(name).arg(profileId)));
  EnableNext(true);
}

bool CFormProfileSelectionDlg::OnSetActive() {
  m_pWizard->SetTitle(QStringLiteral("New Form : Database Profile Selection"));
  if (!m_bLeftForDesigner) return true;
  m_pWizard->ShowButton(CWizardSheet::Button::Back, false);
  m_pWizard->ShowButton(CWizardSheet::Button::Apply, false);
  m_pWizard->ShowButton(CWizardSheet::Button::Next, true);
  m_bLeftForDesigner = false;
  return true;
}

int CFormProfileSelectionDlg::OnWizardNext() {
  const QString name = SelectedProfileName();
  if (name.isEmpty()) {
    ShowInformation(this,
                    QStringLiteral("Database Profile not selected. Please Select Profile from available Profile List."));
    return kStay;
  }
  if (!HandProfileToDesigner(name)) return kStay;
  m_bLeftForDesigner = true;
  return kMoveOn;
}

bool CFormProfileSelectionDlg::HandProfileToDesigner(const QString& profileName) {
  FormInfo& form = m_document.GetFormInfo();
  form.SetFormName(profileName);
  form.ProfileName = profileName;
  m_document.SetProfileColumns({});
  CTarnwickApp* app = GetTarnwickApp();
  DesignerProfile profile;
  if (app == nullptr || LoadProfileForDesigner(app->GetSettingsConnection(), profileName, &profile) != 1) {
    WriteAppLog(-1, ProfilePageLog(QStringLiteral("Problem to Get Profile Details.")));
    ShowInformation(this, QStringLiteral("Problem to Get Profile Details."));
    return false;
  }
  m_document.SetLoadedProfile(profile);
  WriteAppLog(-1, ProfilePageLog(QStringLiteral("Profile %1 with profile ID %2 is selected for Form Design.")
                                     .arg(profileName)
                                     .arg(profile.ProfileID)));
  return true;
}

void CFormProfileSelectionDlg::OnHelp() { ShowHelpBalloon(kPageHelpTopic, this, BalloonAnchor::WizardPage); }
