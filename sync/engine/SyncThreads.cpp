#include "sync/engine/SyncThreads.h"

#include "sync/data/SyncLog.h"
#include "sync/data/SyncSettings.h"
#include "sync/data/TurnInstallationPath.h"
#include "sync/engine/StatusChangeCheck.h"
#include "sync/engine/StopEvent.h"
#include "sync/engine/SyncStatus.h"

#include <cstdio>

using namespace std::chrono;

namespace {

constexpr int kTurnsPerOsBlock = 30;

milliseconds IntervalOf(bool (*getMinutes)(int32_t*), milliseconds fallback) {
  int32_t value = 0;
  if (!getMinutes(&value) || value < 0) return fallback;
  return duration_cast<milliseconds>(minutes(value));
}

QString VersionLine(const char* what) {
  return QStringLiteral("%1 (Tarnwick Plus Lite Application <Version : %2.%3><%4>)")
      .arg(QLatin1String(what))
      .arg(GetMajorVersion())
      .arg(GetMinorVersion())
      .arg(GetBuildString());
}

// One change-detection turn: its start and end lines around a fresh engine object; false when a
// stop request ended it early.
bool RunChangeDetectionTurn(int* turnCount) {
  const TurnInstallationPath installation;
  if (++*turnCount == kTurnsPerOsBlock) {
    SystemOSDetails();
    *turnCount = 0;
  }
  std::fputs("In Threadproc elasped \n", stdout);
  WriteSyncServiceLog(0, QStringLiteral("Start Change Detection Interval."));
  const CStatusChangeCheck check;
  bool inStep = check.ProcessProfileStatusChanges();
  if (SyncStopRequested()) return false;
  if (inStep) {
    check.SendNewProfileData();
    inStep = check.ProcessFinishedProfiles();
  }
  if (SyncStopRequested()) return false;
  if (inStep) check.DetectDataChanges();
  if (SyncStopRequested()) return false;
  // The form passes run even when the profile passes failed.
  check.ProcessFormStatusChanges();
  check.SendNewFormData();
  check.ProcessFinishedForms();
  WriteSyncServiceLog(1, QStringLiteral("End Change Detection Interval.\r\n"));
  return true;
}

}  // namespace

bool RunBackSyncTurn() {
  const TurnInstallationPath installation;
  std::fputs("In ThreadprocForBackSync elasped \n", stdout);
  WriteBackSyncLog(0, QStringLiteral("Start Interval For Back Sync."));
  const CStatusChangeCheck check;
  const bool acksDelivered = check.ResendPendingAcks();
  if (SyncStopRequested()) return false;
  if (acksDelivered) check.ProcessDeviceChanges();
  WriteBackSyncLog(1, QStringLiteral("End Interval For Back Sync.\r\n"));
  return true;
}

milliseconds GetChangeDetectInterval() { return IntervalOf(&GetChangeDetectMinutes, milliseconds(60000)); }

milliseconds GetBackSyncInterval() { return IntervalOf(&GetBackSyncMinutes, milliseconds(120000)); }

void RunWorkerTurns(StopEvent& stop, milliseconds interval, const std::function<bool()>& turn) {
  // A turn starts only while the switch is 1; once started, only 0 cuts it short.
  while (!stop.Wait(interval)) {
    if (!SyncRunRequested() || !turn()) return;
  }
}

void ThreadProc(StopEvent* stop) {
  WriteSyncServiceLog(178, VersionLine("Start ThreadProc"));
  const milliseconds interval = GetChangeDetectInterval();
  int turnCount = 0;
  RunWorkerTurns(*stop, interval, [&turnCount] { return RunChangeDetectionTurn(&turnCount); });
  std::fputs("Exiting ThreadProc  \n", stdout);
  WriteSyncServiceLog(2, VersionLine("Exiting ThreadProc") + QStringLiteral("\r\n"));
}

void ThreadProcForBackSync(StopEvent* stop) {
  WriteBackSyncLog(72, VersionLine("Start ThreadProcForBackSync"));
  const milliseconds interval = GetBackSyncInterval();
  RunWorkerTurns(*stop, interval, &RunBackSyncTurn);
  std::fputs("Exiting ThreadProcForBackSync  \n", stdout);
  WriteBackSyncLog(2, VersionLine("Exiting ThreadProcForBackSync") + QStringLiteral("\r\n"));
}

WorkerThread::WorkerThread(std::function<void()> body)
    : m_thread([this, body = std::move(body)] {
        body();
        {
          const std::lock_guard<std::mutex> guard(m_mutex);
          m_bFinished = true;
        }
        m_finishedChanged.notify_all();
      }) {}

WorkerThread::~WorkerThread() { m_thread.join(); }

bool WorkerThread::WaitFinished(steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_finishedChanged.wait_until(lock, deadline, [this] { return m_bFinished; });
}
