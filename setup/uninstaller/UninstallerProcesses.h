#pragma once

#include "setup/common/SetupLog.h"

#include <QString>

// The uninstaller's view of the running programs: the administration program, the sync program
// and its starter, found by their file names among the processes of this machine root.

inline const QString kDesktopProgramName = QStringLiteral("TarnwickPlusLite.exe");
inline const QString kSyncProgramName = QStringLiteral("TarnwickPlusSyncServiceLite.exe");
inline const QString kStartSyncProgramName = QStringLiteral("TarnwickPStartSyncServiceLite.exe");

// 1 a process of the program runs, 0 none does, -1 the process list cannot be read (logged).
int IsDesktopProgramRunning(const SetupLogSink& log);
int IsSyncProgramRunning(const SetupLogSink& log);

// Ends the first starter process this program may end; true when one was found (ended or not).
bool KillStartSyncProgram(const SetupLogSink& log);

// The system's text of an error code, trimmed.
QString GetErrorText(int code);
