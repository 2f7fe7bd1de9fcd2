#include "admin/shell/ManageSynchronizationDlg.h"

#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/SyncControlPort.h"
#include "admin/shell/SyncModeSwitch.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>

namespace {

constexpr int kHelpTopic = 19;

}  // namespace

CManageSynchronizationDlg::CManageSynchronizationDlg(SyncControlPort& port, QWidget* parent)
    : QDialog(parent),
      m_port(port),
      m_pAsService(new QRadioButton(QStringLiteral("Start As Windows Service"), this)),
      m_pAsApplication(new QRadioButton(QStringLiteral("Start As Application"), this)) {
  setWindowTitle(QStringLiteral("Synchronization Settings"));
  setFixedSize(384, 226);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  (new QLabel(QStringLiteral("How to start Synchronization Service :"), this))->setGeometry(20, 20, 344, 22);
  m_pAsService->setObjectName(QStringLiteral("1190"));
  m_pAsService->setGeometry(40, 60, 300, 24);
  m_pAsApplication->setObjectName(QStringLiteral("1191"));
  m_pAsApplication->setGeometry(40, 100, 300, 24);
  auto* modes = new QButtonGroup(this);
  modes->addButton(m_pAsService);
  modes->addButton(m_pAsApplication);
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(104, 176, 80, 26);
  ok->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(194, 176, 80, 26);
  auto* help = new CBMButton(QStringLiteral("Help"), this);
  help->setObjectName(QStringLiteral("1015"));
  help->setGeometry(284, 176, 80, 26);
  m_pHelp = help;
  connect(ok, &QPushButton::clicked, this, &CManageSynchronizationDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &CManageSynchronizationDlg::OnBnClickedHelp);
  OnInitDialog();
}

void CManageSynchronizationDlg::OnInitDialog() {
  m_nCurrentMode = m_port.GetStartSyncStatus();
  m_pAsService->setChecked(m_nCurrentMode != 0);
  m_pAsApplication->setChecked(m_nCurrentMode == 0);
}

void CManageSynchronizationDlg::OnOK() {
  const int chosen = m_pAsService->isChecked() ? 1 : 0;
  if (SyncModeSwitch(m_port).Switch(m_nCurrentMode, chosen)) accept();
}

void CManageSynchronizationDlg::OnBnClickedHelp() {
  ShowHelpBalloon(kHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton);
}
