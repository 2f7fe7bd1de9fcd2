#include "admin/profiles/ProfileDatabaseConnectionPage.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/DBConnManager.h"
#include "admin/foundation/ExcelConnection.h"
#include "admin/foundation/ExcelProfile.h"
#include "admin/foundation/OdbcUtilities.h"
#include "admin/foundation/ProfileSources.h"
#include "admin/profiles/ProfileDraft.h"
#include "admin/profiles/ProfilePageLook.h"
#include "admin/profiles/UserDataSourceNames.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/BMSmallButton.h"
#include "admin/shell/DBAuthDlg.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/ExcelConnDlg.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/WizardSheet.h"
#include "platform/odbc/OdbcConfig.h"
#include "platform/widgets/DocumentLauncher.h"
#include "platform/widgets/FileOpenDialog.h"
#include "platform/widgets/MessageBox.h"
#include "platform/widgets/WaitCursor.h"
#include "shared/WorkbookFolder.h"
#include "shared/data/SourceKinds.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

constexpr int kSmallHelpTopic = 24;
constexpr int kPageHelpTopic = 25;
constexpr int kFileTableLogCode = 245;
constexpr int kOdbcTableLogCode = 244;
constexpr int kProcedureLogCode = 255;

const QString kBrowseFilters = QStringLiteral(
    "All Files (*.mdb *.accdb *.xls *.xlsx *.xlsm *.xlsb *.dbf *.txt *.csv *.fp7);;"
    "Microsoft Access Database(*.mdb *.accdb);;"
    "Excel File(*.xls *.xlsx *.xlsm *.xlsb);;"
    "FoxPro/dbase Database(*.dbf);;"
    "Text file(*.txt);;"
    "Comma Separator file(*.csv);;"
    "FileMaker Pro(*.fp7)");

// The driver whose sources take the user "admin" without a password before asking for a login.
constexpr QStringView kSequeLinkDriver = u"DataDirect 32-BIT SequeLink";

void Log(const QString& text) { WriteAppLog(-1, text); }

QString WithTrailingSlash(const QString& folder) { return folder.endsWith(u'/') ? folder : folder + u'/'; }

void ShowBox(QWidget* parent, const QString& text, unsigned icon) {
  platform::MessageBox(parent, text, ProgramTitle(), platform::MB_OK | icon);
}

}  // namespace

CProfileDatabaseConnectionPage::CProfileDatabaseConnectionPage(CWizardSheet* wizard, ProfileDraft& draft)
    : CWizardSheetPage(wizard), m_pWizard(wizard), m_draft(draft) {
  resize(kProfilePageSize);
  CreateControls();
}

CProfileDatabaseConnectionPage::~CProfileDatabaseConnectionPage() = default;

CDBConnManager* CProfileDatabaseConnectionPage::GetConnManager() const { return &m_draft.GetConnManager(); }

const QString& CProfileDatabaseConnectionPage::GetDriverDescription() const { return m_draft.GetDriverDescription(); }

bool CProfileDatabaseConnectionPage::IsExcel() const { return m_draft.IsExcel(); }

int CProfileDatabaseConnectionPage::GetSheetCount() const { return m_draft.GetSheetCount(); }

