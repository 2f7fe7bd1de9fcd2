#include "outside/SyncProgram.h"
#include "platform/os/DetachedProcess.h"
#include "platform/os/SystemError.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

// Starts the sync program from this program's folder, detached and without a window, and ends.
int main(int argc, char* argv[]) {
  const QCoreApplication application(argc, argv);
  const QString program = SyncProgramPath();
  if (const int error = platform::StartDetached(program, {}, QFileInfo(program).absolutePath())) {
    std::fprintf(stderr, "%s cannot be started: %s\n", qPrintable(program), qPrintable(platform::GetSystemErrorText(error)));
    return 1;
  }
  return 0;
}
