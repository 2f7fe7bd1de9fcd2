#include "admin/profiles/ProfileManagerDlg.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/DBConnManager.h"
#include "admin/foundation/ExcelProfile.h"
#include "admin/foundation/OdbcUtilities.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/foundation/SyncControl.h"
#include "admin/profiles/NewProfileWizard.h"
#include "admin/profiles/ProfileDatabaseConnectionPage.h"
#include "admin/profiles/ProfileList.h"
#include "admin/profiles/ProfileManagerActions.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/BMSmallButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TarnwickApp.h"
#include "platform/widgets/MessageBox.h"
#include "platform/widgets/WaitCursor.h"
#include "shared/data/SourceKinds.h"
#include "shared/odbc/OdbcDiagnostics.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>

#include <algorithm>
#include <set>

namespace {

constexpr int kXlsmKind = 8;
constexpr int kMySqlKind = 9;
// The two lines of information under the buttons, clear of the "?" button on the right.
constexpr int kInformationLeft = 20;
constexpr int kInformationRight = 708;
constexpr int kInformationTop = 350;
constexpr int kInformationLineHeight = 24;

void Log(const QString& text) { WriteAppLog(-1, text); }

QFont InformationFont() {
  QFont font(QStringLiteral("Verdana"));
  font.setPixelSize(14);
  font.setWeight(QFont::Bold);
  return font;
}

QLabel* MakeLabel(const QString& text, const QString& id, const QRect& place, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(id);
  label->setGeometry(place);
  return label;
}

}  // namespace

CProfileManagerDlg::RefreshPause::RefreshPause(CProfileManagerDlg& dialog) : m_dialog(dialog) {
  if (m_dialog.m_nPauses++ == 0) m_dialog.m_refreshTimer.stop();
}

CProfileManagerDlg::RefreshPause::~RefreshPause() {
  if (--m_dialog.m_nPauses == 0) m_dialog.m_refreshTimer.start();
}

CProfileManagerDlg::CProfileManagerDlg(CTarnwickApp& app, QWidget* parent)
    : QDialog(parent, Qt::Widget), m_app(app), m_boldFont(InformationFont()) {
  CreateControls();
  InitListColumns();
  RefreshProfileList();
  m_warningTimer.setSingleShot(true);
  m_warningTimer.callOnTimeout(this, &CProfileManagerDlg::ShowSyncWarning);
  m_refreshTimer.callOnTimeout(this, &CProfileManagerDlg::OnRefreshTimer);
  m_warningTimer.start(kWarningDelayMs);
  m_refreshTimer.start(kRefreshIntervalMs);
}

CProfileManagerDlg::~CProfileManagerDlg() = default;

