#pragma once

#include "setup/installer/InstallerPage.h"

class QRadioButton;

// A new installation or a change of the installed one; kept with the wizard but not shown.
class CModifyPage : public CInstallerPage {
  Q_OBJECT

 public:
  explicit CModifyPage(CInstallerApp& app, QWidget* parent = nullptr);

 private:
  void OnChoice();

  QRadioButton* m_pNew;
  QRadioButton* m_pModify;
};
