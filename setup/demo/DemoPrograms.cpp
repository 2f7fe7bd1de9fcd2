#include "setup/demo/DemoPrograms.h"

#include "platform/os/Process.h"
#include "setup/demo/DemoRegistry.h"
#include "shared/contract/InstallLayout.h"

#include <QFile>

#include <chrono>
#include <thread>

namespace {

const QString kSyncProgram = QStringLiteral("TarnwickPlusSyncServiceLite");

}  // namespace

bool CopyInstallationPrograms(const QString& programFolder, const QString& installationFolder, QString* failed) {
  const installlayout::CopyTable programs = installlayout::ProgramTable();
  for (const installlayout::CopyEntry& program : programs.files) {
    const QString destination = installationFolder + programs.folder + program.destination;
    // Removed first: a program of the last run may still be running from this file.
    QFile::remove(destination);
    if (!QFile::copy(programFolder + u'/' + program.source, destination)) {
      *failed = program.source;
      return false;
    }
  }
  return true;
}

int SyncProgramRuns() {
  QList<qint64> pids;
  if (!platform::FindProcessesByName(kSyncProgram, &pids)) return -1;
  return pids.isEmpty() ? 0 : 1;
}

bool StopSyncProgram() {
  if (!StoreSyncServiceStatus(0)) return false;
  for (int runs = SyncProgramRuns(); runs != 0; runs = SyncProgramRuns()) {
    if (runs < 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return true;
}
