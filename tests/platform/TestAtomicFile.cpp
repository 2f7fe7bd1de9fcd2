#include "platform/AtomicFile.h"
#include "platform/MachineRoot.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A replace that fails at the rename or in the middle of writing leaves the file as it was and
// no temporary file beside it.
TEST(AtomicFile, AFailedReplaceLeavesTheFileAndNothingElse) {
  const QString folder = MachineRoot() + QStringLiteral("/files");
  ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/folder/inside")));
  const QString file = folder + QStringLiteral("/file");
  ASSERT_TRUE(ReplaceFileAtomically(file, "old"));
  const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

  EXPECT_FALSE(ReplaceFileAtomically(folder + QStringLiteral("/folder"), "cannot replace a folder"));

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4, 4};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(ReplaceFileAtomically(file, "longer than the limit") ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write past the size limit succeeded";

  EXPECT_EQ(ReadFile(file), "old");
  EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), entries);
}

}  // namespace
