#include "setup/installer/InstallerApp.h"

#include <QApplication>

// The installer: refuses to run over an installation, else walks the user through the wizard
// that installs the system. It ends when the wizard closes.
int main(int argc, char** argv) {
  QApplication application(argc, argv);
  CInstallerApp app;
  app.InitInstance();
  return 0;
}
