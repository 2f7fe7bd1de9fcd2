#include "platform/odbc/OdbcConfig.h"
#include "platform/os/IdleMachineState.h"
#include "platform/os/MachineRoot.h"
#include "tests/support/FreshMachineRoot.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace platform;

namespace {

void Write(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

// A lock file a running program holds, as its single-instance and named locks do.
class HeldLock {
 public:
  explicit HeldLock(const QString& path) : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT, 0600)) {
    EXPECT_EQ(::flock(fd_, LOCK_EX | LOCK_NB), 0);
  }
  ~HeldLock() { ::close(fd_); }
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;

 private:
  int fd_;
};

TEST(IdleMachineState, RemovesOnlyWhatNoProgramHoldsAndWhatHoldsNothing) {
  const QString root = testsupport::CurrentMachineRoot();
  const QString run = RunFolder();
  Write(run + QStringLiteral("/Idle.lock"), {});
  Write(run + QStringLiteral("/Idle.instance"), {});
  Write(run + QStringLiteral("/Table.shm"), QByteArray(64, '\0'));
  Write(run + QStringLiteral("/notes.txt"), "the user's");
  QDir().mkpath(run + QStringLiteral("/services"));
  const HeldLock held(run + QStringLiteral("/Running.instance"));
  Write(OdbcIniPath(), "[ODBC Data Sources]\r\n\r\n");
  const QString desktop = SpecialFolderPath(SpecialFolder::Desktop);
  Write(desktop + QStringLiteral("/todo.txt"), "the user's");
  const QString startup = SpecialFolderPath(SpecialFolder::Startup);
  const QString programs = SpecialFolderPath(SpecialFolder::Programs);

  RemoveIdleMachineState();

  struct Expected {
    QString path;
    bool stays;
  };
  const Expected expected[] = {
      {run + QStringLiteral("/Idle.lock"), false},
      {run + QStringLiteral("/Idle.instance"), false},
      {run + QStringLiteral("/Table.shm"), false},
      {run + QStringLiteral("/odbc.lock"), false},
      {run + QStringLiteral("/services"), false},
      {run + QStringLiteral("/Running.instance"), true},
      {run + QStringLiteral("/notes.txt"), true},
      {root + QStringLiteral("/odbc/odbc.ini"), false},
      {root + QStringLiteral("/odbc"), false},
      {desktop + QStringLiteral("/todo.txt"), true},
      {startup, false},
      {root + QStringLiteral("/home/.config"), false},
      {programs, false},
      {root + QStringLiteral("/home/.local"), false},
      {root + QStringLiteral("/home"), true},
      {root + QStringLiteral("/opt"), false},
      {root, true},
  };
  for (const Expected& e : expected) EXPECT_EQ(QFileInfo::exists(e.path), e.stays) << e.path.toStdString();
}

TEST(IdleMachineState, AnOdbcIniGoesOnlyWhenItNamesNothing) {
  struct Case {
    QByteArray content;
    bool stays;
  };
  const Case cases[] = {
      {"", false},
      {"\n[odbc data sources]\n  \n", false},
      {"; my own notes\n", true},
      {"[ODBC Data Sources]\nMine=SQLite3\n", true},
      {"[Mine]\nDriver=SQLite3\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content.toStdString());
    Write(OdbcIniPath(), c.content);
    EXPECT_EQ(RemoveEmptyOdbcIni(), !c.stays);
    EXPECT_EQ(QFile::exists(OdbcIniPath()), c.stays);
  }
}

}  // namespace
