#include "setup/installer/PersonalInfoPage.h"

#include "platform/widgets/MessageBox.h"
#include "setup/common/AdminServiceClient.h"
#include "setup/common/SetupLog.h"
#include "setup/installer/InstallerApp.h"
#include "setup/installer/InstallerTexts.h"
#include "shared/contract/InstallLayout.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace installer;

namespace {

constexpr int kHelpTopic = 2;

// The UDID goes into addresses, XML, SQL and file names: letters and digits only.
bool PlainLettersAndDigits(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  });
}

bool FitsField(const QString& text) { return text.toUtf8().size() <= CPersonalInfoPage::kMaxAddressBytes; }

}  // namespace

const QString CPersonalInfoPage::kUdidNote = QStringLiteral(
    "Please Enter 40 character UDID of your iPhone/iPod Touch/iPad. To get UDID, connect your device to your PC and "
    "launch iTunes. In iTunes, select your device in the \u2018Devices\u2019 section and navigate to the Summary tab. "
    "Click on the Serial Number label to reveal the Identifier field and the 40 character UDID. Press Ctrl+C to copy "
    "the UDID to your clipboard, and paste it in UDID and Confirm UDID field.");

CPersonalInfoPage::CPersonalInfoPage(CInstallerApp& app, QWidget* parent)
    : CInstallerPage(app, kHelpTopic, parent),
      m_pIPhone(new QRadioButton(QStringLiteral("iPhone/iPod Touch"), this)),
      m_pIPad(new QRadioButton(QStringLiteral("iPad"), this)),
      m_pUdid(new QLineEdit(this)),
      m_pConfirm(new QLineEdit(this)),
      m_pNote(new QLabel(this)),
      m_pDeviceTypes(new QComboBox(this)) {
  setTitle(QStringLiteral("Enter Your Device Information"));
  m_pIPhone->setObjectName(QStringLiteral("1050"));
  m_pIPad->setObjectName(QStringLiteral("1051"));
  m_pUdid->setObjectName(QStringLiteral("1012"));
  m_pConfirm->setObjectName(QStringLiteral("1036"));
  m_pNote->setObjectName(QStringLiteral("1037"));
  m_pDeviceTypes->setObjectName(QStringLiteral("1011"));
  m_pNote->setWordWrap(true);

  auto* typeGroup = new QGroupBox(QStringLiteral("Select Your Device Type"), this);
  auto* typeLayout = new QVBoxLayout(typeGroup);
  typeLayout->addWidget(m_pIPhone);
  typeLayout->addWidget(m_pIPad);
  auto* layout = new QGridLayout(this);
  layout->addWidget(typeGroup, 0, 0, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("UDID :"), this), 1, 0);
  layout->addWidget(m_pUdid, 1, 1);
  layout->addWidget(new QLabel(QStringLiteral("Confirm UDID :"), this), 2, 0);
  layout->addWidget(m_pConfirm, 2, 1);
  layout->addWidget(m_pNote, 3, 0, 1, 2);
  // The device-type list of older editions stays hidden.
  m_pDeviceTypes->addItems({QStringLiteral("BlackBerry"), QStringLiteral("PocketPC Phone"), QStringLiteral("iPhone")});
  m_pDeviceTypes->setCurrentIndex(0);
  m_pDeviceTypes->hide();

  connect(m_pIPhone, &QRadioButton::clicked, this, &CPersonalInfoPage::EnableEntries);
  connect(m_pIPad, &QRadioButton::clicked, this, &CPersonalInfoPage::EnableEntries);
  WriteInstallLog(QStringLiteral("DEVICE INFO"));
  m_pNote->setText(kUdidNote);
  m_pUdid->clear();
  m_pConfirm->clear();
  m_pUdid->setEnabled(false);
  m_pConfirm->setEnabled(false);
}

void CPersonalInfoPage::EnableEntries() {
  m_pUdid->setEnabled(true);
  m_pConfirm->setEnabled(true);
}

