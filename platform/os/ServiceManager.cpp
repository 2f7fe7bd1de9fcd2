#include "platform/os/ServiceManager.h"

#include "platform/files/AtomicFile.h"
#include "platform/os/DetachedProcess.h"
#include "platform/os/MachineRoot.h"
#include "platform/os/Process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <csignal>

namespace platform {
namespace {

const QString kServicesKey = QStringLiteral("SYSTEM\\CurrentControlSet\\Services");
const QString kImagePath = QStringLiteral("ImagePath");
const QString kArguments = QStringLiteral("Arguments");

QString ServiceKey(const QString& name) { return kServicesKey + QLatin1Char('\\') + name; }

QString StateFile(const QString& name) {
  const QString folder = RunFolder() + QStringLiteral("/services");
  QDir().mkpath(folder);
  return folder + QLatin1Char('/') + name + QStringLiteral(".state");
}

// What the state file holds: the service's process and whether it was asked to stop.
struct RunState {
  qint64 pid = 0;
  bool stopping = false;
};

bool ReadRunState(const QString& name, RunState* state) {
  QByteArray content;
  bool missing = false;
  if (!ReadWholeFile(StateFile(name), &content, &missing) || missing) return false;
  const QList<QByteArray> fields = content.split('\n');
  state->pid = fields.value(0).toLongLong();
  state->stopping = fields.value(1) == "1";
  return state->pid > 0;
}

bool WriteRunState(const QString& name, const RunState& state) {
  return ReplaceFileAtomically(StateFile(name), QByteArray::number(state.pid) + '\n' + (state.stopping ? "1" : "0") + '\n');
}

bool ReadRecord(const QString& name, QString* program, QStringList* arguments) {
  RegistryKeyGuard key;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, ServiceKey(name), KEY_READ, key.out()) != ERROR_SUCCESS) return false;
  RegistryValue value;
  if (RegQueryValueEx(key.get(), kImagePath, &value) != ERROR_SUCCESS) return false;
  *program = value.ToString();
  if (RegQueryValueEx(key.get(), kArguments, &value) == ERROR_SUCCESS)
    *arguments = value.ToString().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  return true;
}

// The service's process while it lives; a process id that now names another program (or none)
// means the service has ended.
bool ServiceProcessAlive(const QString& program, qint64 pid) {
  QString running;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 && GetProcessModules(pid, &running) &&
         running == QFileInfo(program).fileName();
}

bool KeyIsEmpty(const QString& path) {
  RegistryKeyGuard key;
  QString name;
  return RegOpenKeyEx(HKEY_LOCAL_MACHINE, path, KEY_READ, key.out()) == ERROR_SUCCESS &&
         RegEnumKeyEx(key.get(), 0, &name) == ERROR_NO_MORE_ITEMS && RegEnumValue(key.get(), 0, &name) == ERROR_NO_MORE_ITEMS;
}

// Deletes the key and then its parents while they hold nothing: the records' keys were made
// only to hold services.
void RemoveEmptyKeys(QString path) {
  while (!path.isEmpty() && KeyIsEmpty(path) && RegDeleteKey(HKEY_LOCAL_MACHINE, path) == ERROR_SUCCESS)
    path = path.left(std::max<qsizetype>(0, path.lastIndexOf(QLatin1Char('\\'))));
}

}  // namespace

int ServiceManager::Open() {
  // Opening writes nothing: without the records' key no service is installed.
  RegistryKeyGuard key;
  const LSTATUS status = RegOpenKeyEx(HKEY_LOCAL_MACHINE, kServicesKey, KEY_READ, key.out());
  return status == ERROR_FILE_NOT_FOUND ? 0 : status;
}

int ServiceManager::CreateService(const QString& name, const QString& program, const QStringList& arguments) {
  if (OpenService(name) == 0) return ERROR_SERVICE_EXISTS;
  RegistryKeyGuard key;
  if (const LSTATUS status = RegCreateKeyEx(HKEY_LOCAL_MACHINE, ServiceKey(name), KEY_ALL_ACCESS, key.out()))
    return status;
  if (const LSTATUS status = RegSetValueEx(key.get(), kArguments, RegistryValue::FromString(arguments.join(QLatin1Char('\n')))))
    return status;
  // The program goes last: a record is complete, and so installed, only once it names one.
  return RegSetValueEx(key.get(), kImagePath, RegistryValue::FromString(program));
}

int ServiceManager::DeleteService(const QString& name) {
  ServiceStatus status;
  if (const int error = QueryServiceStatus(name, &status)) return error;
  if (status.currentState != SERVICE_STOPPED) return ERROR_SERVICE_ALREADY_RUNNING;
  RegistryKeyGuard key;
  if (const LSTATUS error = RegOpenKeyEx(HKEY_LOCAL_MACHINE, ServiceKey(name), KEY_ALL_ACCESS, key.out())) return error;
  RegDeleteValue(key.get(), kImagePath);
  RegDeleteValue(key.get(), kArguments);
  if (const LSTATUS error = RegDeleteKey(HKEY_LOCAL_MACHINE, ServiceKey(name))) return error;
  RemoveEmptyKeys(kServicesKey);
  return 0;
}

int ServiceManager::OpenService(const QString& name) {
  QString program;
  QStringList arguments;
  return ReadRecord(name, &program, &arguments) && !program.isEmpty() ? 0 : ERROR_SERVICE_DOES_NOT_EXIST;
}

int ServiceManager::QueryServiceStatus(const QString& name, ServiceStatus* status) {
  QString program;
  QStringList arguments;
  if (!ReadRecord(name, &program, &arguments) || program.isEmpty()) return ERROR_SERVICE_DOES_NOT_EXIST;
  *status = ServiceStatus{};
  RunState state;
  if (!ReadRunState(name, &state)) return 0;
  if (!ServiceProcessAlive(program, state.pid)) {
    QFile::remove(StateFile(name));
    return 0;
  }
  status->processId = state.pid;
  status->currentState = state.stopping ? SERVICE_STOP_PENDING : SERVICE_RUNNING;
  status->waitHint = state.stopping ? kStopWaitHintMs : 0;
  return 0;
}

int ServiceManager::StartService(const QString& name) {
  ServiceStatus status;
  if (const int error = QueryServiceStatus(name, &status)) return error;
  if (status.currentState != SERVICE_STOPPED) return ERROR_SERVICE_ALREADY_RUNNING;
  QString program;
  QStringList arguments;
  ReadRecord(name, &program, &arguments);
  qint64 pid = 0;
  if (const int error = StartDetached(program, arguments, QFileInfo(program).absolutePath(), &pid)) return error;
  return WriteRunState(name, RunState{pid, false}) ? 0 : ERROR_ACCESS_DENIED;
}

int ServiceManager::ControlStop(const QString& name, ServiceStatus* status) {
  if (const int error = QueryServiceStatus(name, status)) return error;
  if (status->currentState == SERVICE_STOPPED) return ERROR_SERVICE_NOT_ACTIVE;
  if (::kill(static_cast<pid_t>(status->processId), SIGTERM) != 0) return ERROR_SERVICE_NOT_ACTIVE;
  WriteRunState(name, RunState{status->processId, true});
  status->currentState = SERVICE_STOP_PENDING;
  status->waitHint = kStopWaitHintMs;
  return 0;
}

}  // namespace platform
