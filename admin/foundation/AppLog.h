#pragma once

#include <QString>

class CLogFile;

// The administration program's one log as the foundation's code reaches it: the application
// object sets it at start and clears it before destroying it. Without a log, lines are dropped.
void SetAppLog(CLogFile* log);
void WriteAppLog(int code, const QString& text);
// The log set by SetAppLog, or null.
CLogFile* GetAppLog();

// The caption of every message box of the administration program.
QString ProgramTitle();

// The address every message box that sends the user to support names.
QString SupportAddress();
