#include "setup/common/AdminServiceEndpoint.h"
#include "setup/uninstaller/SyncStopWait.h"
#include "setup/uninstaller/UnInstallerApp.h"

#include <QApplication>

// The uninstaller: after the user's confirmation it stops synchronisation, withdraws the desktop
// from the hosted services and removes the installation. It ends with code 0 whatever happened.
int main(int argc, char** argv) {
  QApplication application(argc, argv);
  UninstallerOptions options;
  options.adminService = DefaultAdminEndpoint();
  options.syncStopLimit = SyncStopLimit();
  CUnInstallerApp app(options);
  app.InitInstance();
  return 0;
}
