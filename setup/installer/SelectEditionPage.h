#pragma once

#include "setup/installer/InstallerPage.h"

class QRadioButton;

// The edition to install: Personal or Enterprise, with a link to what Enterprise adds.
class CSelectEditionPage : public CInstallerPage {
  Q_OBJECT

 public:
  // The document the link opens.
  static const QString kFeaturesAddress;

  explicit CSelectEditionPage(CInstallerApp& app, QWidget* parent = nullptr);

  bool validatePage() override;

 private:
  void OnFeaturesLink();

  QRadioButton* m_pPersonal;
  QRadioButton* m_pEnterprise;
};
