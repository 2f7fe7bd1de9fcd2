#include "admin/foundation/AppLog.h"

#include "admin/foundation/LogFile.h"

namespace {

CLogFile* g_pAppLog = nullptr;

}  // namespace

void SetAppLog(CLogFile* log) { g_pAppLog = log; }

void WriteAppLog(int code, const QString& text) {
  if (g_pAppLog != nullptr) g_pAppLog->WriteLog(code, text);
}

CLogFile* GetAppLog() { return g_pAppLog; }

QString ProgramTitle() { return QStringLiteral("Tarnwick Plus Lite"); }

QString SupportAddress() { return QStringLiteral("support@tarnwick.example"); }