void CProfileDatabaseConnectionPage::CreateControls() {
  auto* intro = new QLabel(QStringLiteral("Use this Wizard to create new Database Synchronization Profile for the "
                                          "database you want to view. Just follow instructions on each screen."),
                           this);
  intro->setWordWrap(true);
  intro->setGeometry(20, 10, 460, 40);
  auto* frame = new QGroupBox(QStringLiteral("Database Connection"), this);
  frame->setObjectName(QStringLiteral("1257"));
  frame->setGeometry(20, 58, 460, 214);
  m_pFileChoice = new QRadioButton(QStringLiteral("File Based Database (MS Access, MS Excel, Foxpro/dBase)"), this);
  m_pFileChoice->setObjectName(QStringLiteral("1053"));
  m_pFileChoice->setGeometry(36, 82, 420, 22);
  m_pPathEdit = new QLineEdit(this);
  m_pPathEdit->setObjectName(QStringLiteral("1055"));
  m_pPathEdit->setReadOnly(true);
  QPalette white = m_pPathEdit->palette();
  white.setColor(QPalette::Base, Qt::white);
  m_pPathEdit->setPalette(white);
  m_pPathEdit->setGeometry(56, 110, 300, 24);
  m_pBrowse = new CBMButton(QStringLiteral("Browse"), this);
  m_pBrowse->setObjectName(QStringLiteral("1056"));
  m_pBrowse->setGeometry(370, 110, 90, 24);
  m_pOdbcChoice = new QRadioButton(QStringLiteral("ODBC Database (Select from available DSNs)"), this);
  m_pOdbcChoice->setObjectName(QStringLiteral("1054"));
  m_pOdbcChoice->setGeometry(36, 152, 420, 22);
  m_pDataSources = new QComboBox(this);
  m_pDataSources->setObjectName(QStringLiteral("1259"));
  m_pDataSources->setGeometry(56, 180, 300, 24);
  m_pConfig = new CBMButton(QStringLiteral("Config"), this);
  m_pConfig->setObjectName(QStringLiteral("1057"));
  m_pConfig->setGeometry(370, 180, 90, 24);
  m_pStoredProcedure = new QCheckBox(QStringLiteral("Stored Procedure"), this);
  m_pStoredProcedure->setObjectName(QStringLiteral("1260"));
  m_pStoredProcedure->setGeometry(56, 216, 200, 22);
  m_pSmallHelp = new CBMSmallButton(QStringLiteral("?"), this);
  m_pSmallHelp->setObjectName(QStringLiteral("1222"));
  m_pSmallHelp->setGeometry(436, 238, 24, 22);
  auto* choices = new QButtonGroup(this);
  choices->addButton(m_pFileChoice, kFileChoice);
  choices->addButton(m_pOdbcChoice, kOdbcChoice);
  m_pFileChoice->setChecked(true);
  connect(m_pFileChoice, &QRadioButton::clicked, this, &CProfileDatabaseConnectionPage::OnFileChoiceClicked);
  connect(m_pOdbcChoice, &QRadioButton::clicked, this, &CProfileDatabaseConnectionPage::OnOdbcChoiceClicked);
  connect(m_pBrowse, &QPushButton::clicked, this, &CProfileDatabaseConnectionPage::BrowseDatabaseFile);
  connect(m_pConfig, &QPushButton::clicked, this, &CProfileDatabaseConnectionPage::OnConfig);
  connect(m_pSmallHelp, &QPushButton::clicked, this, &CProfileDatabaseConnectionPage::OnSmallHelp);
  connect(m_pDataSources, &QComboBox::activated, this, &CProfileDatabaseConnectionPage::SelectDataSourceName);
}

void CProfileDatabaseConnectionPage::OnInitDialog() {
  FillDataSourceList();
  UpdateSourceChoice();
}

void CProfileDatabaseConnectionPage::FillDataSourceList() {
  m_pDataSources->addItems(ListUserDataSourceNames());
  m_pDataSources->setCurrentIndex(-1);
}

int CProfileDatabaseConnectionPage::GetSourceChoice() const {
  return m_pOdbcChoice->isChecked() ? kOdbcChoice : kFileChoice;
}

void CProfileDatabaseConnectionPage::UpdateSourceChoice() {
  const bool file = GetSourceChoice() == kFileChoice;
  m_pPathEdit->setEnabled(file);
  m_pBrowse->setEnabled(file);
  m_pDataSources->setEnabled(!file);
  m_pStoredProcedure->setVisible(!file);
  if (!file) m_pStoredProcedure->setChecked(false);
}

bool CProfileDatabaseConnectionPage::ReplaceConnManagerIfConnected() {
  if (!m_draft.GetConnManager().IsConnected()) return false;
  m_draft.ReplaceConnManager();
  return true;
}

void CProfileDatabaseConnectionPage::OnFileChoiceClicked() {
  UpdateSourceChoice();
  if (ReplaceConnManagerIfConnected()) m_pDataSources->setCurrentIndex(-1);
}

void CProfileDatabaseConnectionPage::OnOdbcChoiceClicked() {
  UpdateSourceChoice();
  if (ReplaceConnManagerIfConnected()) m_pPathEdit->clear();
}

bool CProfileDatabaseConnectionPage::OnSetActive() {
  m_pWizard->SetTitle(QStringLiteral("New Profile : Database Connection"));
  if (!m_draft.IsKindChosen()) return true;
  m_pWizard->ShowButton(CWizardSheet::Button::Back, false);
  m_pWizard->ShowButton(CWizardSheet::Button::Next, true);
  m_pWizard->ShowButton(CWizardSheet::Button::Apply, false);
  m_draft.ClearKind();
  return true;
}

