#pragma once

#include "setup/installer/InstallerPage.h"

class QLabel;
class QProgressBar;

// The first page: what the product is; Next prepares the exchanges with the administration
// service.
class CWelComePage : public CInstallerPage {
  Q_OBJECT

 public:
  explicit CWelComePage(CInstallerApp& app, QWidget* parent = nullptr);

  void OnSetActive() override;
  bool validatePage() override;

 private:
  QProgressBar* m_pProgress;
  QLabel* m_pStatus;
};
