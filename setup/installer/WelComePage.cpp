#include "setup/installer/WelComePage.h"

#include "setup/common/AdminServiceEndpoint.h"
#include "setup/installer/InstallerApp.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 3;

const QString kClickNext = QStringLiteral("Please click Next to continue");

}  // namespace

CWelComePage::CWelComePage(CInstallerApp& app, QWidget* parent)
    : CInstallerPage(app, kHelpTopic, parent), m_pProgress(new QProgressBar(this)), m_pStatus(new QLabel(this)) {
  setTitle(QStringLiteral("Welcome to Tarnwick Plus Lite"));
  auto* layout = new QVBoxLayout(this);
  auto* product =
      new QLabel(QStringLiteral("Tarnwick Plus Lite takes the data of your desktop databases and workbooks to your "
                                "iPhone, iPod Touch or iPad, and brings the changes made there back."),
                 this);
  product->setWordWrap(true);
  auto* features = new QLabel(QStringLiteral("Features:\n"
                                             "  - Profiles over Access, Excel, text and ODBC data sources\n"
                                             "  - Forms designed for the device\n"
                                             "  - Two-way synchronisation through the web service"),
                              this);
  m_pProgress->setObjectName(QStringLiteral("1034"));
  m_pStatus->setObjectName(QStringLiteral("1035"));
  layout->addWidget(product);
  layout->addWidget(features);
  layout->addStretch();
  layout->addWidget(m_pProgress);
  layout->addWidget(m_pStatus);
  setWindowIcon(app.Icon());
  m_pProgress->hide();
  m_pStatus->setText(kClickNext);
}

void CWelComePage::OnSetActive() { m_pStatus->setText(kClickNext); }

bool CWelComePage::validatePage() {
  InstallState& state = State();
  state.service.adminService = DefaultAdminEndpoint();
  state.webServiceAddress.clear();
  state.service.header = AdminRecordHeader{};
  return true;
}
