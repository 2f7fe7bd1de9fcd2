#pragma once

#include <QString>

#include <functional>

// The outside programs of the installation's "Desktop Files" folder: the service wrapper
// "TarnwickPWinServiceLite" ("-i" install, "-s" start, "-k" stop, "-u" remove the service) and
// the starter "TarnwickPStartSyncServiceLite".

inline const QString kServiceWrapperName = QStringLiteral("TarnwickPWinServiceLite.exe");

// One run of the wrapper with a switch in a working folder: true when it ended with 0.
using ServiceWrapperRun = std::function<bool(const QString& switchText, const QString& workingFolder)>;

// Runs the wrapper and waits for it, showing the wait cursor; a run still going after 90 seconds
// (a stop waits up to 30 for the service) is ended and counts as failed. Failures are logged.
bool RunSyncServiceWrapper(const QString& switchText, const QString& workingFolder);

// The wrapper's runs of each step, in order; 1 when every run succeeded, else 0, and the runs
// after a failed one are not made. "-i" and "-s" run in "Desktop Files", "-k" and "-u" in the
// installation folder.
int InstallAndStartSyncWindowsService(const ServiceWrapperRun& run = RunSyncServiceWrapper);
int StopSyncWindowsService(const ServiceWrapperRun& run = RunSyncServiceWrapper);
int UninstallSyncWindowsService(const ServiceWrapperRun& run = RunSyncServiceWrapper);

// Starts the starter detached, in the installation folder: true when it was started.
bool LaunchStartSyncProgram();
