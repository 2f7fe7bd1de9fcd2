#include "admin/shell/NewUserDlg.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/UserInfoTable.h"
#include "admin/shell/DialogLook.h"
#include "platform/widgets/MessageBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString IPhoneText() { return QStringLiteral("iPhone"); }

uint8_t DeviceTypeCode(const QString& text) {
  if (text == QStringLiteral("Pocket PC")) return 3;
  if (text == IPhoneText()) return 2;
  return 1;
}

// Inserts the text where a sorted drop-down list puts it: letter case aside.
void AddSorted(QComboBox* combo, const QString& text) {
  int index = 0;
  while (index < combo->count() && combo->itemText(index).compare(text, Qt::CaseInsensitive) < 0) ++index;
  combo->insertItem(index, text);
}

}  // namespace

CNewUserDlg::CNewUserDlg(admin::CDatabseConnection& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_syncOption(this, QPoint(20, 300)) {
  setWindowTitle(QStringLiteral("New User Information"));
  setFixedSize(400, 470);
  ApplyDialogBrush(this);
  (new QLabel(QStringLiteral("Device Type :"), this))->setGeometry(20, 16, 150, 24);
  m_pDeviceType = new QComboBox(this);
  m_pDeviceType->setObjectName(QStringLiteral("1152"));
  m_pDeviceType->setGeometry(180, 16, 200, 24);
  m_pDeviceId = AddTextRow(QStringLiteral("*Device ID :"), QStringLiteral("1036"), 56);
  m_pConfirmDeviceId = AddTextRow(QStringLiteral("*Confirm Device ID :"), QStringLiteral("1038"), 96);
  m_pFirstName = AddTextRow(QStringLiteral("First Name :"), QStringLiteral("1040"), 136);
  m_pLastName = AddTextRow(QStringLiteral("Last Name :"), QStringLiteral("1046"), 176);
  m_pDepartment = AddTextRow(QStringLiteral("Department :"), QStringLiteral("1042"), 216);
  m_pDesignation = AddTextRow(QStringLiteral("Designation :"), QStringLiteral("1044"), 256);
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setObjectName(QStringLiteral("1047"));
  ok->setGeometry(200, 428, 84, 28);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("1014"));
  cancel->setGeometry(296, 428, 84, 28);
  connect(ok, &QPushButton::clicked, this, &CNewUserDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_pDeviceType, &QComboBox::currentIndexChanged, this, &CNewUserDlg::OnCbnSelchangeDeviceType);
  connect(m_syncOption.SyncMenu(), &QRadioButton::clicked, this, &CNewUserDlg::OnBnClickedSyncOption);
  connect(m_syncOption.SyncInterval(), &QRadioButton::clicked, this, &CNewUserDlg::OnBnClickedSyncOption);
  OnInitDialog();
}

QLineEdit* CNewUserDlg::AddTextRow(const QString& label, const QString& id, int top) {
  (new QLabel(label, this))->setGeometry(20, top, 150, 24);
  auto* edit = new QLineEdit(this);
  edit->setObjectName(id);
  edit->setMaxLength(kMaxTextChars);
  edit->setGeometry(180, top, 200, 24);
  return edit;
}

void CNewUserDlg::OnInitDialog() {
  m_syncOption.ShowSyncOption(0, 0);
  FillDeviceTypeCombo();
}

void CNewUserDlg::FillDeviceTypeCombo() {
  m_pDeviceType->clear();
  for (const QString& type : {QStringLiteral("BlackBerry"), QStringLiteral("Pocket PC"), IPhoneText()})
    AddSorted(m_pDeviceType, type);
  m_pDeviceType->setCurrentIndex(0);
}

// An iPhone user synchronises from the menu only.
void CNewUserDlg::OnCbnSelchangeDeviceType() {
  const bool iPhone = m_pDeviceType->currentText() == IPhoneText();
  if (iPhone) m_syncOption.SyncMenu()->setChecked(true);
  m_syncOption.SyncInterval()->setEnabled(!iPhone);
  m_syncOption.EnableSyncIntervalControls();
}

void CNewUserDlg::OnBnClickedSyncOption() { m_syncOption.EnableSyncIntervalControls(); }

void CNewUserDlg::OnOK() {
  m_strDeviceId = m_pDeviceId->text();
  m_strConfirmDeviceId = m_pConfirmDeviceId->text();
  m_strFirstName = m_pFirstName->text();
  m_strLastName = m_pLastName->text();
  m_strDepartment = m_pDepartment->text();
  m_strDesignation = m_pDesignation->text();
  if (ValidateUserInfo()) accept();
}

bool CNewUserDlg::Refuse(const QString& text) {
  platform::MessageBox(this, text, ProgramTitle(), platform::MB_OK);
  return false;
}

bool CNewUserDlg::ValidateUserInfo() {
  m_strDeviceId = m_strDeviceId.trimmed();
  if (m_strDeviceId.isEmpty()) return Refuse(QStringLiteral("Please Enter PIN."));
  UserInfoTable table(m_settings);
  table.LoadUserInfo();
  if (table.IsPinPresent(m_strDeviceId)) {
    WriteAppLog(94, QStringLiteral("PIN is already present."));
    return Refuse(QStringLiteral("PIN is already present."));
  }
  if (m_strConfirmDeviceId.trimmed() != m_strDeviceId)
    return Refuse(QStringLiteral("PIN and Confirm PIN are not matching."));
  if (!m_syncOption.ReadSyncOption(this, &m_nSyncOption, &m_nSyncInterval)) return false;
  m_nDeviceType = DeviceTypeCode(m_pDeviceType->currentText());
  return true;
}
