#include "platform/os/DetachedProcess.h"
#include "platform/os/MachineRoot.h"
#include "platform/os/Process.h"
#include "tests/support/FreshMachineRoot.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <memory>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

// Longer than the 15 characters the kernel keeps as a process's short name.
const QString kProgram = QStringLiteral("TarnwickPlusSyncServiceLite");

// A copy of `sleep` under the program's name, so the process's image carries that name.
QString ProgramCopy() {
  const QString folder = testsupport::CurrentMachineRoot() + QStringLiteral("/bin");
  QDir().mkpath(folder);
  const QString path = folder + u'/' + kProgram;
  if (!QFileInfo::exists(path)) QFile::copy(QStringLiteral("/bin/sleep"), path);
  return path;
}

std::unique_ptr<QProcess> StartProgram(const QString& machineRoot, const QString& workingFolder = {}) {
  auto process = std::make_unique<QProcess>();
  process->setWorkingDirectory(workingFolder);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TARNWICK_MACHINE_ROOT"), machineRoot);
  process->setProcessEnvironment(environment);
  process->start(ProgramCopy(), {QStringLiteral("30")});
  EXPECT_TRUE(process->waitForStarted());
  return process;
}

QList<qint64> Found(const QString& name) {
  QList<qint64> pids;
  EXPECT_TRUE(FindProcessesByName(name, &pids));
  return pids;
}

}  // namespace

TEST(Process, FindsALongNameWithOrWithoutExeOnlyInItsOwnMachineRoot) {
  const auto ours = StartProgram(testsupport::CurrentMachineRoot());
  const QString otherRoot = testsupport::CurrentMachineRoot() + QStringLiteral("/other-root");
  QDir().mkpath(otherRoot);
  const auto theirs = StartProgram(otherRoot);

  EXPECT_EQ(Found(kProgram), QList<qint64>{ours->processId()});
  EXPECT_EQ(Found(kProgram + QStringLiteral(".exe")), QList<qint64>{ours->processId()});
  EXPECT_TRUE(Found(kProgram.left(15)).isEmpty()) << "matched by the kernel's short name";
  EXPECT_TRUE(Found(kProgram.toLower()).isEmpty()) << "names compare case-sensitively";

  QString name;
  ASSERT_TRUE(GetProcessModules(ours->processId(), &name));
  EXPECT_EQ(name, kProgram);

  const qint64 pid = ours->processId();
  EXPECT_TRUE(CanEndProcess(pid));
  ASSERT_TRUE(TerminateProcess(pid));
  ASSERT_TRUE(ours->waitForFinished(5000));
  EXPECT_TRUE(Found(kProgram).isEmpty());
  EXPECT_FALSE(CanEndProcess(pid)) << "a process that has gone";
  TerminateProcess(theirs->processId());
  theirs->waitForFinished(5000);
}

// A user may name the root relative to the folder they start a program in (the demo's
// "build/demo/root"); a program started elsewhere must still use, and be found in, the same root.
TEST(Process, ARelativeMachineRootNamesTheSameMachineFromAnyFolder) {
  const QString root = testsupport::CurrentMachineRoot();
  const QString parent = QFileInfo(root).absolutePath();
  const QString relative = QFileInfo(root).fileName();
  const auto started = StartProgram(relative, parent);
  EXPECT_EQ(Found(kProgram), QList<qint64>{started->processId()}) << "relative root read from its own folder";
  TerminateProcess(started->processId());
  started->waitForFinished(5000);

  ASSERT_EQ(::chdir(parent.toLocal8Bit().constData()), 0);
  ASSERT_EQ(setenv("TARNWICK_MACHINE_ROOT", relative.toLocal8Bit().constData(), 1), 0);
  EXPECT_EQ(MachineRoot(), QDir::cleanPath(root));
  const QString seen = root + QStringLiteral("/seen-root");
  ASSERT_EQ(StartDetached(QStringLiteral("/bin/sh"),
                          {QStringLiteral("-c"), QStringLiteral("echo \"$TARNWICK_MACHINE_ROOT\" > '%1'").arg(seen)},
                          QStringLiteral("/")),
            0);
  QFile file(seen);
  for (int i = 0; i < 500 && file.size() == 0; ++i) ::usleep(10'000);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromLocal8Bit(file.readAll()).trimmed(), QDir::cleanPath(root));
}

TEST(Process, TheRunningProgramFindsItself) {
  const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  EXPECT_EQ(Found(self), QList<qint64>{QCoreApplication::applicationPid()});
}

TEST(InstanceLock, OneHolderAtATimeAndNothingLeftWhenTheHolderIsKilled) {
  const QByteArray lockFile = QFile::encodeName(RunFolder() + QStringLiteral("/Holder.instance"));
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    // Another instance: takes the lock, says so, and waits to be killed.
    const int fd = open(lockFile.constData(), O_RDWR | O_CREAT, 0644);
    const bool locked = fd >= 0 && flock(fd, LOCK_EX) == 0;
    const char answer = locked ? '1' : '0';
    if (write(ready[1], &answer, 1) != 1) _exit(1);
    for (;;) pause();
  }
  char answer = 0;
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  ASSERT_EQ(answer, '1');

  EXPECT_EQ(LockSingleInstance(QStringLiteral("Holder.exe")), InstanceLock::HeldByAnother);

  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  EXPECT_EQ(LockSingleInstance(QStringLiteral("Holder.exe")), InstanceLock::Acquired);
  EXPECT_EQ(LockSingleInstance(QStringLiteral("Holder")), InstanceLock::Acquired) << "asked again by its holder";
}