void CProfileManagerDlg::CreateControls() {
  resize(760, 400);
  ApplyDialogBrush(this);
  auto* frame = new QGroupBox(QStringLiteral("Profile List"), this);
  frame->setObjectName(QStringLiteral("1025"));
  frame->setGeometry(10, 6, 740, 300);
  m_pProfileList = new CColoredListCtrl(this);
  m_pProfileList->setObjectName(QStringLiteral("1024"));
  m_pProfileList->setGeometry(20, 28, 720, 268);
  m_pProfileList->setShowGrid(true);
  m_pProfileList->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pProfileList->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pProfileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pProfileList->verticalHeader()->hide();
  m_pProfileList->SetMarking(true);
  // Kept from the layout for the users of a profile; nothing fills or shows them.
  m_pUserList = new CColoredListCtrl(this);
  m_pUserList->setObjectName(QStringLiteral("1018"));
  m_pUserInformation = MakeLabel(QStringLiteral("User Information For Selected Profile"), QStringLiteral("1026"),
                                 QRect(20, 310, 300, 20), this);
  m_pUserList->hide();
  m_pUserInformation->hide();
  auto* add = new CBMButton(QStringLiteral("Add Profile"), 1028, QRect(20, 316, 120, 28), this);
  m_pEditProfile = new CBMButton(QStringLiteral("Edit Profile"), 1029, QRect(150, 316, 120, 28), this);
  m_pRemoveProfile = new CBMButton(QStringLiteral("Remove Profile"), 1030, QRect(280, 316, 120, 28), this);
  m_pHelp = new CBMButton(QStringLiteral("Help"), 1015, QRect(410, 316, 90, 28), this);
  new CBMButton(QStringLiteral("Information"), 1176, QRect(510, 316, 110, 28), this);
  m_pSmallHelp = new CBMSmallButton(QStringLiteral("?"), this);
  m_pSmallHelp->setObjectName(QStringLiteral("1153"));
  m_pSmallHelp->setGeometry(716, 362, 24, 22);
  m_pSmallHelp->setFont(m_boldFont);
  CreateInformation();
  connect(add, &QPushButton::clicked, this, &CProfileManagerDlg::AddProfile);
  connect(m_pEditProfile, &QPushButton::clicked, this, &CProfileManagerDlg::EditProfile);
  connect(m_pRemoveProfile, &QPushButton::clicked, this, &CProfileManagerDlg::RemoveProfile);
  connect(m_pHelp, &QPushButton::clicked, this, &CProfileManagerDlg::OnHelp);
  connect(m_pSmallHelp, &QPushButton::clicked, this, &CProfileManagerDlg::OnSmallHelp);
  connect(m_pProfileList, &QTableWidget::itemSelectionChanged, this, &CProfileManagerDlg::OnProfileSelected);
}

// Captions as wide as the wider of them, the names in the rest of the line: a computer name or a
// device ID shows whole up to its forty characters.
void CProfileManagerDlg::CreateInformation() {
  const QFontMetrics metrics(m_boldFont);
  const int captionWidth = std::max(metrics.horizontalAdvance(QStringLiteral("Computer Name :")),
                                    metrics.horizontalAdvance(QStringLiteral("Device ID :"))) + 4;
  const int valueLeft = kInformationLeft + captionWidth + 8;
  const auto line = [&](int index, const QString& caption, const QString& captionId, const QString& value,
                        const QString& valueId) {
    const int top = kInformationTop + index * kInformationLineHeight;
    MakeLabel(caption, captionId, QRect(kInformationLeft, top, captionWidth, 22), this)->setFont(m_boldFont);
    MakeLabel(value, valueId, QRect(valueLeft, top, kInformationRight - valueLeft, 22), this)->setFont(m_boldFont);
  };
  line(0, QStringLiteral("Computer Name :"), QStringLiteral("1165"), m_app.GetDesktopName(), QStringLiteral("1166"));
  line(1, QStringLiteral("Device ID :"), QStringLiteral("1177"), m_app.GetDefaultUserID(), QStringLiteral("1178"));
}

void CProfileManagerDlg::InitListColumns() {
  // The viewport gets its size only when the list is first shown; the room it will have is known.
  const int third = m_pProfileList->maximumViewportSize().width() / 3;
  m_pProfileList->InsertColumn(0, QStringLiteral("Profile Name"), third);
  m_pProfileList->InsertColumn(1, QStringLiteral("Desktop Database Name/DSN Name"), third);
  m_pProfileList->InsertColumn(2, QStringLiteral("SQL Query"), third + 2);
  m_pProfileList->horizontalHeader()->setFont(m_app.GetBoldFont());
}

// Enter and Esc do not close the module: it stays in the main window until another item is chosen.
void CProfileManagerDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(event);
}

int CProfileManagerDlg::Box(const QString& text, unsigned type) {
  const RefreshPause pause(*this);
  return platform::MessageBox(this, text, ProgramTitle(), type);
}

bool CProfileManagerDlg::SettingsConnected() {
  if (m_app.GetSettingsConnection().IsConnected()) return true;
  const RefreshPause pause(*this);
  // A database that stays away would otherwise bring a box every 15 seconds.
  if (!m_app.ReconnectSettingsDatabase(!m_bConnectFailureShown)) {
    m_bConnectFailureShown = true;
    return false;
  }
  m_bConnectFailureShown = false;
  return true;
}

