#pragma once

#include "platform/registry/Registry.h"

#include <QString>
#include <QStringList>

namespace platform {

// Service states and the errors of service calls, with Windows' numbers.
inline constexpr DWORD SERVICE_STOPPED = 1;
inline constexpr DWORD SERVICE_START_PENDING = 2;
inline constexpr DWORD SERVICE_STOP_PENDING = 3;
inline constexpr DWORD SERVICE_RUNNING = 4;

inline constexpr int ERROR_SERVICE_ALREADY_RUNNING = 1056;
inline constexpr int ERROR_SERVICE_DOES_NOT_EXIST = 1060;
inline constexpr int ERROR_SERVICE_NOT_ACTIVE = 1062;
inline constexpr int ERROR_SERVICE_EXISTS = 1073;

struct ServiceStatus {
  DWORD currentState = SERVICE_STOPPED;
  DWORD checkPoint = 0;
  DWORD waitHint = 0;
  qint64 processId = 0;
};

// A small service manager of the machine root: a service is a record in the registry
// (SYSTEM\CurrentControlSet\Services\<name>: the program and its arguments) and, while it runs,
// a state file in the run folder with its process id. Starting spawns the program detached;
// stopping asks it to end (SIGTERM) and reports "stop pending" until it has. A service whose
// process died is stopped. Calls answer 0 or a Windows error number.
class ServiceManager {
 public:
  // Opens the service records (none when their key is missing); 0 or the registry's error.
  int Open();

  int CreateService(const QString& name, const QString& program, const QStringList& arguments);
  // Removes the record of a stopped service, and the records' keys once they hold no other.
  int DeleteService(const QString& name);
  // 0 when the service is installed.
  int OpenService(const QString& name);
  int StartService(const QString& name);
  // Asks a running service to stop; `status` then says where it stands.
  int ControlStop(const QString& name, ServiceStatus* status);
  int QueryServiceStatus(const QString& name, ServiceStatus* status);

  // How long a stop is expected to take, as the wait hint of a stopping service.
  static constexpr DWORD kStopWaitHintMs = 1000;
};

}  // namespace platform