int CProfileDatabaseConnectionPage::OnWizardNext() {
  if (!m_draft.GetConnManager().IsConnected()) {
    ShowBox(this, QStringLiteral("No valid database connection established."), platform::MB_ICONINFORMATION);
    return kStay;
  }
  const bool procedure = GetSourceChoice() == kOdbcChoice && m_pStoredProcedure->isChecked();
  if (procedure) {
    WriteAppLog(kProcedureLogCode, QStringLiteral("Stored Procedure Profile Type is selected."));
  } else {
    WriteAppLog(GetSourceChoice() == kFileChoice ? kFileTableLogCode : kOdbcTableLogCode,
                QStringLiteral("Table/View Profile Type is selected."));
  }
  m_draft.ChooseKind(procedure);
  return kMoveOn;
}

void CProfileDatabaseConnectionPage::OnHelp() { ShowHelpBalloon(kPageHelpTopic, this, BalloonAnchor::WizardPage); }

void CProfileDatabaseConnectionPage::OnSmallHelp() {
  ShowHelpBalloon(kSmallHelpTopic, m_pSmallHelp, BalloonAnchor::SmallHelpButton);
}

// There is no ODBC administrator here: the data source names are edited in the machine root's
// odbc.ini with the desktop's editor, or by hand when the desktop has none.
void CProfileDatabaseConnectionPage::OnConfig() {
  const QString path = platform::OdbcIniPath();
  if (!QFile::exists(path)) {
    QFile made(path);
    if (made.open(QIODevice::WriteOnly)) made.close();
  }
  if (QFile::exists(path) && platform::OpenDocument(path)) return;
  ShowBox(this,
          QStringLiteral("No program was found to open the file that defines the data source names:\n\n%1\n\n"
                         "Open it with a text editor and add a section for each data source name: the name in "
                         "brackets, then a line \"Driver=\" with a driver that odbcinst.ini in the same folder "
                         "names, and one line for each of the driver's settings. Then open this wizard again to "
                         "choose the new name.")
              .arg(path),
          platform::MB_ICONWARNING);
}

void CProfileDatabaseConnectionPage::StoreSourceFields(uint8_t code, const QString& connectionFolder,
                                                       const QString& user, const QString& password,
                                                       const QString& sourceFolder, const QString& name) {
  ProfileRecord& record = m_draft.GetProfileRecord();
  record.DBType = QString::number(code);
  record.DB_DSN = name;
  record.Path = sourceFolder;
  record.tempPath = connectionFolder;
  record.UserName = user;
  record.Password = password;
}

void CProfileDatabaseConnectionPage::BrowseDatabaseFile() {
  Log(QStringLiteral("Click Browse Button to select Database."));
  QString path = platform::GetOpenFileName(this, {kBrowseFilters, QStringLiteral("mdb")});
  if (path.isEmpty()) return;
  const QString chosenPath = path;
  const QString folder = GetDirectoryPart(path);
  m_draft.SetExcel(false);
  m_draft.SetSheetCount(0);
  Log(QStringLiteral("Database File Path : %1.").arg(path));
  const uint8_t code = SourceKindOfFile(path);
  Log(QStringLiteral("Database Type : %1.").arg(code));
  if (code == sourcekind::kOtherFile) {
    ShowBox(this, QStringLiteral("Unable to Connect to Source Database."), platform::MB_ICONERROR);
    return;
  }
  // No reader of binary workbooks exists here, and a stored 9 would be read back as a data
  // source name.
  if (code == sourcekind::kXlsbOrMySql) {
    Log(QStringLiteral("The binary workbook format (.xlsb) cannot be opened."));
    ShowConnectFailure(QStringLiteral("Unable To Connect"));
    return;
  }
  QString connectionFolder = folder;
  uint8_t connectionKind = code;
  if (IsWorkbookFileKind(code) && !PrepareWorkbook(&path, &connectionFolder, &connectionKind)) return;
  QString user;
  QString password;
  QString error;
  const QString target = IsFolderSourceKind(connectionKind) ? connectionFolder : path;
  const ConnectOutcome outcome =
      ConnectAskingLogin(target, connectionKind, code == sourcekind::kFileMaker, &user, &password, &error);
  if (outcome == ConnectOutcome::Cancelled) return;
  if (outcome == ConnectOutcome::Connected) {
    Log(QStringLiteral("Database is Connected."));
    m_pPathEdit->setText(path);
    StoreSourceFields(code, WithTrailingSlash(connectionFolder), user, password, WithTrailingSlash(folder),
                      QFileInfo(chosenPath).fileName());
  } else {
    ShowConnectFailure(error);
  }
  Log(QStringLiteral("End Browse button call."));
}

