#include "admin/shell/TarnwickDlg.h"

#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/AppLog.h"
#include "admin/shell/AboutDlg.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/Bitmaps.h"
#include "admin/shell/ChangePasswordDlg.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/ModuleFactory.h"
#include "admin/shell/TarnwickApp.h"
#include "platform/widgets/MessageBox.h"
#include "shared/ProgramVersion.h"
#include "shared/RegistryHandler.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QTreeWidget>

#include <array>

namespace {

struct Module {
  const char16_t* text;
  int banner;
  QRect rect;
  const char16_t* allocationFailure;
};

// "User Manager" has no tree item; its dialog stands ready for one.
const std::array<Module, 4> kModules = {{
    {u"Profile Manager", 134, QRect(205, 62, 760, 400), u"Error Creating Profile Manager Dialog Object."},
    {u"Form Manager", 253, QRect(205, 62, 760, 400), u"Error Creating Form Manager Dialog Object."},
    {u"Preferences", 135, QRect(205, 62, 760, 400), u"Error Creating More Options Dialog Object."},
    {u"User Manager", 133, QRect(190, 65, 660, 480), u"Error Creating User Manager Dialog Object."},
}};

const Module* FindModule(const QString& text) {
  for (const Module& module : kModules)
    if (text == QStringView(module.text)) return &module;
  return nullptr;
}

enum class StoredPassword { None, Stored, Unreadable };

// Only an absent or empty value means "no password"; a value that cannot be read is a
// password nobody can give, never none.
StoredPassword ReadStoredPassword() {
  QString stored;
  switch (GetRegistryHandler()->ReadAdminPasswordState(&stored)) {
    case CRegistryHandler::PasswordState::Read: return stored.isEmpty() ? StoredPassword::None : StoredPassword::Stored;
    case CRegistryHandler::PasswordState::Absent: return StoredPassword::None;
    case CRegistryHandler::PasswordState::Unreadable: break;
  }
  WriteAppLog(-1, QStringLiteral("<TarnwickDlg> The stored administrator password cannot be read; no password is accepted."));
  return StoredPassword::Unreadable;
}

bool LoggedIn() { return GetTarnwickApp() != nullptr && GetTarnwickApp()->IsLoggedIn(); }

void SetLoggedIn(bool loggedIn) {
  if (GetTarnwickApp() != nullptr) GetTarnwickApp()->SetLoggedIn(loggedIn);
}

QLabel* NewPicture(int bitmap, const QString& id, const QRect& geometry, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(id);
  label->setPixmap(QPixmap::fromImage(LoadBitmap(bitmap)));
  label->setScaledContents(true);
  label->setGeometry(geometry);
  return label;
}

}  // namespace

CTarnwickDlg::CTarnwickDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Tarnwick Plus Lite - Personal Edition"));
  setFixedSize(970, 530);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  CreateControls();
  OnInitDialog();
}

void CTarnwickDlg::CreateControls() {
  CreateTitleBand();
  m_pTree = new QTreeWidget(this);
  m_pTree->setObjectName(QStringLiteral("1000"));
  m_pTree->setHeaderHidden(true);
  m_pTree->setRootIsDecorated(true);
  m_pTree->setGeometry(10, 62, 185, 400);
  m_pVersion = new QLabel(this);
  m_pVersion->setObjectName(QStringLiteral("1214"));
  m_pVersion->setGeometry(10, 500, 400, 20);
  CreateLoginPanel();
  connect(m_pTree, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current) { OnTvnSelchangedModuleTree(current); });
}

