#include "setup/installer/SelectPathPage.h"

#include "platform/os/MachineRoot.h"
#include "platform/widgets/MessageBox.h"
#include "setup/installer/InstallerApp.h"
#include "setup/installer/InstallerTexts.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kHelpTopic = 3;

QString ChooseFolder(QWidget* parent, const QString& title) {
  return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
}

CSelectPathPage::FolderChooser& FolderChooserSlot() {
  static CSelectPathPage::FolderChooser chooser = ChooseFolder;
  return chooser;
}

QString WithSeparator(const QString& folder) { return folder.endsWith(u'/') ? folder : folder + u'/'; }

}  // namespace

const QString CSelectPathPage::kProductFolder = QStringLiteral("Tarnwick Plus Lite");

void CSelectPathPage::SetFolderChooser(FolderChooser chooser) { FolderChooserSlot() = std::move(chooser); }

CSelectPathPage::CSelectPathPage(CInstallerApp& app, QWidget* parent)
    : CInstallerPage(app, kHelpTopic, parent),
      m_pFolder(new QLineEdit(this)),
      m_pBrowse(new QPushButton(QStringLiteral("&Browse..."), this)),
      m_pCreate(new QCheckBox(QStringLiteral("&Create this directory if it does not exist"), this)) {
  setTitle(QStringLiteral("Select Installation Folder"));
  m_pFolder->setObjectName(QStringLiteral("1020"));
  m_pBrowse->setObjectName(QStringLiteral("1021"));
  m_pCreate->setObjectName(QStringLiteral("1022"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Installation folder :"), this), 0, 0, 1, 2);
  layout->addWidget(m_pFolder, 1, 0);
  layout->addWidget(m_pBrowse, 1, 1);
  layout->addWidget(m_pCreate, 2, 0, 1, 2);
  layout->setRowStretch(3, 1);
  connect(m_pBrowse, &QPushButton::clicked, this, &CSelectPathPage::OnBrowse);

  m_pCreate->setChecked(true);
  const QString previous = app.GetInstallFolder();
  m_pFolder->setText(!previous.isEmpty()
                         ? previous
                         : WithSeparator(platform::SpecialFolderPath(platform::SpecialFolder::ProgramFiles)) +
                               kProductFolder);
  if (app.State().modify == 1) {
    m_pFolder->setEnabled(false);
    m_pBrowse->setEnabled(false);
  }
}

QString CSelectPathPage::FolderText() const { return m_pFolder->text(); }

void CSelectPathPage::OnBrowse() {
  const QString chosen = FolderChooserSlot()(this, QStringLiteral("Choose Installation folder"));
  if (!chosen.isEmpty()) m_pFolder->setText(WithSeparator(chosen) + kProductFolder);
}

// A relative folder would land under whatever folder the installer was started in.
bool CSelectPathPage::validatePage() {
  const QString folder = m_pFolder->text();
  if (folder.isEmpty() || !QDir::isAbsolutePath(folder)) {
    platform::MessageBox(this, QStringLiteral("Please enter a full installation folder path."), installer::kTitle,
                         platform::MB_ICONINFORMATION);
    return false;
  }
  State().installFolder = folder;
  State().createFolder = m_pCreate->isChecked() ? 1 : 0;
  return true;
}