bool CProfileDatabaseConnectionPage::PrepareWorkbook(QString* path, QString* connectionFolder,
                                                     uint8_t* connectionKind) {
  Log(QStringLiteral("Excel Database is selected."));
  CExcelConnDlg choice(this);
  if (choice.exec() != QDialog::Accepted) return false;
  admin::DeleteEmptyRowsInExcelSheets(path, QFileInfo(*path).fileName());
  if (choice.GetChoice() == 1) {
    Log(QStringLiteral("View as Excel Worksheet option is selected."));
    return true;
  }
  Log(QStringLiteral("Use First row as field header option is selected."));
  if (!ExportWorkbookSheets(path, connectionFolder)) return false;
  // The text driver reads the export folder; no driver opens the workbook's own kind on a
  // "*.txt" pattern.
  *connectionKind = sourcekind::kTxt;
  return true;
}

bool CProfileDatabaseConnectionPage::ExportWorkbookSheets(QString* path, QString* connectionFolder) {
  const platform::WaitCursor waitCursor;
  m_draft.GetConnManager().CloseConnection(false);
  admin::CExcelConnection workbook;
  QString error;
  QStringList names;
  if (workbook.OpenWorkbook(&error, true, *path) == 1) m_draft.SetSheetCount(workbook.ExportSheetsToText(&names));
  if (m_draft.GetSheetCount() == 0) {
    ShowConnectFailure(error.isEmpty() ? QStringLiteral("Unable To Connect") : error);
    return false;
  }
  const QString exportFolder = WorkbookTempFolder();
  *path = exportFolder + QStringLiteral("/*.txt");
  *connectionFolder = exportFolder;
  m_draft.SetExcel(true);
  return true;
}

void CProfileDatabaseConnectionPage::SelectDataSourceName() {
  Log(QStringLiteral("DSN Combo List Changed."));
  m_draft.SetExcel(false);
  if (m_pDataSources->currentIndex() < 0) return;
  const QString name = m_pDataSources->currentText();
  const QString driver = GetDataSourceDriver(name);
  Log(QStringLiteral("DSN Name : %1").arg(name));
  Log(QStringLiteral("DSN Driver Name : %1").arg(driver));
  QString user;
  QString password;
  QString error;
  const ConnectOutcome outcome = ConnectAskingLogin(name, sourcekind::kNamedDataSource,
                                                    driver.contains(kSequeLinkDriver), &user, &password, &error);
  if (outcome == ConnectOutcome::Cancelled) return;
  if (outcome == ConnectOutcome::Connected) {
    m_draft.SetDriverDescription(driver);
    Log(QStringLiteral("Database is Connected."));
    // 9 marks a MySQL or MariaDB name only; every other name is 0.
    const uint8_t code =
        admin::CDatabseConnection::GetMySqlFlag() ? sourcekind::kXlsbOrMySql : uint8_t{sourcekind::kNamedDataSource};
    StoreSourceFields(code, QString(), user, password, QString(), name);
  } else {
    ShowConnectFailure(error);
  }
  Log(QStringLiteral("DSN Combo List Changed End."));
}

CProfileDatabaseConnectionPage::ConnectOutcome CProfileDatabaseConnectionPage::ConnectAskingLogin(
    const QString& target, uint8_t kind, bool tryAdmin, QString* user, QString* password, QString* error) {
  const auto connect = [this, &target, error, kind](const QString& name, const QString& secret) {
    const platform::WaitCursor busy;
    return m_draft.GetConnManager().ConnectByType(target, name, secret, error, kind) == 1;
  };
  if (connect(QString(), QString())) return ConnectOutcome::Connected;
  if (!WantsLogin()) return ConnectOutcome::Failed;
  const QString admin = QStringLiteral("admin");
  if (tryAdmin && connect(admin, QString())) {
    *user = admin;
    return ConnectOutcome::Connected;
  }
  CDBAuthDlg login(this);
  if (login.exec() != QDialog::Accepted) return ConnectOutcome::Cancelled;
  *user = login.GetUserName();
  *password = login.GetPassword();
  if (connect(*user, *password)) return ConnectOutcome::Connected;
  user->clear();
  password->clear();
  return ConnectOutcome::Failed;
}

// A workbook, or a file whose name could not even be registered, has no driver report: no login
// can help there.
bool CProfileDatabaseConnectionPage::WantsLogin() const {
  const SQLHDBC connection = m_draft.GetConnManager().GetConnectionHandle();
  if (m_draft.GetConnManager().IsWorkbook() || connection == nullptr) return false;
  if (ReadOdbcDiagRecord(SQL_HANDLE_DBC, connection).sqlState.isEmpty()) return false;
  bool login = false;
  admin::IsOdbcLoginError(connection, &login, nullptr);
  return login;
}

void CProfileDatabaseConnectionPage::ShowConnectFailure(const QString& error) {
  Log(error);
  ShowBox(this, error, platform::MB_ICONERROR);
}