bool CPersonalInfoPage::ValidateDeviceInfo() {
  if (!m_pIPhone->isChecked() && !m_pIPad->isChecked()) {
    platform::MessageBox(this, QStringLiteral("Please select Device Type."), kTitle, platform::MB_ICONINFORMATION);
    return false;
  }
  const QString udid = m_pUdid->text().trimmed();
  const QString confirmation = m_pConfirm->text().trimmed();
  QString problem;
  if (udid.isEmpty()) {
    problem = QStringLiteral("Please specify UDID");
  } else if (confirmation.isEmpty()) {
    problem = QStringLiteral(" Please specify a UDID");
  } else if (udid != confirmation) {
    problem = QStringLiteral("Your UDID Entries Do Not Match.");
  } else if (udid.size() != kUdidLength || !PlainLettersAndDigits(udid)) {
    problem = kUdidNote;
  }
  if (!problem.isEmpty()) {
    platform::MessageBox(this, problem, kTitle, platform::MB_ICONERROR);
    return false;
  }
  InstallState& state = State();
  state.deviceType = m_pIPad->isChecked() ? installlayout::kIPad : installlayout::kIPhone;
  state.service.deviceId = udid;
  state.service.desktopName = udid;
  state.devicePassword.clear();
  state.adminPassword.clear();
  return true;
}

bool CPersonalInfoPage::DiscoverWebService() {
  InstallState& state = State();
  const CAdminServiceClient client(state.service, WriteInstallLog);
  uint16_t status = 0;
  QString address;
  if (client.GetWebServiceURL(&status, &address) != 1) {
    WriteInstallLog(QStringLiteral("Problem Get Web Service URL<2>"));
    platform::MessageBox(this, QStringLiteral("Problem to connect Admin Service, Please check internet connection"),
                         kTitle, platform::MB_ICONERROR);
    return false;
  }
  if (status != 0) {
    WriteInstallLog(QStringLiteral("Problem Get Web Service URL<1>"));
    WriteInstallLog(address);
    platform::MessageBox(this, QStringLiteral("Problem to Get Details from Admin Service"), kTitle,
                         platform::MB_ICONERROR);
    return false;
  }
  WebServiceAddress parts;
  QString error;
  if (!SplitWebServiceUrl(address, &parts, &error)) {
    WriteInstallLog(QStringLiteral("Problem To Extract Web Service URL<0>"));
    WriteInstallLog(address);
    return false;
  }
  const QString cut = address.left(address.lastIndexOf(u'/') + 1);
  // Each goes into a fixed field: a longer one would be cut into another address.
  if (!FitsField(cut) || !FitsField(parts.host) || !FitsField(parts.path)) {
    WriteInstallLog(QStringLiteral("Problem Get Web Service URL<3>"));
    WriteInstallLog(address);
    platform::MessageBox(this, QStringLiteral("Problem to Get Details from Admin Service"), kTitle,
                         platform::MB_ICONERROR);
    return false;
  }
  state.service.webService = parts;
  state.webServiceAddress = cut;
  return true;
}

bool CPersonalInfoPage::TestWebService() {
  const CAdminServiceClient client(State().service, WriteInstallLog);
  uint32_t status = 0;
  QString failure;
  if (client.TestGetDataWebServiceCall(&status) != 1) {
    failure = QStringLiteral("<OT> Fail to Connect to Service <Type 1> : %1").arg(status);
  } else if (client.TestPostDataWebServiceCall(&status) != 1) {
    failure = QStringLiteral("<OT> Fail to Connect to Service <Type 2> : %1").arg(status);
  }
  if (failure.isEmpty()) return true;
  WriteInstallLog(failure);
  platform::MessageBox(this, kUseProxyBox, kTitle, platform::MB_ICONINFORMATION);
  return false;
}

bool CPersonalInfoPage::validatePage() {
  if (!ValidateDeviceInfo()) {
    WriteInstallLog(QStringLiteral("Invalid inputs"));
    return false;
  }
  return DiscoverWebService() && TestWebService();
}
