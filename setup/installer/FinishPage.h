#pragma once

#include "setup/installer/InstallerPage.h"

// The last page: installs by itself as soon as it shows.
class CFinishPage : public CInstallerPage {
  Q_OBJECT

 public:
  explicit CFinishPage(CInstallerApp& app, QWidget* parent = nullptr);

  bool Installing() const { return m_bInstalling; }

 private:
  bool m_bInstalling = false;
};
