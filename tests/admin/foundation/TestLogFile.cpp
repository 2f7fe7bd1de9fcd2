#include "admin/foundation/LogFile.h"
#include "tests/support/FreshMachineRoot.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <atomic>
#include <thread>

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString LogsFolder() {
  const QString logs = testsupport::CurrentMachineRoot() + QStringLiteral("/Desktop Files/Logs/");
  QDir().mkpath(logs);
  return logs;
}

// Makes `folder` the working folder for as long as it lives.
class WorkingFolder {
 public:
  explicit WorkingFolder(const QString& folder) : previous_(QDir::currentPath()) { QDir::setCurrent(folder); }
  ~WorkingFolder() { QDir::setCurrent(previous_); }
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

 private:
  const QString previous_;
};

// Every file below `folder`, at any depth.
QStringList FilesBelow(const QString& folder) {
  QStringList files;
  QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) files << it.next();
  return files;
}

}  // namespace

TEST(LogFile, FirstStartWritesTheMarkAndLaterStartsAppend) {
  const QString folder = CLogFile::TodaysFolder(LogsFolder());
  ASSERT_FALSE(folder.isEmpty());
  EXPECT_TRUE(QDir(folder).exists());
  {
    CLogFile log(folder, QStringLiteral("DesktopLog.log"));
    ASSERT_TRUE(log.IsOpen());
    log.WriteLog(-1, QStringLiteral("first"));
  }
  {
    CLogFile log(folder, QStringLiteral("DesktopLog.log"));
    log.WriteLog(2, QStringLiteral("second"));
  }
  const QByteArray content = ReadAll(folder + QStringLiteral("DesktopLog.log"));
  ASSERT_TRUE(content.startsWith("\xFF\xFE"));
  EXPECT_EQ(content.count("\xFF\xFE"), 1);
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(content.constData() + 2),
                                          (content.size() - 2) / 2);
  const QStringList lines = text.split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[0].endsWith(QStringLiteral("> <-1> first"))) << lines[0].toStdString();
  EXPECT_TRUE(lines[1].endsWith(QStringLiteral("> <2> second"))) << lines[1].toStdString();
  EXPECT_TRUE(lines[2].isEmpty());
}

TEST(LogFile, AnExistingEmptyFileGetsTheMark) {
  const QString folder = LogsFolder();
  QFile(folder + QStringLiteral("empty.log")).open(QIODevice::WriteOnly);
  CLogFile log(folder, QStringLiteral("empty.log"));
  log.WriteLog(-1, QStringLiteral("a"));
  EXPECT_TRUE(ReadAll(folder + QStringLiteral("empty.log")).startsWith("\xFF\xFE<\0"));
}

TEST(LogFile, WithoutALogsFolderNothingIsWrittenAndNothingFails) {
  const QString root = testsupport::CurrentMachineRoot();
  // A log without a folder must not land in the working folder either: make that the case's
  // own root, so a stray file shows up below.
  const WorkingFolder inRoot(root);
  const QString missing = root + QStringLiteral("/no/Logs/");
  const QString folder = CLogFile::TodaysFolder(missing);
  EXPECT_TRUE(folder.isEmpty());
  CLogFile log(folder, QStringLiteral("DesktopLog.log"));
  EXPECT_FALSE(log.IsOpen());
  log.WriteLog(-1, QStringLiteral("ignored"));
  EXPECT_EQ(FilesBelow(root), QStringList());
  EXPECT_FALSE(QDir(missing).exists());
}

// The sync program makes the same day folder for its own logs: a folder that appears between
// looking and making it is the day folder all the same.
TEST(LogFile, ADayFolderMadeByAnotherWriterAtTheSameMomentIsUsed) {
  const QString logs = LogsFolder();
  for (int round = 0; round < 300; ++round) {
    QDir(logs).removeRecursively();
    QDir().mkpath(logs);
    std::atomic<bool> go{false};
    QString found[2];
    std::thread writers[2];
    for (int i = 0; i < 2; ++i) {
      writers[i] = std::thread([&, i] {
        while (!go) std::this_thread::yield();
        found[i] = CLogFile::TodaysFolder(logs);
      });
    }
    go = true;
    for (std::thread& writer : writers) writer.join();
    ASSERT_FALSE(found[0].isEmpty()) << "round " << round;
    ASSERT_FALSE(found[1].isEmpty()) << "round " << round;
  }
}
