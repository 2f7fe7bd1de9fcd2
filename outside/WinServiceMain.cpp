#include "outside/ServiceRunner.h"
#include "platform/os/ServiceManager.h"

#include <QCoreApplication>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <thread>

// The service wrapper: "-i" installs the service "TarnwickPSyncServiceLite" (this program in its
// run mode), "-s" starts it, "-k" stops it, "-u" removes it. Each switch is idempotent and ends
// with 0 on success, or a line on standard error and 1.

namespace {

const QString kServiceName = QStringLiteral("TarnwickPSyncServiceLite");
const QString kRunSwitch = QStringLiteral("--run-service");
constexpr std::chrono::seconds kStopLimit{30};

int Fail(const char* what, int error) {
  std::fprintf(stderr, "%s failed (%d).\n", what, error);
  return 1;
}

int Install(platform::ServiceManager& manager) {
  const int error = manager.CreateService(kServiceName, QCoreApplication::applicationFilePath(), {kRunSwitch});
  return error == 0 || error == platform::ERROR_SERVICE_EXISTS ? 0 : Fail("Installing the service", error);
}

int Start(platform::ServiceManager& manager) {
  const int error = manager.StartService(kServiceName);
  return error == 0 || error == platform::ERROR_SERVICE_ALREADY_RUNNING ? 0 : Fail("Starting the service", error);
}

int Stop(platform::ServiceManager& manager) {
  platform::ServiceStatus status;
  const int error = manager.ControlStop(kServiceName, &status);
  if (error == platform::ERROR_SERVICE_NOT_ACTIVE) return 0;
  if (error != 0) return Fail("Stopping the service", error);
  const auto deadline = std::chrono::steady_clock::now() + kStopLimit;
  while (status.currentState != platform::SERVICE_STOPPED) {
    if (std::chrono::steady_clock::now() > deadline) return Fail("Waiting for the service to stop", 1053);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (const int queried = manager.QueryServiceStatus(kServiceName, &status)) return Fail("Querying the service", queried);
  }
  return 0;
}

int Uninstall(platform::ServiceManager& manager) {
  if (manager.OpenService(kServiceName) == platform::ERROR_SERVICE_DOES_NOT_EXIST) return 0;
  if (const int stopped = Stop(manager)) return stopped;
  const int error = manager.DeleteService(kServiceName);
  return error == 0 ? 0 : Fail("Removing the service", error);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc > 1 && QByteArrayView(argv[1]) == kRunSwitch.toLatin1()) BlockStopSignals();
  const QCoreApplication application(argc, argv);
  const QStringList arguments = application.arguments().mid(1);
  const QString command = arguments.value(0);
  if (command == kRunSwitch) return RunSyncService();

  platform::ServiceManager manager;
  if (const int error = manager.Open()) return Fail("Opening the service manager", error);
  if (command == QStringLiteral("-i")) return Install(manager);
  if (command == QStringLiteral("-s")) return Start(manager);
  if (command == QStringLiteral("-k")) return Stop(manager);
  if (command == QStringLiteral("-u")) return Uninstall(manager);
  std::fprintf(stderr, "Usage: %s -i | -s | -k | -u (install, start, stop, remove the service)\n",
               qPrintable(QCoreApplication::applicationName()));
  return 2;
}
