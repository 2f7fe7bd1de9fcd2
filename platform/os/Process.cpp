#include "platform/os/Process.h"

#include "platform/os/MachineRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <mutex>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr char kRootVariable[] = "TARNWICK_MACHINE_ROOT=";

QString WithoutExeSuffix(const QString& name) {
  return name.endsWith(u".exe", Qt::CaseInsensitive) ? name.chopped(4) : name;
}

QString ProcFile(qint64 pid, const char* entry) {
  return QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(entry));
}

QByteArray ReadProcFile(qint64 pid, const char* entry) {
  QFile file(ProcFile(pid, entry));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

QString CleanRoot(const QString& root) { return root.isEmpty() ? root : QDir::cleanPath(root); }

// The machine root the process was started with, a relative one taken from its working folder;
// empty when it names none.
bool ReadMachineRootOf(qint64 pid, QString* root) {
  QFile file(ProcFile(pid, "environ"));
  if (!file.open(QIODevice::ReadOnly)) return false;
  root->clear();
  for (const QByteArray& entry : file.readAll().split('\0')) {
    if (entry.startsWith(kRootVariable)) {
      *root = QString::fromUtf8(entry.mid(static_cast<qsizetype>(sizeof(kRootVariable)) - 1));
    }
  }
  if (!root->isEmpty() && QDir::isRelativePath(*root)) {
    *root = QDir(QFile::symLinkTarget(ProcFile(pid, "cwd"))).filePath(*root);
  }
  *root = CleanRoot(*root);
  return true;
}

bool RunsWithOurMachineRoot(qint64 pid) {
  if (pid == getpid()) return true;
  QString theirs;
  if (!ReadMachineRootOf(pid, &theirs)) return false;
  return theirs == (HasExplicitMachineRoot() ? MachineRoot() : QString());
}

QString LastComponent(const QString& path) { return path.mid(path.lastIndexOf(u'/') + 1); }

}  // namespace

bool GetProcessModules(qint64 pid, QString* name) {
  QString image = QFile::symLinkTarget(ProcFile(pid, "exe"));
  if (image.isEmpty()) {
    const QByteArray commandLine = ReadProcFile(pid, "cmdline");
    image = QString::fromUtf8(commandLine.left(commandLine.indexOf('\0')));
  }
  // A program replaced on disk while it runs reads as "name (deleted)".
  if (image.endsWith(u" (deleted)")) image.chop(10);
  if (image.isEmpty()) return false;
  *name = LastComponent(image);
  return !name->isEmpty();
}

bool FindProcessesByName(const QString& executableName, QList<qint64>* pids, int* error) {
  pids->clear();
  QDir proc(QStringLiteral("/proc"));
  if (!proc.exists()) {
    if (error) *error = ENOENT;
    return false;
  }
  const QString wanted = WithoutExeSuffix(executableName);
  for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    bool numeric = false;
    const qint64 pid = entry.toLongLong(&numeric);
    QString name;
    if (!numeric || !GetProcessModules(pid, &name) || name != wanted) continue;
    if (RunsWithOurMachineRoot(pid)) pids->append(pid);
  }
  return true;
}

bool TerminateProcess(qint64 pid) { return pid > 0 && kill(static_cast<pid_t>(pid), SIGKILL) == 0; }

bool CanEndProcess(qint64 pid) { return pid > 0 && kill(static_cast<pid_t>(pid), 0) == 0; }

void IgnoreBrokenPipes() { signal(SIGPIPE, SIG_IGN); }

InstanceLock LockSingleInstance(const QString& executableName, int* error) {
  static std::mutex mutex;
  // Lock files stay open for the life of the process; by path, as the machine root may change.
  static QHash<QByteArray, int> held;
  const std::lock_guard<std::mutex> guard(mutex);
  const QString name = WithoutExeSuffix(executableName);
  const QByteArray path = QFile::encodeName(RunFolder() + u'/' + name + QStringLiteral(".instance"));
  if (held.contains(path)) return InstanceLock::Acquired;
  const int fd = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (error) *error = errno;
    return InstanceLock::Failed;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int reason = errno;
    close(fd);
    if (reason == EWOULDBLOCK) return InstanceLock::HeldByAnother;
    if (error) *error = reason;
    return InstanceLock::Failed;
  }
  held.insert(path, fd);
  return InstanceLock::Acquired;
}

}  // namespace platform
