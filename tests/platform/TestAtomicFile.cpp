#include "platform/files/AtomicFile.h"
#include "platform/os/MachineRoot.h"
#include "tests/support/Eventually.h"

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

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// A file of the folder that is none of `known` and holds at least one byte: a replacement
// being filled. Empty when there is none.
QString FileBeingFilled(const QString& folder, const QStringList& known) {
  for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
    if (!known.contains(entry.fileName()) && entry.size() > 0) return entry.fileName();
  }
  return {};
}

// A child process that replaces `path` with `size` bytes `times` times (without end when
// `times` is 0) and exits with 1 when one of them failed.
pid_t StartWriter(const QString& path, qsizetype size, int times) {
  const pid_t child = fork();
  if (child != 0) return child;
  const QByteArray content(size, static_cast<char>('a' + getpid() % 26));
  int failed = 0;
  for (int i = 0; times == 0 || i < times; ++i) failed += ReplaceFileAtomically(path, content) ? 0 : 1;
  _exit(failed == 0 ? 0 : 1);
}

bool ExitedWithoutFailure(pid_t child) {
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

// A writer killed mid-write leaves its temporary file; the next write into that folder, of any
// file, removes it (a killed writer's file may never be written again).
TEST(AtomicFile, AKilledWritersTemporaryFileGoesWithTheNextWriteInItsFolder) {
  const QString folder = MachineRoot() + QStringLiteral("/files");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QStringList files{QStringLiteral("killed.bin"), QStringLiteral("other.bin")};
  for (const QString& name : files) ASSERT_TRUE(ReplaceFileAtomically(folder + u'/' + name, "old"));

  bool left = false;
  for (int round = 0; round < 20 && !left; ++round) {
    const pid_t child = StartWriter(folder + QStringLiteral("/killed.bin"), 8 << 20, 0);
    ASSERT_GT(child, 0);
    EXPECT_TRUE(testsupport::Eventually([&] { return !FileBeingFilled(folder, files).isEmpty(); }));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    left = Entries(folder) != files;
  }
  ASSERT_TRUE(left) << "no writer was killed in the middle of a write";
  const qsizetype size = ReadFile(folder + QStringLiteral("/killed.bin")).size();
  EXPECT_TRUE(size == 3 || size == 8 << 20) << size;

  ASSERT_TRUE(ReplaceFileAtomically(folder + QStringLiteral("/other.bin"), "new"));
  EXPECT_EQ(Entries(folder), files);
}

// The temporary file of a writer that is still at work is never taken away from it, however
// often others write meanwhile.
TEST(AtomicFile, ALiveWritersTemporaryFileIsNeverRemoved) {
  const QString folder = MachineRoot() + QStringLiteral("/files");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString file = folder + QStringLiteral("/file.bin");
  ASSERT_TRUE(ReplaceFileAtomically(file, "old"));

  const pid_t child = StartWriter(file, 16 << 20, 3);
  ASSERT_GT(child, 0);
  QString filling;
  for (int attempt = 0; attempt < 50 && filling.isEmpty(); ++attempt) {
    ASSERT_TRUE(testsupport::Eventually([&] { return !FileBeingFilled(folder, {QStringLiteral("file.bin")}).isEmpty(); }));
    kill(child, SIGSTOP);
    filling = FileBeingFilled(folder, {QStringLiteral("file.bin")});
    if (filling.isEmpty()) kill(child, SIGCONT);
  }
  ASSERT_FALSE(filling.isEmpty()) << "the writer was never stopped in the middle of a write";

  for (int i = 0; i < 5; ++i) ASSERT_TRUE(ReplaceFileAtomically(file, "from another writer"));
  EXPECT_TRUE(QFile::exists(folder + u'/' + filling));
  kill(child, SIGCONT);
  EXPECT_TRUE(ExitedWithoutFailure(child)) << "a write of the stopped writer failed";
  EXPECT_EQ(Entries(folder), QStringList{QStringLiteral("file.bin")});
}

// Two processes replacing one file at once: every replace succeeds and nothing is left over.
TEST(AtomicFile, TwoWritersOfOneFileNeverFailEachOther) {
  const QString folder = MachineRoot() + QStringLiteral("/files");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString file = folder + QStringLiteral("/file.bin");
  const pid_t children[] = {StartWriter(file, 4096, 300), StartWriter(file, 4096, 300)};
  for (const pid_t child : children) {
    ASSERT_GT(child, 0);
    EXPECT_TRUE(ExitedWithoutFailure(child));
  }
  EXPECT_EQ(ReadFile(file).size(), 4096);
  EXPECT_EQ(Entries(folder), QStringList{QStringLiteral("file.bin")});
}

}  // namespace
