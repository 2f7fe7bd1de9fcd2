#include "platform/os/IdleMachineState.h"

#include "platform/odbc/OdbcConfig.h"
#include "platform/os/MachineRoot.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {
namespace {

bool IsRunStateFile(const QString& name) {
  return name.endsWith(QStringLiteral(".lock")) || name.endsWith(QStringLiteral(".instance")) ||
         name.endsWith(QStringLiteral(".shm"));
}

// Deletes the file unless a process holds a lock on it: the exclusive lock is taken first and
// kept until the name is gone, so no holder loses its file.
void RemoveIfNotHeld(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(name.constData());
  ::close(fd);
}

void RemoveRunStateFiles(const QString& runFolder) {
  QDirIterator files(runFolder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QFileInfo file = files.nextFileInfo();
    if (IsRunStateFile(file.fileName())) RemoveIfNotHeld(file.filePath());
  }
}

bool Inside(const QString& path, const QString& folder) { return path.startsWith(folder + u'/'); }

// Removes `folder` and then its parents while they are empty, stopping at any of `kept`.
void RemoveEmptyFolders(QString folder, const QStringList& kept) {
  while (!kept.contains(folder) && Inside(folder, kept.last()) && QDir().rmdir(folder))
    folder = QFileInfo(folder).absolutePath();
}

// Every empty folder below `folder`, deepest first, then `folder` itself.
void RemoveEmptyTree(const QString& folder, const QStringList& kept) {
  QStringList below;
  QDirIterator folders(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  while (folders.hasNext()) below.append(folders.next());
  std::sort(below.begin(), below.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
  for (const QString& sub : below) QDir().rmdir(sub);
  RemoveEmptyFolders(folder, kept);
}

}  // namespace

void RemoveIdleMachineState() {
  const QString root = QDir::cleanPath(MachineRoot());
  // The machine root and the user's home folder inside it are not the programs' to remove.
  const QStringList kept = {root + QStringLiteral("/home"), root};
  RemoveEmptyOdbcIni();
  const QString runFolder = RunFolder();
  RemoveRunStateFiles(runFolder);
  RemoveEmptyTree(runFolder, kept);
  RemoveEmptyFolders(OdbcFolder(), kept);
  for (const SpecialFolder folder : {SpecialFolder::Desktop, SpecialFolder::MyDocuments, SpecialFolder::Startup,
                                     SpecialFolder::Programs, SpecialFolder::LocalAppData, SpecialFolder::ProgramFiles}) {
    const QString path = QDir::cleanPath(SpecialFolderPath(folder));
    // Outside an own machine root the special folders are the user's real ones.
    if (Inside(path, root)) RemoveEmptyFolders(path, kept);
  }
}

}  // namespace platform