void CProfileManagerDlg::RefreshProfileList() {
  const QString selected = SelectedName();
  {
    const QSignalBlocker blocker(m_pProfileList);
    m_pProfileList->DeleteAllItems();
    m_pProfileList->SetMarkedRows({});
    LoadProfileList();
    SelectByName(selected);
  }
  m_pUserInformation->hide();
  m_pUserList->hide();
  const bool any = m_pProfileList->GetItemCount() > 0;
  m_pEditProfile->setEnabled(any);
  m_pRemoveProfile->setEnabled(any);
}

bool CProfileManagerDlg::LoadProfileList() {
  if (!SettingsConnected()) return false;
  std::set<int> pending;
  for (const ProfileListRow& profile : ::LoadProfileList(m_app.GetSettingsConnection())) {
    const int row = m_pProfileList->InsertItem(m_pProfileList->GetItemCount(), profile.name);
    m_pProfileList->SetItemText(row, 1, profile.source);
    m_pProfileList->SetItemText(row, 2, profile.query);
    if (profile.pending) pending.insert(row);
  }
  m_pProfileList->SetMarkedRows(pending);
  WriteAppLog(19, QStringLiteral("%1 Number of Profile's are Available.").arg(m_pProfileList->GetItemCount()));
  return true;
}

QString CProfileManagerDlg::SelectedName() const {
  const int row = m_pProfileList->GetSelectionMark();
  return row < 0 ? QString() : m_pProfileList->GetItemText(row, 0);
}

void CProfileManagerDlg::SelectByName(const QString& name) {
  if (name.isEmpty()) return;
  for (int row = 0; row < m_pProfileList->GetItemCount(); ++row) {
    if (m_pProfileList->GetItemText(row, 0) != name) continue;
    m_pProfileList->SetSelectionMark(row);
    return;
  }
}

void CProfileManagerDlg::OnProfileSelected() {
  const QString name = SelectedName();
  if (name.isEmpty() || m_pProfileList->GetItemCount() == 0) return;
  const int32_t profileId = GetProfileIDByName(m_app.GetSettingsConnection(), name);
  WriteAppLog(22, QStringLiteral("Profile %1 with profile ID %2 is selected.").arg(name).arg(profileId));
  m_pUserInformation->hide();
  m_pUserList->hide();
}

bool CProfileManagerDlg::RunWizard(CNewProfileWizard& wizard) {
  const RefreshPause pause(*this);
  return wizard.exec() == CWizardSheet::kFinishResult;
}

void CProfileManagerDlg::AddProfile() {
  WriteAppLog(25, QStringLiteral("Add Profile started."));
  {
    CNewProfileWizard wizard(CNewProfileWizard::kNewMode, CNewProfileWizard::kTableKind, this);
    if (RunWizard(wizard)) RefreshProfileList();
  }
  admin::DeleteTempExcelCopies();
  WriteAppLog(50, QStringLiteral("Add Profile end."));
}

void CProfileManagerDlg::EditProfile() {
  const QString name = SelectedName();
  ProfileRecord record;
  if (const QString refusal = EditProfileRefusal(m_app.GetSettingsConnection(), name, &record); !refusal.isEmpty()) {
    Box(refusal, platform::MB_OK);
    return;
  }
  WriteAppLog(51, QStringLiteral("Edit Profile started."));
  WriteAppLog(52, QStringLiteral("Profile %1 with Profile ID :%2.").arg(name).arg(record.ProfileID));
  const bool procedure = record.ProfileType == 2;
  CNewProfileWizard wizard(CNewProfileWizard::kEditMode,
                           procedure ? CNewProfileWizard::kProcedureKind : CNewProfileWizard::kTableKind, this);
  ConnectForEdit(wizard, record);
  // The wizard edits the stored profile even when its source is away: its page then lists
  // nothing, and a save keeps the profile's number.
  wizard.GetDraft().GetProfileRecord() = record;
  if (RunWizard(wizard)) RefreshProfileList();
  WriteAppLog(53, QStringLiteral("Edit Profile end."));
}