void CTarnwickDlg::CreateTitleBand() {
  m_pTitleBand = NewPicture(129, QString(), QRect(0, 0, 970, 56), this);
  m_pLogo = NewPicture(174, QStringLiteral("1217"), QRect(8, 4, 56, 48), this);
  m_pTitle = new QLabel(QStringLiteral("        Tarnwick Plus Lite"), this);
  m_pTitle->setObjectName(QStringLiteral("1215"));
  m_pTitle->setAlignment(Qt::AlignCenter);
  m_pTitle->setFont(MakeFont(QStringLiteral("Verdana"), 45, 600));
  QPalette title = m_pTitle->palette();
  title.setColor(QPalette::Window, QColor(41, 41, 170));
  title.setColor(QPalette::WindowText, Qt::white);
  m_pTitle->setPalette(title);
  m_pTitle->setAutoFillBackground(true);
  m_pTitle->setGeometry(66, 4, 560, 48);
  m_pBanner = NewPicture(131, QStringLiteral("1001"), QRect(630, 6, 330, 44), this);
  // The window menu is out of reach: the About entry is the title band's and the logo's.
  for (QLabel* picture : {m_pTitleBand, m_pLogo}) {
    picture->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(picture, &QWidget::customContextMenuRequested, this, [this, picture](const QPoint& at) {
      QMenu menu;
      menu.addAction(QStringLiteral("&About Tarnwick Plus Lite..."), this, &CTarnwickDlg::ShowAbout);
      menu.exec(picture->mapToGlobal(at));
    });
  }
}

void CTarnwickDlg::CreateLoginPanel() {
  m_pLoginGroup = new QGroupBox(QStringLiteral("Log In Tarnwick Plus Lite"), this);
  m_pLoginGroup->setObjectName(QStringLiteral("1006"));
  m_pLoginGroup->setGeometry(385, 170, 400, 150);
  m_pPasswordLabel = new QLabel(this);
  m_pPasswordLabel->setObjectName(QStringLiteral("1002"));
  m_pPasswordLabel->setFont(MakeFont(QStringLiteral("Verdana"), 14, 400));
  m_pPasswordLabel->setGeometry(405, 205, 360, 22);
  m_pPassword = new QLineEdit(this);
  m_pPassword->setObjectName(QStringLiteral("1003"));
  m_pPassword->setEchoMode(QLineEdit::Password);
  m_pPassword->setGeometry(405, 240, 240, 26);
  m_pLogin = new CBMButton(QStringLiteral("Login"), this);
  m_pLogin->setObjectName(QStringLiteral("1004"));
  m_pLogin->setGeometry(665, 240, 100, 26);
  m_pChangePassword = new CBMButton(QStringLiteral("Change Password"), this);
  m_pChangePassword->setObjectName(QStringLiteral("1005"));
  m_pChangePassword->setGeometry(405, 280, 170, 26);
  m_pChangePassword->hide();  // never shown: the password is changed in Preferences
  connect(m_pLogin, &QPushButton::clicked, this, &CTarnwickDlg::OnBnClickedLogin);
  connect(m_pChangePassword, &QPushButton::clicked, this, &CTarnwickDlg::OnBnClickedChangePassword);
  connect(m_pPassword, &QLineEdit::textChanged, this, &CTarnwickDlg::OnEnChangeAdminPassword);
}

void CTarnwickDlg::OnInitDialog() {
  const CTarnwickApp* app = GetTarnwickApp();
  if (app == nullptr || app->IsLoggingEnabled()) WriteAppLog(10, QStringLiteral("Tarnwick Plus Lite Started..."));
  setWindowIcon(QIcon(QPixmap::fromImage(LoadBitmap(155))));
  m_pRootItem = InsertTreeItem(QStringLiteral("TarnwickPlus"), nullptr);
  m_pProfileItem = InsertTreeItem(QStringLiteral("Profile Manager"), m_pRootItem);
  InsertTreeItem(QStringLiteral("Form Manager"), m_pRootItem);
  InsertTreeItem(QStringLiteral("Preferences"), m_pRootItem);
  m_pRootItem->setExpanded(true);
  m_pVersion->setText(QStringLiteral("Version : %1.%2 (%3)").arg(GetMajorVersion()).arg(GetMinorVersion()).arg(GetBuildString()));
  ShowLoginControls(1);
  SetBanner(131);
  if (ReadStoredPassword() == StoredPassword::None) {
    if (!LoggedIn()) {
      SetLoggedIn(true);
      SelectProfileManager();
    }
    m_pLogin->setEnabled(false);
  } else {
    m_pLogin->setEnabled(true);
  }
}

QTreeWidgetItem* CTarnwickDlg::InsertTreeItem(const QString& text, QTreeWidgetItem* parent) {
  auto* item = new QTreeWidgetItem(QStringList{text});
  if (parent == nullptr)
    m_pTree->insertTopLevelItem(0, item);
  else
    parent->addChild(item);
  return item;
}

