// The installation of the demo in the machine root ($TARNWICK_MACHINE_ROOT):
//   TarnwickDemoSetup install <installation folder> <web-service address> <desktop name>
//                     <device id> <change-detection minutes>
// copies the programs beside this one into the installation's "Desktop Files" and writes the
// registry as the installer leaves them, the sync program's switch set to run;
//   TarnwickDemoSetup running
// ends with 0 when a sync program runs with the machine root, 1 when none does;
//   TarnwickDemoSetup stop
// sets SyncServiceStatus to 0 and waits until the sync program has ended.
#include "setup/demo/DemoPrograms.h"
#include "setup/demo/DemoRegistry.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int Install(const QStringList& args) {
  const DemoInstallation installation{args.at(0), args.at(1), args.at(2), args.at(3), args.at(4).toInt()};
  QString failed;
  if (!CopyInstallationPrograms(QCoreApplication::applicationDirPath(), installation.folder, &failed)) {
    std::fprintf(stderr, "%s cannot be copied into the installation.\n", qPrintable(failed));
    return 1;
  }
  if (!StoreInstallationRegistry(installation)) {
    std::fputs("The registry of the machine root could not be written.\n", stderr);
    return 1;
  }
  return 0;
}

int Running() {
  const int runs = SyncProgramRuns();
  if (runs < 0) std::fputs("The process list could not be read.\n", stderr);
  return runs == 1 ? 0 : 1;
}

int Stop() {
  if (StopSyncProgram()) return 0;
  std::fputs("The sync program could not be switched off or watched.\n", stderr);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const QCoreApplication application(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  const QString command = args.value(0);
  if (command == QStringLiteral("install") && args.size() == 6) return Install(args.mid(1));
  if (command == QStringLiteral("running") && args.size() == 1) return Running();
  if (command == QStringLiteral("stop") && args.size() == 1) return Stop();
  std::fputs("usage: TarnwickDemoSetup install <installation folder> <web-service address> <desktop name> "
             "<device id> <change-detection minutes>\n       TarnwickDemoSetup running\n       TarnwickDemoSetup stop\n",
             stderr);
  return 2;
}