void CProfileManagerDlg::ConnectForEdit(CNewProfileWizard& wizard, const ProfileRecord& record) {
  if (record.ProfileType != 2) {
    ConnectTableSource(wizard, record);
    return;
  }
  Log(QStringLiteral("<ProfileManagerDlg> Profile Type is the STORED PROOCEDURE."));
  Log(QStringLiteral("DSN Name : %1").arg(record.DB_DSN));
  Log(QStringLiteral("DSN Driver Name : %1").arg(GetDataSourceDriver(record.DB_DSN)));
  QString error;
  const bool connected = [&] {
    const platform::WaitCursor busy;
    return wizard.GetDraft().GetConnManager().ConnectByType(record.DB_DSN, record.UserName, record.Password, &error,
                                                            0) == 1;
  }();
  if (!connected) {
    Log(error);
    return;
  }
  Log(QStringLiteral("<ProfileManagerDlg>Database is Connected For Edit Profile."));
  Log(record.DB_DSN);
}

void CProfileManagerDlg::ConnectTableSource(CNewProfileWizard& wizard, const ProfileRecord& record) {
  Log(QStringLiteral("<ProfileManagerDlg> Profile Type is The Table or View"));
  CProfileDatabaseConnectionPage* page = wizard.m_DatabaseConnectionPage;
  QString path = record.tempPath + record.DB_DSN;
  QString folder = GetDirectoryPart(path);
  Log(record.tempPath.isEmpty() ? QStringLiteral("<ProfileManagerDlg> Edited Profile is DSN Type")
                                : QStringLiteral("<ProfileManagerDlg> Edited Profile is Not DSN Type"));
  const int code = record.DBType.toInt();
  if (code == sourcekind::kTxt && record.Path != record.tempPath) {
    Log(QStringLiteral("<ProfileManagerDlg> Edited Profile have isExcel true."));
    QString workbook = record.Path + record.DB_DSN;
    admin::DeleteEmptyRowsInExcelSheets(&workbook, record.DB_DSN);
    if (page->ExportWorkbookSheets(&workbook, &folder)) path = workbook;
  } else if (code == kXlsmKind) {
    admin::DeleteEmptyRowsInExcelSheets(&path, record.DB_DSN);
  }
  const uint8_t kind = code == kMySqlKind ? uint8_t{0} : static_cast<uint8_t>(code);
  const QString target = IsFolderSourceKind(kind) ? folder : path;
  QString error;
  CDBConnManager& source = wizard.GetDraft().GetConnManager();
  const bool connected = [&] {
    const platform::WaitCursor busy;
    return source.ConnectByType(target, record.UserName, record.Password, &error, kind) == 1;
  }();
  if (!connected) {
    Log(error);
    Box(error, platform::MB_OK | platform::MB_ICONERROR);
    return;
  }
  Log(QStringLiteral("<ProfileManagerDlg>Database is Connected For Edit Profile."));
}

void CProfileManagerDlg::RemoveProfile() {
  {
    const RefreshPause pause(*this);
    if (SelectedName().isEmpty()) {
      Box(QStringLiteral("No Profile is Selected."), platform::MB_OK);
      return;
    }
    RemoveListedProfile(m_app.GetSettingsConnection(), SelectedName());
  }
  RefreshProfileList();
}

void CProfileManagerDlg::OnHelp() { ShowHelpBalloon(kHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton); }

void CProfileManagerDlg::OnSmallHelp() {
  ShowHelpBalloon(kSmallHelpTopic, m_pSmallHelp, BalloonAnchor::FarDialogButton);
}

void CProfileManagerDlg::ShowSyncWarning() {
  m_warningTimer.stop();
  const QString warning = SyncProcessWarning(IsSyncProcessRunning());
  if (warning.isEmpty()) return;
  Log(warning);
  Box(warning, platform::MB_OK | platform::MB_ICONERROR);
}

void CProfileManagerDlg::OnRefreshTimer() {
  // A box or dialog of another part of the program is up: the list waits for the next tick.
  if (QApplication::activeModalWidget() != nullptr) return;
  RefreshProfileList();
}