void CTarnwickDlg::ShowLoginControls(int mode) {
  const bool loggedIn = LoggedIn();
  if (mode == 0) {
    if (!loggedIn) return;
    for (QWidget* control : {static_cast<QWidget*>(m_pLoginGroup), static_cast<QWidget*>(m_pPasswordLabel),
                             static_cast<QWidget*>(m_pPassword), static_cast<QWidget*>(m_pLogin),
                             static_cast<QWidget*>(m_pChangePassword)})
      control->hide();
    return;
  }
  m_pLoginGroup->show();
  m_pLogin->show();
  m_pLogin->setText(loggedIn ? QStringLiteral("Logout") : QStringLiteral("Login"));
  m_pChangePassword->setEnabled(loggedIn);
  m_pPassword->setVisible(!loggedIn);
  m_pPasswordLabel->setText(loggedIn ? QStringLiteral("Administrator Logged in.")
                                     : QStringLiteral("Enter Administrative Password :"));
  m_pPasswordLabel->show();
}

void CTarnwickDlg::OnBnClickedLogin() {
  if (LoggedIn()) {
    m_pPassword->clear();
    SetLoggedIn(false);
    ShowLoginControls(1);
    return;
  }
  if (!CheckAdminPassword(m_pPassword->text())) {
    platform::MessageBox(this, QStringLiteral("Invalid Password, Please Try again.."), ProgramTitle(), platform::MB_OK);
    return;
  }
  SetLoggedIn(true);
  SelectProfileManager();
}

// Also when Profile Manager is already selected (refused while logged out): selecting the
// current item again is no change, and the login panel would stay.
void CTarnwickDlg::SelectProfileManager() {
  if (m_pTree->currentItem() == m_pProfileItem)
    OnTvnSelchangedModuleTree(m_pProfileItem);
  else
    m_pTree->setCurrentItem(m_pProfileItem);
}

void CTarnwickDlg::OnEnChangeAdminPassword() {
  if (CheckAdminPassword(m_pPassword->text())) m_pLogin->setFocus();
}

void CTarnwickDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    // Enter never closes the main window; it logs in from the Login button only.
    if (focusWidget() == m_pLogin) OnBnClickedLogin();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CTarnwickDlg::OnTvnSelchangedModuleTree(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  const QString text = item->text(0);
  const Module* module = FindModule(text);
  if (module != nullptr && !LoggedIn()) {
    platform::MessageBox(this, QStringLiteral("You have not Logged in Tarnwick Plus"), ProgramTitle(), platform::MB_OK);
    return;
  }
  WriteAppLog(21, QStringLiteral("Module %1 is selected.").arg(text));
  DestroyModuleDialog();
  if (module == nullptr) {
    ShowLoginControls(1);
    SetBanner(131);
    m_pLogin->setEnabled(ReadStoredPassword() != StoredPassword::None);
    return;
  }
  ShowLoginControls(0);
  OpenModule(text);
}

void CTarnwickDlg::OpenModule(const QString& text) {
  const Module* module = FindModule(text);
  m_pModuleDlg = CreateModuleDialog(text, this);
  if (m_pModuleDlg == nullptr) {
    platform::MessageBox(this, QString::fromUtf16(module->allocationFailure), ProgramTitle(), platform::MB_OK);
    return;
  }
  // A dialog class makes itself a window of its own even when told to be a plain widget; the
  // module is a panel of the main window.
  m_pModuleDlg->setWindowFlags(Qt::Widget);
  m_pModuleDlg->setGeometry(module->rect);
  m_pModuleDlg->show();
  SetBanner(module->banner);
}

void CTarnwickDlg::DestroyModuleDialog() { delete m_pModuleDlg.data(); }

void CTarnwickDlg::SetBanner(int bitmap) { m_pBanner->setPixmap(QPixmap::fromImage(LoadBitmap(bitmap))); }

void CTarnwickDlg::ShowAbout() {
  CAboutDlg about(this);
  about.exec();
}

void CTarnwickDlg::OnBnClickedChangePassword() { ChangeAdministratorPassword(this); }
