#include "setup/uninstaller/SyncStopWait.h"

#include "setup/common/SetupProgress.h"
#include "shared/SyncStopBounds.h"

#include <QThread>

namespace {

constexpr std::chrono::milliseconds kRunningPause{500};
constexpr std::chrono::milliseconds kErrorPause{1000};
constexpr int kToleratedErrors = 3;

void Pause(std::chrono::milliseconds pause) { QThread::msleep(static_cast<unsigned long>(pause.count())); }

}  // namespace

int WaitForSyncStop(const std::function<int()>& isRunning, std::chrono::milliseconds limit, SetupProgress* progress,
                    const SetupLogSink& log) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int errors = 0;
  for (;;) {
    progress->StepProgress(1);
    const int running = isRunning();
    progress->PumpWaitingMessages();
    if (running == 0) return 1;
    if (running < 0) {
      if (++errors > kToleratedErrors) return 0;
      log(QStringLiteral("Failed to check sync status <%1>.").arg(errors));
    }
    if (std::chrono::steady_clock::now() >= deadline) return 0;
    Pause(running < 0 ? kErrorPause : kRunningPause);
  }
}

std::chrono::milliseconds SyncStopLimit() {
  bool ok = false;
  const int milliseconds = qEnvironmentVariableIntValue(kSyncStopLimitVariable, &ok);
  return ok && milliseconds > 0 ? std::chrono::milliseconds(milliseconds) : syncbounds::kWaitForProgramEnd;
}
