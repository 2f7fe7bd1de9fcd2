#include "sync/engine/StatusChangeCheck.h"

#include "shared/SyncStopBounds.h"
#include "shared/contract/SyncServiceStatus.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncRegistry.h"
#include "sync/engine/StopEvent.h"
#include "sync/engine/SyncStatus.h"
#include "sync/engine/SyncThreads.h"

#include <cstdio>
#include <cstdlib>

using namespace std::chrono;

namespace {

constexpr milliseconds kPollInterval{100};

// The workers are stuck in a call that does not return (a driver that hangs): ending the process
// is the only way left to honour the stop. The bound lies past the longest exchange and the
// local work after it, so a worker that finishes an exchange is never cut off.
[[noreturn]] void EndWithoutWorkers() {
  WriteSyncServiceLog(-1, QStringLiteral("Worker threads did not stop within %1 seconds; the program ends without them.")
                              .arg(duration_cast<seconds>(syncbounds::kProgramStop).count()));
  std::fflush(stdout);
  std::_Exit(0);
}

}  // namespace

int CStatusChangeCheck::RunSyncWorker() const {
  // The switch is read before the threads start, so a worker never sees the initial "stop".
  int32_t status = 0;
  SetSyncStatusCopy(GetSyncServiceStatus(&status) ? status : 0);

  StopEvent backSyncStop;
  StopEvent changeDetectStop;
  WorkerThread backSync([&backSyncStop] { ThreadProcForBackSync(&backSyncStop); });
  WorkerThread changeDetect([&changeDetectStop] { ThreadProc(&changeDetectStop); });

  while (SyncRunRequested()) {
    std::this_thread::sleep_for(kPollInterval);
    if (GetSyncServiceStatus(&status)) SetSyncStatusCopy(status);
  }
  backSyncStop.Signal();
  changeDetectStop.Signal();

  const steady_clock::time_point deadline = steady_clock::now() + syncbounds::kProgramStop;
  if (!backSync.WaitFinished(deadline) || !changeDetect.WaitFinished(deadline)) EndWithoutWorkers();
  return 0;
}
