#include "platform/os/Process.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncSettings.h"
#include "sync/data/SyncSystem.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/StatusChangeCheck.h"
#include "sync/engine/WebServiceConnectionTest.h"

#include <QCoreApplication>

// The unattended sync program: no options, no user interface; it runs until SyncServiceStatus
// is no longer 1.
int main(int argc, char** argv) {
  // Console lines are best effort: a service manager or a closed pipe must not end the program.
  platform::IgnoreBrokenPipes();
  const QCoreApplication application(argc, argv);
  WriteSyncServiceLog(-1, QStringLiteral("Start SyncService"));
  SystemOSDetails();
  if (IsProcessRunningTwice(QStringLiteral("TarnwickPlusSyncServiceLite.exe"))) return 0;
  LoadSyncSettings();
  CCdbFile().RemoveStaleTemporaryFiles();
  syncservice::GetDataTestWebServiceMethod();  // only logged; the program runs on either way
  const CStatusChangeCheck check;
  check.RunSyncWorker();
  return 0;
}
