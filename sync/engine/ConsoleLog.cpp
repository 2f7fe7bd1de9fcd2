#include "sync/engine/ConsoleLog.h"

#include "sync/data/SyncLog.h"

#include <cstdio>

void WriteSyncServiceLogAndConsole(int code, const QString& text) {
  WriteSyncServiceLog(code, text);
  std::fputs((text + u'\n').toUtf8().constData(), stdout);
  std::fflush(stdout);
}
