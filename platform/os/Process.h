#pragma once

#include <QList>
#include <QString>

// Finding, ending and counting the system's programs by executable file name. A name given with
// the Windows suffix ".exe" is compared without it. Only processes that run with this process's
// machine root count, so parallel tests and other installations never see each other.
namespace platform {

// The ids of the running processes whose executable file name equals `executableName` (exact,
// case-sensitive), this process included. False with `error` (an errno value) when the process
// list cannot be read.
bool FindProcessesByName(const QString& executableName, QList<qint64>* pids, int* error = nullptr);

// The executable file name of the process: the file its image was loaded from, or the first word
// of its command line when that cannot be read. False when neither can be read.
bool GetProcessModules(qint64 pid, QString* name);

// Ends the process at once, as Windows' TerminateProcess does.
bool TerminateProcess(qint64 pid);

// True when this process may end the process (Windows' OpenProcess with all access succeeds);
// false, with the errno in GetLastError(), for another user's process or one that has gone.
bool CanEndProcess(qint64 pid);

// From now on a write to a pipe whose reader has gone (a closed console, `| head`) fails with
// EPIPE instead of ending this process.
void IgnoreBrokenPipes();

enum class InstanceLock {
  Acquired,       // this process is the only instance; it keeps the lock until it ends
  HeldByAnother,  // another process of the program runs with this machine root
  Failed,         // the lock file could not be used; `error` says why
};

// Takes the single-instance lock of the program in the machine root's run folder. The kernel
// drops the lock when the holder ends, however it ends, so nothing stale blocks the next start.
InstanceLock LockSingleInstance(const QString& executableName, int* error = nullptr);

}  // namespace platform
